#include "platform/clock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "fakes/fake_platform.h"

using platform::DateTime;
using platform::LocaleFormats;

namespace {

LocaleFormats Formats(std::string date, std::string time, std::string am = "AM",
                      std::string pm = "PM") {
  LocaleFormats f;
  f.shortDate = std::move(date);
  f.longTime = std::move(time);
  f.amMarker = std::move(am);
  f.pmMarker = std::move(pm);
  return f;
}

TEST(FormatDateTimeTest, Patterns) {
  const DateTime morning{2023, 7, 5, 9, 3, 7, 45};
  const DateTime evening{1999, 12, 31, 23, 59, 58, 999};
  const DateTime noon{2024, 2, 29, 12, 0, 0, 0};
  const DateTime midnight{2024, 2, 29, 0, 0, 0, 0};
  const LocaleFormats f = Formats("", "", "vorm.", "nachm.");
  struct Case {
    std::string pattern;
    DateTime t;
    std::string expected;
  } cases[] = {
      {"dd.mm.yyyy", morning, "05.07.2023"},
      {"d/m/yy", morning, "5/7/23"},
      {"DD.MM.YYYY", morning, "05.07.2023"},
      {"hh:nn:ss", morning, "09:03:07"},
      {"h:n:s", morning, "9:3:7"},
      {"hh:nn:ss", evening, "23:59:58"},
      {"h:nn:ss ampm", evening, "11:59:58 nachm."},
      {"ampm h:nn", morning, "vorm. 9:03"},
      {"hh:nn ampm", noon, "12:00 nachm."},
      {"hh:nn ampm", midnight, "12:00 vorm."},
      {"hh:nn", midnight, "00:00"},
      {"hh:nn:ss.zzz", evening, "23:59:58.999"},
      {"yyyy\"y\"mm'm'dd", morning, "2023y07m05"},
      {"yyyy-mm-dd-hh-nn-ss", morning, "2023-07-05-09-03-07"},
      {"yyyy年mm月dd日", morning, "2023年07月05日"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(platform::FormatDateTime(c.pattern, c.t, f), c.expected);
  }
}

TEST(DateTimePrefixTest, DateAloneAtMidnight) {
  const LocaleFormats f = TestFormats();
  const LocaleFormats us = Formats("m/d/yyyy", "h:nn:ss ampm");
  struct Case {
    DateTime t;
    LocaleFormats formats;
    std::string expected;
  } cases[] = {
      {{2023, 7, 5, 9, 3, 7, 0}, f, "05.07.2023 09:03:07"},
      {{2023, 7, 5, 0, 0, 0, 0}, f, "05.07.2023"},
      {{2023, 7, 5, 0, 0, 0, 999}, f, "05.07.2023"},  // milliseconds do not count
      {{2023, 7, 5, 0, 0, 1, 0}, f, "05.07.2023 00:00:01"},
      {{2023, 7, 5, 0, 1, 0, 0}, f, "05.07.2023 00:01:00"},
      {{2023, 7, 5, 0, 0, 0, 0}, us, "7/5/2023"},
      {{2023, 7, 5, 0, 30, 0, 0}, us, "7/5/2023 12:30:00 AM"},
      {{2023, 7, 5, 13, 5, 9, 0}, us, "7/5/2023 1:05:09 PM"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(platform::DateTimePrefix(c.t, c.formats), c.expected);
  }
}

TEST(BackupStampTest, FixedForm) {
  EXPECT_EQ(platform::BackupStamp({2023, 7, 5, 9, 3, 7, 123}), "2023-07-05-09-03-07");
  EXPECT_EQ(platform::BackupStamp({2024, 12, 31, 23, 59, 59, 0}), "2024-12-31-23-59-59");
  EXPECT_EQ(platform::BackupStamp({2024, 1, 1, 0, 0, 0, 0}), "2024-01-01-00-00-00");
}

// The patterns of a few C library locales (as glibc gives them) and what they become.
TEST(LocaleFormatsTest, StrftimePatternsTranslate) {
  struct Case {
    const char* locale;
    platform::LocaleTimeInfo info;
    std::string date, time, am, pm;
  } cases[] = {
      {"de_DE", {"%d.%m.%Y", "%T", "", "", ""}, "dd.mm.yyyy", "hh:nn:ss", "AM", "PM"},
      {"en_US",
       {"%m/%d/%Y", "%r", "%I:%M:%S %p", "AM", "PM"},
       "mm/dd/yyyy",
       "hh:nn:ss ampm",
       "AM",
       "PM"},
      {"en_GB", {"%d/%m/%y", "%T", "", "am", "pm"}, "dd/mm/yy", "hh:nn:ss", "am", "pm"},
      {"C",
       {"%m/%d/%y", "%H:%M:%S", "%I:%M:%S %p", "AM", "PM"},
       "mm/dd/yy",
       "hh:nn:ss",
       "AM",
       "PM"},
      {"hu_HU", {"%Y-%m-%d", "%H:%M:%S", "", "", ""}, "yyyy-mm-dd", "hh:nn:ss", "AM", "PM"},
      {"bg_BG", {"%e.%m.%Y", "%k,%M,%S", "", "", ""}, "d.mm.yyyy", "h,nn,ss", "AM", "PM"},
      {"ja_JP",
       {"%Y年%m月%d日", "%H時%M分%S秒", "%p%I時%M分%S秒", "午前", "午後"},
       "yyyy年mm月dd日",
       "hh時nn分ss秒",
       "午前",
       "午後"},
      {"ko_KR",
       {"%Y년 %m월 %d일", "%r", "%p %I시 %M분 %S초", "오전", "오후"},
       "yyyy년 mm월 dd일",
       "ampm hh시 nn분 ss초",
       "오전",
       "오후"},
      {"flags",
       {"%-d.%-m.%Y", "%-I:%M:%S %P", "", "a.m.", "p.m."},
       "d.m.yyyy",
       "h:nn:ss ampm",
       "a.m.",
       "p.m."},
      {"literals",
       {"%d de %B de %Y", "%Hh%M'%S", "", "", ""},
       "dd\" de \"mm\" de \"yyyy",
       "hh\"h\"nn\"'\"ss",
       "AM",
       "PM"},
      {"weekday", {"%a %d %b %Y", "%X", "", "", ""}, "dd mm yyyy", "hh:nn:ss", "AM", "PM"},
  };
  const DateTime t{2023, 7, 5, 14, 3, 7, 0};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.locale);
    LocaleFormats f = platform::FormatsFromLocaleInfo(c.info);
    EXPECT_EQ(f.shortDate, c.date);
    EXPECT_EQ(f.longTime, c.time);
    EXPECT_EQ(f.amMarker, c.am);
    EXPECT_EQ(f.pmMarker, c.pm);
  }
  // The quoted literals come out as written.
  LocaleFormats lit = platform::FormatsFromLocaleInfo({"%d de %B de %Y", "%Hh%M'%S", "", "", ""});
  EXPECT_EQ(platform::FormatDateTime(lit.shortDate, t, lit), "05 de 07 de 2023");
  EXPECT_EQ(platform::FormatDateTime(lit.longTime, t, lit), "14h03'07");
}

#ifndef _WIN32
// The C locale, and a locale that is not installed, give the numeric fallback.
TEST(LocaleFormatsTest, PlainLocaleGivesNumericDateAnd24HourTime) {
  const char* saved = std::getenv("LC_ALL");
  std::string before = saved ? saved : "";
  for (const char* name : {"C", "POSIX", "C.UTF-8", "xx_NOWHERE.UTF-8"}) {
    SCOPED_TRACE(name);
    setenv("LC_ALL", name, 1);
    LocaleFormats f = platform::UserLocaleFormats();
    EXPECT_EQ(f.shortDate, "yyyy-mm-dd");
    EXPECT_EQ(f.longTime, "hh:nn:ss");
  }
  if (saved) {
    setenv("LC_ALL", before.c_str(), 1);
  } else {
    unsetenv("LC_ALL");
  }
}

#endif

}  // namespace
