// UTF-8 checks, the legacy codecs and the lower-casing of texts. What the system
// itself knows (the code page tables, the user's code page, letter case beyond ASCII)
// comes from encoding_posix.cpp or encoding_win.cpp.
#include "platform/encoding.h"

#include <array>
#include <cstdint>
#include <vector>

#include "platform/encoding_system.h"

namespace platform {
namespace {

// Reads one UTF-8 sequence at bytes[i]; returns its length and the code point, or 0
// when the bytes there are not a well-formed sequence (overlong forms, surrogates
// and code points above U+10FFFF included).
size_t ReadUtf8(std::string_view bytes, size_t i, char32_t& cp) {
  auto b = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
  unsigned char c = b(i);
  if (c < 0x80) {
    cp = c;
    return 1;
  }
  size_t len;
  char32_t min;
  if (c >= 0xC2 && c <= 0xDF) {
    len = 2, min = 0x80, cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    len = 3, min = 0x800, cp = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    len = 4, min = 0x10000, cp = c & 0x07;
  } else {
    return 0;
  }
  if (bytes.size() - i < len) return 0;
  for (size_t k = 1; k < len; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b(i + k) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 | (cp >> 10));
    out += static_cast<char16_t>(0xDC00 | (cp & 0x3FF));
  }
}

// Reads one character of UTF-16 text at text[i]; returns its length in units and the
// code point, or the length of a lone surrogate with cp set to 0xFFFFFFFF.
size_t ReadUtf16(std::u16string_view text, size_t i, char32_t& cp) {
  char16_t u = text[i];
  if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
      text[i + 1] <= 0xDFFF) {
    cp = 0x10000 + ((static_cast<char32_t>(u - 0xD800) << 10) | (text[i + 1] - 0xDC00));
    return 2;
  }
  cp = (u >= 0xD800 && u <= 0xDFFF) ? 0xFFFFFFFF : u;
  return 1;
}

class Utf8Codec : public Codec {
 public:
  int CodePage() const override { return 65001; }

  // Valid UTF-8 decodes exactly; a byte that starts no valid sequence becomes U+FFFD
  // (a text with such bytes is shown through a legacy codec instead).
  std::u16string Decode(std::string_view bytes) const override {
    std::u16string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
      char32_t cp;
      size_t len = ReadUtf8(bytes, i, cp);
      if (len == 0) {
        out += u'\uFFFD';
        ++i;
      } else {
        AppendUtf16(out, cp);
        i += len;
      }
    }
    return out;
  }

  std::string Encode(std::u16string_view text) const override {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
      char32_t cp;
      i += ReadUtf16(text, i, cp);
      if (cp == 0xFFFFFFFF) {
        out += '?';
      } else {
        AppendUtf8(out, cp);
      }
    }
    return out;
  }
};

// A single-byte Windows code page, its tables built from the C library's converter.
class LegacyCodec : public Codec {
 public:
  explicit LegacyCodec(int codePage) : codePage_(codePage), encode_(0x10000, -1) {
    std::array<bool, 256> defined{};
    const std::array<char32_t, 256> table = system::LegacyCodePageTable(codePage);
    for (int byte = 0; byte < 256; ++byte) {
      const char32_t cp = table[byte];
      if (cp < 0x10000 && encode_[cp] < 0) {
        decode_[byte] = static_cast<char16_t>(cp);
        encode_[cp] = static_cast<int16_t>(byte);
        defined[byte] = true;
      }
    }
    // A byte the code page leaves undefined stands for the character of the same
    // number (a C1 control for 0x80..0x9F), so that every byte comes back. Should that
    // character be taken already, a private-use character stands in.
    for (int byte = 0; byte < 256; ++byte) {
      if (defined[byte]) continue;
      char16_t cp = static_cast<char16_t>(byte);
      if (encode_[cp] >= 0) cp = static_cast<char16_t>(0xF700 + byte);
      decode_[byte] = cp;
      encode_[cp] = static_cast<int16_t>(byte);
    }
  }

  int CodePage() const override { return codePage_; }

  std::u16string Decode(std::string_view bytes) const override {
    std::u16string out(bytes.size(), u'\0');
    for (size_t i = 0; i < bytes.size(); ++i) {
      out[i] = decode_[static_cast<unsigned char>(bytes[i])];
    }
    return out;
  }

