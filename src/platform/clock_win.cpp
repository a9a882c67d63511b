// The local clock and the user's date and time formats on Windows: GetLocalTime and
// the short date, time format and AM/PM markers of the user's locale.
#include <windows.h>

#include <string>

#include "platform/clock.h"
#include "platform/wide_win.h"

namespace platform {
namespace {

class LocalClock : public Clock {
 public:
  DateTime Now() override {
    SYSTEMTIME local;
    GetLocalTime(&local);
    DateTime t;
    t.year = local.wYear;
    t.month = local.wMonth;
    t.day = local.wDay;
    t.hour = local.wHour;
    t.minute = local.wMinute;
    t.second = local.wSecond;
    t.millisecond = local.wMilliseconds;
    return t;
  }
};

std::string LocaleText(LCTYPE item) {
  wchar_t buffer[128];
  const int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, buffer, 128);
  return n > 1 ? win::Utf8(std::wstring_view(buffer, static_cast<size_t>(n - 1))) : std::string();
}

}  // namespace

Clock& SystemClock() {
  static LocalClock clock;
  return clock;
}

LocaleFormats UserLocaleFormats() {
  return FormatsFromWindowsPictures(LocaleText(LOCALE_SSHORTDATE), LocaleText(LOCALE_STIMEFORMAT),
                                    LocaleText(LOCALE_S1159), LocaleText(LOCALE_S2359));
}

}  // namespace platform
