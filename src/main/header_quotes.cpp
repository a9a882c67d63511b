#include "main/header_quotes.h"

#include <algorithm>

size_t LineIndex::LineOf(size_t pos) const {
  if (starts_.empty()) {
    starts_.push_back(0);
    for (size_t p = text_.find("\r\n"); p != std::string_view::npos;
         p = text_.find("\r\n", p + 2)) {
      starts_.push_back(p + 2);
    }
  }
  return static_cast<size_t>(std::upper_bound(starts_.begin(), starts_.end(), pos) -
                             starts_.begin());
}

namespace {

bool IsLineBreakAt(std::string_view t, size_t i) {
  return i + 1 < t.size() && t[i] == '\r' && t[i + 1] == '\n';
}

}  // namespace

// Literals may span lines, as the merge allows, and end at the next double quote
// whatever stands before it. A character literal ends at the end of its line at the
// latest, so a lone apostrophe cannot swallow the rest of the file.
std::vector<Quote> ClassifyQuotes(std::string_view h) {
  std::vector<Quote> quotes;
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
          quotes.push_back({i, QuoteRole::InComment});
        }
      }
    } else if (c == '/' && next == '*') {
      for (i += 2; i < n && !(h[i] == '*' && i + 1 < n && h[i + 1] == '/'); ++i) {
        if (h[i] == '"') quotes.push_back({i, QuoteRole::InComment});
      }
      i = std::min(n, i + 2);
    } else if (c == '"') {
      const bool directive = inDirective;
      quotes.push_back({i, directive ? QuoteRole::DirectiveOpen : QuoteRole::Delimiter});
      const size_t close = h.find('"', i + 1);
      if (close == std::string_view::npos) break;
      quotes.push_back({close, directive ? QuoteRole::DirectiveClose : QuoteRole::Delimiter});
      i = close + 1;
    } else if (c == '\'') {
      for (++i; i < n && !IsLineBreakAt(h, i); ++i) {
        if (h[i] == '\\' && i + 1 < n && !IsLineBreakAt(h, i + 1)) {
          ++i;
          if (h[i] == '"') quotes.push_back({i, QuoteRole::InCharLiteral});
        } else if (h[i] == '"') {
          quotes.push_back({i, QuoteRole::InCharLiteral});
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
