// Reading values from INI files. On Windows the profile API itself reads them
// (ini_win.cpp); elsewhere the program's own reader (ini.cpp) does, with the API's
// rules as the program uses them: section and key names compared ignoring letter
// case, blanks around names and values dropped, one pair of matching quotes removed,
// ";" comment lines, first match wins, missing file/section/key gives the default.
// Both readers take the same table of cases in the tests on Windows.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Copies the value (or `defaultValue`) into buffer, cut to size - 1 bytes and
// NUL-terminated; returns the number of bytes copied, not counting the NUL. The file
// name is UTF-8 or bytes in the ANSI code page; the value comes as the file holds it
// (on Windows: in the ANSI code page). The system's reader.
uint32_t GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue,
                                  char* buffer, uint32_t size, const char* fileName);

// The program's own reader, with the same contract; the system's reader where Windows
// is not.
uint32_t ReadProfileString(const char* section, const char* key, const char* defaultValue,
                           char* buffer, uint32_t size, const char* fileName);

using ProfileStringReader = uint32_t (*)(const char*, const char*, const char*, char*, uint32_t,
                                         const char*);

// Convenience form with the program's settings: empty default, 2048-byte buffer.
std::string ReadIniString(const std::string& fileName, const std::string& section,
                          const std::string& key,
                          ProfileStringReader reader = GetPrivateProfileStringA);

}  // namespace platform