  std::string Encode(std::u16string_view text) const override {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
      char32_t cp;
      i += ReadUtf16(text, i, cp);
      int byte = cp < 0x10000 ? encode_[cp] : -1;
      out += byte < 0 ? '?' : static_cast<char>(byte);
    }
    return out;
  }

 private:
  int codePage_;
  std::array<char16_t, 256> decode_{};
  std::vector<int16_t> encode_;  // character -> byte, -1 where the code page has none
};

template <int CodePage>
const Codec& LegacyInstance() {
  static const LegacyCodec codec(CodePage);
  return codec;
}

// The codec of codePage among the listed code pages, the last one for any other.
template <int CodePage, int... Others>
const Codec& LegacyAmong(int codePage) {
  if constexpr (sizeof...(Others) == 0) {
    return LegacyInstance<CodePage>();
  } else {
    return codePage == CodePage ? LegacyInstance<CodePage>() : LegacyAmong<Others...>(codePage);
  }
}

char32_t LowerChar(char32_t cp) {
  if (cp < 0x80) return (cp >= 'A' && cp <= 'Z') ? cp + ('a' - 'A') : cp;
  return system::LowerCaseLetter(cp);
}

}  // namespace

size_t Utf8SequenceLength(std::string_view bytes, size_t i) {
  char32_t cp;
  return i < bytes.size() ? ReadUtf8(bytes, i, cp) : 0;
}

bool IsValidUtf8(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size();) {
    char32_t cp;
    size_t len = ReadUtf8(bytes, i, cp);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

int LegacyCodePageForLocale(std::string_view localeName) {
  std::string language;
  size_t i = 0;
  for (; i < localeName.size(); ++i) {
    char c = localeName[i];
    if (c == '_' || c == '.' || c == '@' || c == '-') break;
    language += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
  }
  size_t at = localeName.find('@');
  std::string_view modifier = at == std::string_view::npos ? "" : localeName.substr(at + 1);
  auto in = [&](std::initializer_list<const char*> list) {
    for (const char* l : list) {
      if (language == l) return true;
    }
    return false;
  };
  // Serbian, Uzbek and Azerbaijani are written in Latin or Cyrillic letters.
  if (in({"sr"})) return modifier == "latin" ? 1250 : 1251;
  if (in({"uz", "az"})) return modifier == "cyrillic" ? 1251 : 1254;
  if (in({"ru", "uk", "be", "bg", "mk", "kk", "ky", "tt", "mn", "tg", "ba", "sah"})) return 1251;
  if (in({"pl", "cs", "sk", "hu", "hr", "sl", "ro", "sq", "bs", "tk", "hsb", "dsb"})) return 1250;
  if (in({"el"})) return 1253;
  if (in({"tr"})) return 1254;
  if (in({"he", "iw", "yi"})) return 1255;
  if (in({"ar", "fa", "ur", "ug", "ps"})) return 1256;
  if (in({"lt", "lv", "et"})) return 1257;
  if (in({"vi"})) return 1258;
  if (in({"th"})) return 874;
  return 1252;
}

const Codec& Codec::Utf8() {
  static const Utf8Codec codec;
  return codec;
}

const Codec& Codec::Legacy(int codePage) {
  return LegacyAmong<1250, 1251, 1253, 1254, 1255, 1256, 1257, 1258, 874, 1252>(codePage);
}

std::string LowerCaseAnsi(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  if (IsValidUtf8(text)) {
    for (size_t i = 0; i < text.size();) {
      char32_t cp;
      i += ReadUtf8(text, i, cp);
      AppendUtf8(out, LowerChar(cp));
    }
    return out;
  }
  // Byte by byte in the legacy code page; a letter whose lower case the code page
  // cannot hold keeps its byte.
  const Codec& codec = Codec::Legacy(UserLegacyCodePage());
  for (char byte : text) {
    std::u16string ch = codec.Decode(std::string_view(&byte, 1));
    char32_t lower = LowerChar(ch[0]);
    std::string back;
    if (lower < 0x10000) back = codec.Encode(std::u16string(1, static_cast<char16_t>(lower)));
    out += (back.size() == 1 && back[0] != '?') ? back[0] : byte;
  }
  return out;
}

}  // namespace platform
