#include "platform/encoding.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

using platform::Codec;

namespace {

const int kCodePages[] = {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258};

std::string AllBytes() {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
  return bytes;
}

#ifndef _WIN32
// Sets LC_ALL for the lifetime of the object.
class ScopedLocaleEnv {
 public:
  explicit ScopedLocaleEnv(const char* value) {
    const char* old = std::getenv("LC_ALL");
    had_ = old != nullptr;
    if (had_) old_ = old;
    setenv("LC_ALL", value, 1);
  }
  ~ScopedLocaleEnv() {
    if (had_) {
      setenv("LC_ALL", old_.c_str(), 1);
    } else {
      unsetenv("LC_ALL");
    }
  }

 private:
  bool had_;
  std::string old_;
};
#endif

TEST(Utf8Test, Validity) {
  struct Case {
    std::string bytes;
    bool valid;
  } cases[] = {
      {"", true},
      {"plain ASCII\r\n", true},
      {"\xC3\xA4", true},              // ä
      {"\xE2\x82\xAC", true},          // €
      {"\xF0\x9F\x98\x80", true},      // U+1F600
      {"\xF4\x8F\xBF\xBF", true},      // U+10FFFF
      {"\xEF\xBB\xBF", true},          // byte order mark
      {std::string("a\0b", 3), true},  // NUL is a character
      {"\xC3", false},                 // cut short
      {"\xE2\x82", false},
      {"\x80", false},      // lone continuation byte
      {"\xC0\xAF", false},  // overlong "/"
      {"\xC1\xBF", false},
      {"\xE0\x80\xAF", false},      // overlong, three bytes
      {"\xF0\x80\x80\xAF", false},  // overlong, four bytes
      {"\xED\xA0\x80", false},      // surrogate U+D800
      {"\xED\xBF\xBF", false},      // surrogate U+DFFF
      {"\xF4\x90\x80\x80", false},  // above U+10FFFF
      {"\xF5\x80\x80\x80", false},
      {"\xFF", false},
      {"\xC3\xA4\xC3", false},  // valid, then cut
      {"\xC3\x28", false},      // continuation missing
      {"\xC0\xC1\xF8\xFE", false},
      {"Stra\xDF"
       "e",
       false},  // Windows-1252 text
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    EXPECT_EQ(platform::IsValidUtf8(c.bytes), c.valid);
  }
}

TEST(Utf8Test, CodecDecodesAndEncodes) {
  const Codec& utf8 = Codec::Utf8();
  EXPECT_EQ(utf8.CodePage(), 65001);
  const std::string text = "a\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80";
  EXPECT_EQ(utf8.Decode(text), u"a\u00E4\u20AC\U0001F600");
  EXPECT_EQ(utf8.Encode(u"a\u00E4\u20AC\U0001F600"), text);
  // Lone surrogates, which the user cannot mean as text, become "?".
  EXPECT_EQ(utf8.Encode(std::u16string(u"x") + char16_t(0xD800) + u"y" + char16_t(0xDC00)), "x?y?");
  // A byte that starts no sequence is shown as the replacement character.
  EXPECT_EQ(utf8.Decode("a\xFF"), u"a\uFFFD");
}

TEST(LegacyCodecTest, EveryByteComesBackInEveryCodePage) {
  const std::string all = AllBytes();
  for (int cp : kCodePages) {
    SCOPED_TRACE(cp);
    const Codec& codec = Codec::Legacy(cp);
    EXPECT_EQ(codec.CodePage(), cp);
    std::u16string decoded = codec.Decode(all);
    ASSERT_EQ(decoded.size(), 256u);
    EXPECT_EQ(std::set<char16_t>(decoded.begin(), decoded.end()).size(), 256u)
        << "two bytes decode to one character";
    for (int b = 0; b < 128; ++b) EXPECT_EQ(decoded[b], char16_t(b)) << b;
    EXPECT_EQ(codec.Encode(decoded), all);
  }
}

TEST(LegacyCodecTest, InvalidUtf8ComesBackThroughTheLegacyCodecs) {
  const std::string texts[] = {"\xC0\xAF",
                               "\xED\xA0\x80",
                               "Stra\xDF"
                               "e\r\n",
                               "\x80\x81\x8D\x8F\x90\x9D",
                               "\xC3\xA4\xC3",
                               "\xFF\xFE\x00\x01"};
  for (const std::string& text : texts) {
    ASSERT_FALSE(platform::IsValidUtf8(text));
    for (int cp : kCodePages) {
      SCOPED_TRACE(testing::PrintToString(text) + " in " + std::to_string(cp));
      const Codec& codec = Codec::Legacy(cp);
      EXPECT_EQ(codec.Encode(codec.Decode(text)), text);
    }
  }
}

// The tables come from the converter, not from Latin-1.
TEST(LegacyCodecTest, TablesHoldTheCodePagesLetters) {
  struct Case {
    int cp;
    unsigned char byte;
    char16_t ch;
  } cases[] = {
      {1252, 0x80, u'\u20AC'}, {1252, 0xDF, u'\u00DF'}, {1252, 0x81, u'\u0081'},
      {1250, 0x8A, u'\u0160'}, {1251, 0xC0, u'\u0410'}, {1251, 0x98, u'\u0098'},
      {1253, 0xC1, u'\u0391'}, {1254, 0xD0, u'\u011E'}, {1255, 0xE0, u'\u05D0'},
      {1256, 0xC7, u'\u0627'}, {1257, 0xC0, u'\u0104'}, {1258, 0xD2, u'\u0309'},
      {1258, 0x61, u'a'},      {874, 0xA1, u'\u0E01'},  {874, 0xDB, u'\u00DB'},
      {874, 0x80, u'\u20AC'},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.cp) + " byte " + std::to_string(c.byte));
    const Codec& codec = Codec::Legacy(c.cp);
    EXPECT_EQ(codec.Decode(std::string(1, static_cast<char>(c.byte)))[0], c.ch);
    EXPECT_EQ(codec.Encode(std::u16string(1, c.ch)), std::string(1, static_cast<char>(c.byte)));
  }
  // Characters the code page lacks become one "?" each, a surrogate pair included.
  EXPECT_EQ(Codec::Legacy(1252).Encode(u"a\u0410\U0001F600b"), "a??b");
  EXPECT_EQ(Codec::Legacy(1251).Encode(u"\u00E4\u0430"), "?\xE0");
  EXPECT_EQ(&Codec::Legacy(437), &Codec::Legacy(1252));
}

