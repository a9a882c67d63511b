// The user's date and time formats and the ANSI code page as Windows gives them. The
// test command runs these under several locales (Wine takes the user's locale from
// LC_ALL); VK_EXPECT_ACP names the ANSI code page the locale implies.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/clock.h"
#include "platform/encoding.h"

namespace {

std::string Utf8(const wchar_t* text) {
  char bytes[256];
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
  return n > 0 ? std::string(bytes, static_cast<size_t>(n - 1)) : std::string();
}

TEST(WindowsLocale, DatesAndTimesAsWindowsWritesThem) {
  const platform::LocaleFormats formats = platform::UserLocaleFormats();
  const platform::DateTime times[] = {
      {2023, 7, 5, 9, 3, 7, 0},  {1999, 12, 31, 23, 59, 58, 0}, {2024, 2, 29, 12, 0, 0, 0},
      {2024, 2, 29, 0, 0, 0, 0}, {2024, 1, 2, 0, 0, 1, 0},      {2031, 10, 11, 13, 5, 9, 0},
  };
  for (const platform::DateTime& t : times) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(t.year);
    st.wMonth = static_cast<WORD>(t.month);
    st.wDay = static_cast<WORD>(t.day);
    st.wHour = static_cast<WORD>(t.hour);
    st.wMinute = static_cast<WORD>(t.minute);
    st.wSecond = static_cast<WORD>(t.second);
    wchar_t date[128], time[128];
    ASSERT_GT(
        GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, 128, nullptr),
        0);
    ASSERT_GT(GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, nullptr, time, 128), 0);
    const bool midnight = t.hour == 0 && t.minute == 0 && t.second == 0;
    SCOPED_TRACE(Utf8(date) + " " + Utf8(time));
    EXPECT_EQ(platform::DateTimePrefix(t, formats),
              Utf8(date) + (midnight ? "" : " " + Utf8(time)));
  }
}

TEST(WindowsLocale, LowerCaseInTheAnsiCodePage) {
  if (const char* expected = std::getenv("VK_EXPECT_ACP")) {
    ASSERT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected)));
  }
  EXPECT_EQ(platform::UserLegacyCodePage(), static_cast<int>(GetACP()));
  // Each byte alone is no UTF-8: it is lower-cased in the ANSI code page, as
  // CharLowerBuffA does it.
  for (int b = 0x80; b < 0x100; ++b) {
    char lower = static_cast<char>(b);
    CharLowerBuffA(&lower, 1);
    SCOPED_TRACE(b);
    EXPECT_EQ(platform::LowerCaseAnsi(std::string(1, static_cast<char>(b))), std::string(1, lower));
  }
  // The table the text views decode with is the system's.
  const platform::Codec& codec = platform::Codec::Legacy(static_cast<int>(GetACP()));
  for (int b = 0; b < 0x100; ++b) {
    const char in = static_cast<char>(b);
    wchar_t out[2] = {};
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, &in, 1, out, 2), 1);
    EXPECT_EQ(codec.Decode(std::string(1, in)), std::u16string(1, static_cast<char16_t>(out[0])))
        << b;
  }
  if (GetACP() == 1251) {  // А Ё Я -> а ё я
    EXPECT_EQ(platform::LowerCaseAnsi("C:\\\xC0\xA8\xDF.INI"), "c:\\\xE0\xB8\xFF.ini");
  } else if (GetACP() == 1252) {  // À stays a letter, ¨ is none, Þ -> þ
    EXPECT_EQ(platform::LowerCaseAnsi("C:\\\xC0\xA8\xDE.INI"), "c:\\\xE0\xA8\xFE.ini");
  }
  // A UTF-8 path is lower-cased by its characters, whatever the code page.
  EXPECT_EQ(platform::LowerCaseAnsi("C:\\\xD0\x9F\xD0\xA0\xD0\x98\\\xC3\x84.INI"),
            "c:\\\xD0\xBF\xD1\x80\xD0\xB8\\\xC3\xA4.ini");
}

}  // namespace
