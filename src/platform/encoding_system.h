// What the system knows about code pages and letters, for encoding.cpp: one side in
// encoding_posix.cpp (the C library's converters and locales), one in encoding_win.cpp
// (the Windows code page and case tables).
#pragma once

#include <array>

namespace platform::system {

// The character of every byte of a single-byte code page; 0xFFFFFFFF where the code
// page leaves the byte undefined (or the system lacks the code page).
std::array<char32_t, 256> LegacyCodePageTable(int codePage);

// The lower case of a letter beyond ASCII, as the user's locale has it; other
// characters come back as they are.
char32_t LowerCaseLetter(char32_t cp);

}  // namespace platform::system
