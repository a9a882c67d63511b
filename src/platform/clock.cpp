// The local clock, the user's date and time formats and the date-time formatter.
#include "platform/clock.h"

#include <langinfo.h>
#include <locale.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>

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

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

void AppendNumber(std::string& out, int value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*d", digits, value);
  out += text;
}

bool StartsWithIgnoringCase(std::string_view s, size_t pos, std::string_view word) {
  if (s.size() - pos < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (Lower(s[pos + i]) != word[i]) return false;
  }
  return true;
}

// Appends literal text to a pattern, quoting what the formatter would read as a
// specifier (ASCII letters) or a quote.
void AppendLiteral(std::string& pattern, std::string_view text) {
  bool needsQuotes = false;
  for (char c : text) {
    char l = Lower(c);
    needsQuotes = needsQuotes || (l >= 'a' && l <= 'z') || c == '"' || c == '\'';
  }
  if (!needsQuotes) {
    pattern += text;
    return;
  }
  char quote = text.find('"') == std::string_view::npos ? '"' : '\'';
  char other = quote == '"' ? '\'' : '"';
  pattern += quote;
  for (char c : text) {
    if (c == quote) {
      // Cannot stand inside these quotes: close, put it in the other kind, reopen.
      pattern += quote;
      pattern += other;
      pattern += c;
      pattern += other;
      pattern += quote;
    } else {
      pattern += c;
    }
  }
  pattern += quote;
}

// Translates a strftime pattern; `info` resolves the patterns that stand for others
// (%r, %X, %x), `depth` stops a locale whose patterns refer to each other.
std::string Translate(std::string_view f, const LocaleTimeInfo& info, int depth = 0) {
  std::string out;
  std::string literal;
  auto flush = [&] {
    AppendLiteral(out, literal);
    literal.clear();
  };
  for (size_t i = 0; i < f.size(); ++i) {
    if (f[i] != '%' || i + 1 == f.size()) {
      literal += f[i];
      continue;
    }
    ++i;
    // Flags and width: "-" and "_" drop the leading zero, "0" keeps it.
    bool noPadding = false;
    while (i < f.size() && (f[i] == '-' || f[i] == '_' || f[i] == '0' || f[i] == '^' ||
                            f[i] == '#' || (f[i] >= '1' && f[i] <= '9'))) {
      noPadding = noPadding || f[i] == '-' || f[i] == '_';
      if (f[i] == '0') noPadding = false;
      ++i;
    }
    if (i < f.size() && (f[i] == 'E' || f[i] == 'O')) ++i;  // alternative forms
    if (i == f.size()) break;
    auto field = [&](const char* padded, const char* plain) {
      flush();
      out += noPadding ? plain : padded;
    };
    switch (f[i]) {
      case 'd':
        field("dd", "d");
        break;
      case 'e':
        field("d", "d");
        break;
      case 'm':
        field("mm", "m");
        break;
      case 'b':  // month names are shown as numbers
      case 'B':
      case 'h':
        field("mm", "m");
        break;
      case 'Y':
      case 'G':
        field("yyyy", "yyyy");
        break;
      case 'y':
      case 'g':
        field("yy", "yy");
        break;
      case 'H':
      case 'I':
        field("hh", "h");
        break;
      case 'k':
      case 'l':
        field("h", "h");
        break;
      case 'M':
        field("nn", "n");
        break;
      case 'S':
        field("ss", "s");
        break;
      case 'p':
      case 'P':
        field("ampm", "ampm");
        break;
      case 'D':
        field("mm/dd/yy", "mm/dd/yy");
        break;
      case 'F':
        field("yyyy-mm-dd", "yyyy-mm-dd");
        break;
      case 'T':
        field("hh:nn:ss", "hh:nn:ss");
        break;
      case 'R':
        field("hh:nn", "hh:nn");
        break;
      case 'r':
      case 'X':
      case 'x': {
        const std::string& inner = f[i] == 'r'   ? info.timeFormatAmPm
                                   : f[i] == 'X' ? info.timeFormat
                                                 : info.dateFormat;
        flush();
        if (depth < 3 && !inner.empty()) {
          out += Translate(inner, info, depth + 1);
        } else {
          out += f[i] == 'x' ? "yyyy-mm-dd" : f[i] == 'r' ? "hh:nn:ss ampm" : "hh:nn:ss";
        }
        break;
      }
      case 'n':
      case 't':
        literal += ' ';
        break;
      case '%':
        literal += '%';
        break;
      default:
        break;  // weekday names, day of the year, zones: not in our formats
    }
  }
  flush();
  // A field dropped at an edge leaves its separator behind ("%a %d" -> " dd").
  size_t first = out.find_first_not_of(' ');
  size_t last = out.find_last_not_of(' ');
  return first == std::string::npos ? std::string() : out.substr(first, last - first + 1);
}

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

