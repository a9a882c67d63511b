// The edge between the program's byte texts and the wide (UTF-16) Windows API: names
// the program holds are UTF-8, or, where their bytes are not valid UTF-8, text in the
// ANSI code page; what Windows hands back becomes UTF-8. Windows only.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace platform::win {

std::wstring Wide(std::string_view bytes);
std::string Utf8(std::wstring_view wide);

// The errno value that stands for a Win32 error code (ERROR_SHARING_VIOLATION ->
// EBUSY, ERROR_FILE_EXISTS -> EEXIST, ...); EIO for codes without one.
int ErrnoFrom(DWORD error);
// ErrnoFrom(GetLastError()).
int LastErrno();

}  // namespace platform::win
