// Code pages and letter case from Windows: the ANSI code page (GetACP), the code
// page tables of MultiByteToWideChar and the user's case mapping.
#include <windows.h>

#include "platform/encoding.h"
#include "platform/encoding_system.h"

namespace platform {

int UserLegacyCodePage() {
  return static_cast<int>(GetACP());
}

namespace system {

std::array<char32_t, 256> LegacyCodePageTable(int codePage) {
  std::array<char32_t, 256> table;
  table.fill(0xFFFFFFFF);
  for (int byte = 0; byte < 256; ++byte) {
    const char in = static_cast<char>(byte);
    wchar_t out[2];
    if (MultiByteToWideChar(static_cast<UINT>(codePage), MB_ERR_INVALID_CHARS, &in, 1, out, 2) ==
        1) {
      table[byte] = out[0];
    }
  }
  return table;
}

char32_t LowerCaseLetter(char32_t cp) {
  if (cp >= 0x10000) return cp;  // the case tables hold the Basic Multilingual Plane
  wchar_t ch = static_cast<wchar_t>(cp);
  if (LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_LOWERCASE, &ch, 1, &ch, 1, nullptr, nullptr,
                    0) != 1) {
    return cp;
  }
  return ch;
}

}  // namespace system
}  // namespace platform
