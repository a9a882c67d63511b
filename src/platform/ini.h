// Reading values from INI files, with the rules of the Windows profile API as the
// program uses it: section and key names compared ignoring letter case, blanks
// around names and values dropped, one pair of matching quotes removed, ";"
// comment lines, first match wins, missing file/section/key gives the default.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Copies the value (or `defaultValue`) into buffer, cut to size - 1 bytes and
// NUL-terminated; returns the number of bytes copied, not counting the NUL.
uint32_t GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue,
                                  char* buffer, uint32_t size, const char* fileName);

// Convenience form with the program's settings: empty default, 2048-byte buffer.
std::string ReadIniString(const std::string& fileName, const std::string& section,
                          const std::string& key);

}  // namespace platform
