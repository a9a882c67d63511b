// The date-time formatter and the translation of the systems' date and time patterns
// into its patterns. The clock and the user's formats come from clock_posix.cpp or
// clock_win.cpp.
#include "platform/clock.h"

#include <algorithm>
#include <cstdio>

namespace platform {
namespace {

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

// Translates a Windows date or time picture ("dd.MM.yyyy", "h:mm:ss tt").
std::string TranslatePicture(std::string_view f) {
  std::string out;
  std::string literal;
  auto flush = [&] {
    AppendLiteral(out, literal);
    literal.clear();
  };
  for (size_t i = 0; i < f.size();) {
    const char c = f[i];
    if (c == '\'') {
      // A quoted literal; two quotes stand for one.
      size_t close = i + 1;
      for (; close < f.size(); ++close) {
        if (f[close] != '\'') continue;
        if (close + 1 < f.size() && f[close + 1] == '\'') {
          literal += '\'';
          ++close;
          continue;
        }
        break;
      }
      literal += f.substr(i + 1, std::min(close, f.size()) - i - 1);
      i = close + 1;
      continue;
    }
    size_t run = 1;
    while (i + run < f.size() && f[i + run] == c) ++run;
    const auto field = [&](std::string_view pattern) {
      flush();
      out += pattern;
    };
    switch (c) {
      case 'd':
        if (run <= 2) field(run == 1 ? "d" : "dd");  // day names are left out
        break;
      case 'M':
        field(run == 1 ? "m" : "mm");  // month names are shown as numbers
        break;
      case 'y':
        field(run <= 2 ? "yy" : "yyyy");
        break;
      case 'h':
      case 'H':
        field(run == 1 ? "h" : "hh");
        break;
      case 'm':
        field(run == 1 ? "n" : "nn");
        break;
      case 's':
        field(run == 1 ? "s" : "ss");
        break;
      case 't':
        field("ampm");
        break;
      case 'g':
        break;  // the era
      default:
        literal.append(run, c);
        break;
    }
    i += run;
  }
  flush();
  // A field dropped at an edge leaves its separator behind ("dddd, MMMM d" -> ", mm d").
  const size_t first = out.find_first_not_of(" ,");
  const size_t last = out.find_last_not_of(" ,");
  return first == std::string::npos ? std::string() : out.substr(first, last - first + 1);
}

}  // namespace

LocaleFormats FormatsFromWindowsPictures(std::string_view shortDate, std::string_view longTime,
                                         std::string_view am, std::string_view pm) {
  LocaleFormats formats;
  formats.shortDate = TranslatePicture(shortDate);
  formats.longTime = TranslatePicture(longTime);
  if (formats.shortDate.empty()) formats.shortDate = "yyyy-mm-dd";
  if (formats.longTime.empty()) formats.longTime = "hh:nn:ss";
  if (!am.empty()) formats.amMarker = am;
  if (!pm.empty()) formats.pmMarker = pm;
  return formats;
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