LocaleFormats FormatsFromLocaleInfo(const LocaleTimeInfo& info) {
  LocaleFormats formats;
  formats.shortDate = Translate(info.dateFormat, info);
  formats.longTime = Translate(info.timeFormat, info);
  if (formats.shortDate.empty()) formats.shortDate = "yyyy-mm-dd";
  if (formats.longTime.empty()) formats.longTime = "hh:nn:ss";
  if (!info.am.empty()) formats.amMarker = info.am;
  if (!info.pm.empty()) formats.pmMarker = info.pm;
  return formats;
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

std::string FormatDateTime(std::string_view pattern, const DateTime& t,
                           const LocaleFormats& formats) {
  bool twelveHour = false;
  for (size_t i = 0; i < pattern.size() && !twelveHour; ++i) {
    twelveHour = StartsWithIgnoringCase(pattern, i, "ampm");
  }
  std::string out;
  for (size_t i = 0; i < pattern.size();) {
    char c = pattern[i];
    if (c == '"' || c == '\'') {
      size_t close = pattern.find(c, i + 1);
      if (close == std::string_view::npos) close = pattern.size();
      out += pattern.substr(i + 1, close - i - 1);
      i = close + 1;
      continue;
    }
    if (StartsWithIgnoringCase(pattern, i, "ampm")) {
      out += t.hour < 12 ? formats.amMarker : formats.pmMarker;
      i += 4;
      continue;
    }
    char l = Lower(c);
    size_t run = 1;
    while (i + run < pattern.size() && Lower(pattern[i + run]) == l) ++run;
    switch (l) {
      case 'y':
        if (run <= 2) {
          AppendNumber(out, t.year % 100, 2);
        } else {
          AppendNumber(out, t.year, 4);
        }
        break;
      case 'm':
        AppendNumber(out, t.month, run >= 2 ? 2 : 1);
        break;
      case 'd':
        AppendNumber(out, t.day, run >= 2 ? 2 : 1);
        break;
      case 'h': {
        int hour = t.hour;
        if (twelveHour) hour = hour % 12 == 0 ? 12 : hour % 12;
        AppendNumber(out, hour, run >= 2 ? 2 : 1);
        break;
      }
      case 'n':
        AppendNumber(out, t.minute, run >= 2 ? 2 : 1);
        break;
      case 's':
        AppendNumber(out, t.second, run >= 2 ? 2 : 1);
        break;
      case 'z':
        AppendNumber(out, t.millisecond, run >= 3 ? 3 : 1);
        break;
      default:
        out.append(run, c);
        break;
    }
    i += run;
  }
  return out;
}

std::string DateTimePrefix(const DateTime& t, const LocaleFormats& formats) {
  std::string prefix = FormatDateTime(formats.shortDate, t, formats);
  if (t.hour != 0 || t.minute != 0 || t.second != 0) {
    prefix += ' ';
    prefix += FormatDateTime(formats.longTime, t, formats);
  }
  return prefix;
}

std::string BackupStamp(const DateTime& t) {
  LocaleFormats none;
  return FormatDateTime("yyyy-mm-dd-hh-nn-ss", t, none);
}

}  // namespace platform
