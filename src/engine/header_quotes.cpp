#include "engine/header_quotes.h"

#include <algorithm>
#include <optional>

size_t LineCounter::LineOf(size_t pos) {
  if (pos < pos_) pos_ = 0, line_ = 1, lineStart_ = 0, nextBreak_ = text_.find('\n');
  pos = std::min(pos, text_.size());
  while (nextBreak_ < pos) {
    ++line_;
    lineStart_ = nextBreak_ + 1;
    nextBreak_ = text_.find('\n', nextBreak_ + 1);
  }
  pos_ = pos;
  return line_;
}

TextPosition LineCounter::PositionOf(size_t pos) {
  TextPosition at;
  at.line = LineOf(pos);
  const std::string_view before = text_.substr(lineStart_, pos_ - lineStart_);
  at.column =
      1 + (utf8_ ? static_cast<size_t>(std::count_if(
                       before.begin(), before.end(),
                       [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }))
                 : before.size());
  return at;
}

namespace {

bool IsLineBreakAt(std::string_view t, size_t i) {
  return i + 1 < t.size() && t[i] == '\r' && t[i + 1] == '\n';
}

}  // namespace

// Literals may span lines, as the merge allows, and end at the next double quote
// whatever stands before it. A character literal ends at the end of its line at the
// latest, so a lone apostrophe cannot swallow the rest of the file.
HeaderQuotes ClassifyQuotes(std::string_view h) {
  HeaderQuotes quotes;
  auto add = [&](size_t pos, std::optional<QuoteRole> role) {
    if (role) quotes.stray.push_back({pos, quotes.count, *role});
    quotes.last = pos;
    ++quotes.count;
  };
  const size_t n = h.size();
  bool lineStart = true;  // nothing but blanks so far on this line
  bool inDirective = false;
  size_t i = 0;
  while (i < n) {
    const char c = h[i];
    if (IsLineBreakAt(h, i)) {
      inDirective = false;
      lineStart = true;
      i += 2;
      continue;
    }
    if (c == '\\' && IsLineBreakAt(h, i + 1)) {  // a spliced line goes on
      i += 3;
      continue;
    }
    if (c == ' ' || c == '\t') {
      ++i;
      continue;
    }
    if (c == '#' && lineStart) inDirective = true;
    lineStart = false;
    const char next = i + 1 < n ? h[i + 1] : '\0';
    if (c == '/' && next == '/') {
      for (i += 2; i < n && !IsLineBreakAt(h, i); ++i) {
        if (h[i] == '\\' && IsLineBreakAt(h, i + 1)) {
          i += 2;
        } else if (h[i] == '"') {
          add(i, QuoteRole::InComment);
        }
      }
    } else if (c == '/' && next == '*') {
      for (i += 2; i < n && !(h[i] == '*' && i + 1 < n && h[i + 1] == '/'); ++i) {
        if (h[i] == '"') add(i, QuoteRole::InComment);
      }
      i = std::min(n, i + 2);
    } else if (c == '"') {
      add(i, inDirective ? std::optional(QuoteRole::DirectiveOpen) : std::nullopt);
      const size_t close = h.find('"', i + 1);
      if (close == std::string_view::npos) break;
      add(close, std::nullopt);
      i = close + 1;
    } else if (c == '\'') {
      for (++i; i < n && !IsLineBreakAt(h, i); ++i) {
        if (h[i] == '\\' && i + 1 < n && !IsLineBreakAt(h, i + 1)) {
          ++i;
          if (h[i] == '"') add(i, QuoteRole::InCharLiteral);
        } else if (h[i] == '"') {
          add(i, QuoteRole::InCharLiteral);
        } else if (h[i] == '\'') {
          ++i;
          break;
        }
      }
    } else {
      ++i;
    }
  }
  return quotes;
}