TEST(LegacyCodePageTest, ChosenFromTheLocaleLanguage) {
  struct Case {
    const char* locale;
    int cp;
  } cases[] = {
      {"ru_RU.UTF-8", 1251},
      {"uk_UA", 1251},
      {"be_BY.UTF-8", 1251},
      {"bg_BG", 1251},
      {"sr_RS", 1251},
      {"sr_RS@latin", 1250},
      {"pl_PL.UTF-8", 1250},
      {"cs_CZ", 1250},
      {"hu_HU", 1250},
      {"el_GR.UTF-8", 1253},
      {"tr_TR.UTF-8", 1254},
      {"he_IL", 1255},
      {"ar_EG.UTF-8", 1256},
      {"fa_IR", 1256},
      {"lt_LT", 1257},
      {"lv_LV", 1257},
      {"et_EE", 1257},
      {"vi_VN", 1258},
      {"th_TH.UTF-8", 874},
      {"de_DE.UTF-8", 1252},
      {"en_US", 1252},
      {"C", 1252},
      {"C.UTF-8", 1252},
      {"POSIX", 1252},
      {"", 1252},
      {"RU_ru", 1251},
      {"ja_JP.UTF-8", 1252},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.locale);
    EXPECT_EQ(platform::LegacyCodePageForLocale(c.locale), c.cp);
  }
#ifndef _WIN32  // Windows takes its code page from the system, not the environment
  ScopedLocaleEnv env("ru_RU.UTF-8");
  EXPECT_EQ(platform::UserLegacyCodePage(), 1251);
#endif
}

#ifndef _WIN32
TEST(LowerCaseAnsiTest, Utf8ByCharacterOtherwiseByLegacyByte) {
  struct Case {
    const char* locale;
    std::string text, lower;
  } cases[] = {
      {"C.UTF-8", "C:\\Tools\\Merge.INI", "c:\\tools\\merge.ini"},
      {"C.UTF-8", "/Home/\xC3\x84rger/\xD0\x9F\xD0\xA0\xD0\x98.TXT",  // ÄRGER, ПРИ
       "/home/\xC3\xA4rger/\xD0\xBF\xD1\x80\xD0\xB8.txt"},
      {"C.UTF-8",
       "Stra\xC3\x9F"
       "E",
       "stra\xC3\x9F"
       "e"},
      {"de_DE", "/\xC4rger/X", "/\xE4rger/x"},          // 1252: Ä -> ä
      {"ru_RU", "/\xCF\xD0\xC8/X", "/\xEF\xF0\xE8/x"},  // 1251: ПРИ -> при
      {"de_DE", "\x80\x81\xFF", "\x80\x81\xFF"},        // no letters
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    ScopedLocaleEnv env(c.locale);
    EXPECT_EQ(platform::LowerCaseAnsi(c.text), c.lower);
  }
}

#endif

}  // namespace
