// The local clock and the user's date and time formats on POSIX systems: the C
// library's clock and the LC_TIME settings of the environment.
#include <langinfo.h>
#include <locale.h>
#include <time.h>

#include <cstdlib>
#include <string>

#include "platform/clock.h"

namespace platform {
namespace {

class LocalClock : public Clock {
 public:
  DateTime Now() override {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    DateTime t;
    t.year = local.tm_year + 1900;
    t.month = local.tm_mon + 1;
    t.day = local.tm_mday;
    t.hour = local.tm_hour;
    t.minute = local.tm_min;
    t.second = local.tm_sec > 59 ? 59 : local.tm_sec;  // a leap second
    t.millisecond = static_cast<int>(now.tv_nsec / 1000000);
    return t;
  }
};

std::string LangInfo(nl_item item, locale_t loc) {
  const char* value = nl_langinfo_l(item, loc);
  return value ? value : "";
}

// The locale name that decides LC_TIME, as setlocale(LC_TIME, "") would take it.
std::string TimeLocaleName() {
  for (const char* var : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* value = std::getenv(var);
    if (value && *value) return value;
  }
  return "C";
}

}  // namespace

Clock& SystemClock() {
  static LocalClock clock;
  return clock;
}

// The C locale's own "%m/%d/%y" is ambiguous to most readers; where the user has
// chosen no locale the date is written "yyyy-mm-dd" and the time "hh:nn:ss".
LocaleFormats UserLocaleFormats() {
  std::string name = TimeLocaleName();
  bool plain = name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0;
  locale_t loc = plain ? static_cast<locale_t>(0)
                       : newlocale(LC_TIME_MASK, name.c_str(), static_cast<locale_t>(0));
  if (!loc) {
    LocaleFormats formats;
    formats.shortDate = "yyyy-mm-dd";
    formats.longTime = "hh:nn:ss";
    return formats;
  }
  LocaleTimeInfo info;
  info.dateFormat = LangInfo(D_FMT, loc);
  info.timeFormat = LangInfo(T_FMT, loc);
  info.timeFormatAmPm = LangInfo(T_FMT_AMPM, loc);
  info.am = LangInfo(AM_STR, loc);
  info.pm = LangInfo(PM_STR, loc);
  freelocale(loc);
  return FormatsFromLocaleInfo(info);
}

}  // namespace platform
