// Code pages and letter case from the C library: iconv's tables, the locale settings
// of the environment and their case tables.
#include <iconv.h>
#include <locale.h>
#include <wctype.h>

#include <cstdlib>
#include <string>

#include "platform/encoding.h"
#include "platform/encoding_system.h"

namespace platform {
namespace {

// Converts one byte from a fresh state, flushing characters the converter holds back
// to combine them with a following mark (Vietnamese).
bool ConvertOne(iconv_t cd, unsigned char byte, char32_t& cp) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char in[1] = {static_cast<char>(byte)};
  unsigned char out[16];
  char* inp = in;
  size_t inLeft = 1;
  char* outp = reinterpret_cast<char*>(out);
  size_t outLeft = sizeof out;
  if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1)) return false;
  if (iconv(cd, nullptr, nullptr, &outp, &outLeft) == static_cast<size_t>(-1)) return false;
  if (inLeft != 0 || sizeof out - outLeft != 4) return false;  // exactly one character
  cp = static_cast<char32_t>(out[0] | (out[1] << 8) | (out[2] << 16) |
                             (static_cast<char32_t>(out[3]) << 24));
  return true;
}

std::string LocaleFromEnvironment() {
  for (const char* var : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(var);
    if (value && *value) return value;
  }
  return "C";
}

// The case tables of the user's locale; C.UTF-8 where the user's locale has none for
// letters beyond ASCII (the C locale); null when neither is available.
locale_t CaseLocale() {
  static const locale_t loc = [] {
    locale_t l = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
    if (l && towlower_l(L'\u00C4', l) != L'\u00C4') return l;
    if (l) freelocale(l);
    return newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  }();
  return loc;
}

}  // namespace

int UserLegacyCodePage() {
  return LegacyCodePageForLocale(LocaleFromEnvironment());
}

namespace system {

std::array<char32_t, 256> LegacyCodePageTable(int codePage) {
  std::array<char32_t, 256> table;
  table.fill(0xFFFFFFFF);
  const std::string name = "CP" + std::to_string(codePage);
  iconv_t cd = iconv_open("UTF-32LE", name.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return table;
  for (int byte = 0; byte < 256; ++byte) {
    char32_t cp;
    if (ConvertOne(cd, static_cast<unsigned char>(byte), cp)) table[byte] = cp;
  }
  iconv_close(cd);
  return table;
}

char32_t LowerCaseLetter(char32_t cp) {
  locale_t loc = CaseLocale();
  if (!loc) return cp;
  return static_cast<char32_t>(towlower_l(static_cast<wint_t>(cp), loc));
}

}  // namespace system
}  // namespace platform
