// How the program's byte texts are shown. Texts are never converted when they are
// loaded, merged or saved; only a view decodes them for display and encodes what
// the user types. A text whose bytes are valid UTF-8 is shown as UTF-8; any other
// text in the legacy (ANSI) code page of the user's locale. Both mappings are
// lossless: decoding then encoding gives back every byte.
#pragma once

#include <string>
#include <string_view>

namespace platform {

bool IsValidUtf8(std::string_view bytes);
// The length of the well-formed UTF-8 sequence at bytes[i] (1 for ASCII), or 0 when
// the bytes there form none.
size_t Utf8SequenceLength(std::string_view bytes, size_t i);

// The legacy Windows code page the user's locale implies, as the Windows ANSI code
// page is chosen: 1251 Cyrillic, 1250 Central European, 1253 Greek, 1254 Turkish,
// 1255 Hebrew, 1256 Arabic, 1257 Baltic, 1258 Vietnamese, 874 Thai, else 1252.
int LegacyCodePageForLocale(std::string_view localeName);  // "ru_RU.UTF-8" -> 1251
// The user's legacy code page: the ANSI code page itself (GetACP) on Windows, elsewhere
// the one LC_CTYPE implies.
int UserLegacyCodePage();

enum class TextEncoding { Utf8, Legacy };

// Decoding and encoding for one code page (Utf8, or a legacy code page).
class Codec {
 public:
  static const Codec& Utf8();
  // 1250..1258 and 874; any other number gives the 1252 codec.
  static const Codec& Legacy(int codePage);

  virtual ~Codec() = default;
  virtual int CodePage() const = 0;  // 65001 for UTF-8
  // Every byte maps to one character; bytes the code page leaves undefined map to
  // the C1 control of the same number, so nothing is lost.
  virtual std::u16string Decode(std::string_view bytes) const = 0;
  // Characters the code page cannot hold become '?'.
  virtual std::string Encode(std::u16string_view text) const = 0;
};

// Lower-cases a text as the user's locale does: a UTF-8 text character by character,
// any other text byte by byte in the user's legacy code page.
std::string LowerCaseAnsi(std::string_view text);

}  // namespace platform
