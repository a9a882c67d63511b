// Local date and time, the user's date and time formats, and the two stamps the
// program writes: the date-time prefix of log lines and the backup suffix.
#pragma once

#include <string>
#include <string_view>

namespace platform {

struct DateTime {
  int year = 0, month = 0, day = 0;  // month and day from 1
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual DateTime Now() = 0;
};

// The local clock of the machine.
Clock& SystemClock();

// The user's short date and long time formats as format patterns of the
// program's formatter (see FormatDateTime), with the locale's AM/PM markers.
struct LocaleFormats {
  std::string shortDate;  // e.g. "dd.mm.yyyy" or "m/d/yyyy"
  std::string longTime;   // e.g. "hh:nn:ss" or "h:nn:ss ampm"
  std::string amMarker = "AM";
  std::string pmMarker = "PM";
};

// The formats of the user's locale: the Windows user locale, or LC_TIME elsewhere (the
// C locale gives a numeric date and a 24-hour time with seconds).
LocaleFormats UserLocaleFormats();

// What a C library locale says about dates and times (strftime patterns and markers,
// as nl_langinfo gives D_FMT, T_FMT, T_FMT_AMPM, AM_STR and PM_STR).
struct LocaleTimeInfo {
  std::string dateFormat;      // "%d.%m.%Y"
  std::string timeFormat;      // "%H:%M:%S", or "%r" for the 12-hour form below
  std::string timeFormatAmPm;  // "%I:%M:%S %p"
  std::string am, pm;          // empty in locales without a 12-hour clock
};

// The formats of such a locale, its strftime patterns translated into the patterns of
// FormatDateTime ("%d.%m.%Y" -> "dd.mm.yyyy", "%I:%M:%S %p" -> "hh:nn:ss ampm").
LocaleFormats FormatsFromLocaleInfo(const LocaleTimeInfo& info);

// The formats of a Windows locale, its pictures (LOCALE_SSHORTDATE "dd.MM.yyyy",
// LOCALE_STIMEFORMAT "h:mm:ss tt") translated into the patterns of FormatDateTime
// ("dd.mm.yyyy", "h:nn:ss ampm"), with its AM and PM markers where it has them.
LocaleFormats FormatsFromWindowsPictures(std::string_view shortDate, std::string_view longTime,
                                         std::string_view am, std::string_view pm);

// Formats t by pattern: yyyy/yy, m/mm (month), d/dd, h/hh, n/nn (minutes), s/ss,
// "ampm" (the locale's marker, and a 12-hour clock for h), quoted literals; anything
// else is copied.
std::string FormatDateTime(std::string_view pattern, const DateTime& t,
                           const LocaleFormats& formats);

// The short date, then, unless the time is exactly 00:00:00, a blank and the long time.
std::string DateTimePrefix(const DateTime& t, const LocaleFormats& formats);

// "yyyy-mm-dd-hh-nn-ss": the stamp behind a backup name.
std::string BackupStamp(const DateTime& t);

}  // namespace platform
