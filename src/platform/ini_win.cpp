// On Windows the profile API reads the INI files itself. Its ANSI form takes the file
// name in the ANSI code page, so a name with characters outside it goes through the
// wide form, whose value is then brought into the ANSI code page as the ANSI form
// brings it.
#include <windows.h>

#include <cstring>
#include <string>

#include "platform/ini.h"
#include "platform/wide_win.h"

namespace platform {
namespace {

// The name in the ANSI code page, or false when it holds a character outside it.
bool AnsiName(const std::wstring& wide, std::string& ansi) {
  if (wide.empty()) return true;
  const int size = static_cast<int>(wide.size());
  BOOL lost = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0,
                                    nullptr, &lost);
  if (lost || n <= 0) return false;
  ansi.assign(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, ansi.data(), n, nullptr,
                      &lost);
  return !lost;
}

uint32_t WideProfileString(const char* section, const char* key, const char* defaultValue,
                           char* buffer, uint32_t size, const std::wstring& fileName) {
  auto ansiToWide = [](const char* text) {
    std::wstring wide;
    const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    wide.resize(n > 0 ? static_cast<size_t>(n) : 1);
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), n);
    return wide;
  };
  const std::wstring wideSection = ansiToWide(section), wideKey = ansiToWide(key);
  const std::wstring wideDefault = ansiToWide(defaultValue ? defaultValue : "");
  std::wstring value(size, L'\0');
  const DWORD n =
      GetPrivateProfileStringW(wideSection.c_str(), wideKey.c_str(), wideDefault.c_str(),
                               value.data(), size, fileName.c_str());
  std::string bytes(static_cast<size_t>(n) * 2, '\0');
  const int length = WideCharToMultiByte(CP_ACP, 0, value.data(), static_cast<int>(n), bytes.data(),
                                         static_cast<int>(bytes.size()), nullptr, nullptr);
  bytes.resize(std::min<size_t>(static_cast<size_t>(length > 0 ? length : 0), size - 1));
  std::memcpy(buffer, bytes.data(), bytes.size());
  buffer[bytes.size()] = '\0';
  return static_cast<uint32_t>(bytes.size());
}

// The API looks for a name without a full path in the Windows folder; the program
// means the current folder.
std::wstring FullPath(const std::wstring& name) {
  const DWORD n = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
  if (n == 0) return name;
  std::wstring full(n, L'\0');
  const DWORD used = GetFullPathNameW(name.c_str(), n, full.data(), nullptr);
  if (used == 0 || used >= n) return name;
  full.resize(used);
  return full;
}

}  // namespace

uint32_t GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue,
                                  char* buffer, uint32_t size, const char* fileName) {
  if (!buffer || size == 0) return 0;
  if (!section || !key || !fileName || !*fileName) {
    // Without a file the API would read win.ini; the program has none to read.
    const std::string_view value = defaultValue ? defaultValue : "";
    const size_t n = std::min<size_t>(value.size(), size - 1);
    std::memcpy(buffer, value.data(), n);
    buffer[n] = '\0';
    return static_cast<uint32_t>(n);
  }
  const std::wstring wide = FullPath(win::Wide(fileName));
  std::string ansi;
  if (!AnsiName(wide, ansi)) {
    return WideProfileString(section, key, defaultValue, buffer, size, wide);
  }
  return ::GetPrivateProfileStringA(section, key, defaultValue, buffer, size, ansi.c_str());
}

}  // namespace platform
