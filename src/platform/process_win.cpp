// Facts about the running process on Windows.
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <string>

#include "platform/process.h"
#include "platform/wide_win.h"

namespace platform {

std::string ExecutablePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return std::string();
    if (n < buffer.size()) return win::Utf8(std::wstring_view(buffer.data(), n));
    buffer.resize(buffer.size() * 2);  // the name was cut; ask again with more room
  }
}

std::vector<std::string> CommandLineArguments(int, char**) {
  std::vector<std::string> args;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return args;
  for (int i = 1; i < count; ++i) args.push_back(win::Utf8(wide[i]));
  LocalFree(wide);
  return args;
}

// A Windows handle that is missing stays missing: no file opened later takes its place.
void ReserveStandardDescriptors() {}

// Windows has no signal for a closed pipe: the write fails with ERROR_NO_DATA.
void IgnoreBrokenPipe() {}

bool StandardErrorIsTerminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

unsigned long ProcessId() {
  return GetCurrentProcessId();
}

}  // namespace platform
