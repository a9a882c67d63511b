// The check of a dialog script. The header is read twice: once the way the merge reads
// it (every double quote counts) and once the way a C reader does (comments, character
// literals, preprocessor lines, escapes); where the two disagree, texts shift.
#include "main/merge_check.h"

#include <algorithm>
#include <limits>

#include "main/merge.h"
#include "main/text_pane.h"

namespace {

// Line numbers of a pane text: lines are the pieces between CR LF pairs. The index is
// built at the first question, since a clean script never asks.
class LineIndex {
 public:
  explicit LineIndex(std::string_view text) : text_(text) {}
  // The line (from 1) that holds the byte at pos.
  size_t LineOf(size_t pos) const {
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

 private:
  std::string_view text_;
  mutable std::vector<size_t> starts_;
};

// How a C reader sees a double quote of the header.
enum class QuoteRole {
  Delimiter,       // opens or closes a string literal of the list
  InComment,       // inside // or /* */
  InCharLiteral,   // '"'
  Escaped,         // \" inside a literal
  DirectiveOpen,   // opens a string of a preprocessor line (#include "x.h")
  DirectiveClose,  // closes it
};

struct Quote {
  size_t pos;
  QuoteRole role;
};

bool IsLineBreakAt(std::string_view t, size_t i) {
  return i + 1 < t.size() && t[i] == '\r' && t[i + 1] == '\n';
}

// Every double quote of a pane text with the role a C reader gives it. Literals may
// span lines, as the merge allows; a character literal ends at the end of its line at
// the latest, so a lone apostrophe cannot swallow the rest of the file.
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
      for (++i; i < n; ++i) {
        if (h[i] == '\\' && i + 1 < n) {
          ++i;
          if (h[i] == '"') quotes.push_back({i, QuoteRole::Escaped});
        } else if (h[i] == '"') {
          quotes.push_back({i, directive ? QuoteRole::DirectiveClose : QuoteRole::Delimiter});
          ++i;
          break;
        }
      }
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

// A reference as written: "DLG_TEXT[n]" in any letter case, with blanks around the
// bracket and the index allowed, so that the forms the merge passes over are found too.
struct WrittenReference {
  size_t pos = 0, length = 0;
  std::string_view digits;
  bool upperCase = true, blanks = false;
  size_t index = 0;  // saturates at SIZE_MAX
  bool Canonical() const {
    return upperCase && !blanks && (digits.size() == 1 || digits[0] != '0');
  }
};

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// The references in text, in order. Only upper-case references without blanks when
// canonicalOnly is set (those are what the merge replaces, when the index is not
// written with a leading zero).
std::vector<WrittenReference> FindReferences(std::string_view text, bool canonicalOnly) {
  static constexpr std::string_view kName = "dlg_text";
  std::vector<WrittenReference> refs;
  const size_t n = text.size();
  // Every reference has one "[": find those fast, then look back for the name.
  for (size_t open = text.find('['); open != std::string_view::npos;
       open = text.find('[', open + 1)) {
    WrittenReference ref;
    size_t p = open;
    while (p > 0 && IsBlank(text[p - 1])) --p;
    if (p < kName.size()) continue;
    p -= kName.size();
    bool match = true;
    for (size_t k = 0; k < kName.size() && match; ++k) match = LowerAscii(text[p + k]) == kName[k];
    if (!match) continue;
    ref.pos = p;
    ref.upperCase = text.substr(p, kName.size()) == "DLG_TEXT";
    ref.blanks = p + kName.size() != open;
    size_t i = open + 1;
    auto skipBlanks = [&] {
      while (i < n && IsBlank(text[i])) {
        ref.blanks = true;
        ++i;
      }
    };
    skipBlanks();
    const size_t digitsStart = i;
    while (i < n && text[i] >= '0' && text[i] <= '9') {
      const size_t d = static_cast<size_t>(text[i] - '0');
      const size_t max = std::numeric_limits<size_t>::max();
      ref.index = ref.index > (max - d) / 10 ? max : ref.index * 10 + d;
      ++i;
    }
    if (i == digitsStart) continue;
    ref.digits = text.substr(digitsStart, i - digitsStart);
    skipBlanks();
    if (i >= n || text[i] != ']') continue;
    ref.length = i + 1 - p;
    if (canonicalOnly && (!ref.upperCase || ref.blanks)) continue;
    refs.push_back(ref);
    open = i;
  }
  return refs;
}

std::string CountOfTexts(size_t count) {
  return std::to_string(count) + (count == 1 ? " dialog text" : " dialog texts");
}

std::string ShiftsFrom(size_t quoteOrdinal) {
  return "which shifts dialog text " + std::to_string(quoteOrdinal / 2) + " and every later one";
}

// The index the merge would need: the digits without leading zeros.
std::string IndexWithoutLeadingZeros(std::string_view digits) {
  const size_t first = digits.find_first_not_of('0');
  return first == std::string_view::npos ? "0" : std::string(digits.substr(first));
}

void CheckHeaderQuotes(std::string_view header, const LineIndex& lines,
                       const std::vector<Quote>& quotes, size_t textCount,
                       std::vector<ScriptFinding>& out) {
  auto add = [&](size_t pos, std::string message) {
    out.push_back({ScriptFinding::File::Header, lines.LineOf(pos), std::move(message)});
  };
  for (size_t q = 0; q < quotes.size();) {
    const QuoteRole role = quotes[q].role;
    if (role == QuoteRole::Delimiter || role == QuoteRole::DirectiveClose) {
      ++q;
      continue;
    }
    if (role == QuoteRole::DirectiveOpen) {
      add(quotes[q].pos,
          "string in a preprocessor line; the merge counts its double quotes, " + ShiftsFrom(q));
      ++q;
      continue;
    }
    // Stray quotes of one kind on one line (a quoted word in a comment, an escaped
    // pair) make one finding.
    const size_t line = lines.LineOf(quotes[q].pos);
    size_t end = q + 1;
    while (end < quotes.size() && quotes[end].role == role &&
           lines.LineOf(quotes[end].pos) == line) {
      ++end;
    }
    const size_t count = end - q;
    std::string what = count == 1 ? "double quote" : std::to_string(count) + " double quotes";
    if (role == QuoteRole::InComment) what += " in a comment";
    if (role == QuoteRole::InCharLiteral) what += " in a character literal";
    if (role == QuoteRole::Escaped) what += " after a backslash inside a literal";
    add(quotes[q].pos,
        what + "; the merge counts " + (count == 1 ? "it" : "them") + ", " + ShiftsFrom(q));
    q = end;
  }
  if (quotes.size() % 2 == 1) {
    const size_t last = quotes.back().pos;
    const std::string count = std::to_string(quotes.size());
    if (last + 1 < header.size()) {
      add(last, "odd number of double quotes (" + count + "); dialog text " +
                    std::to_string(textCount - 1) + " runs from here to the end of the file");
    } else {
      add(last, "odd number of double quotes (" + count + "); the last one starts no dialog text");
    }
  }
}

}  // namespace

ScriptCheck CheckDialogScript(std::string_view codeBytes, std::string_view headerBytes) {
  ScriptCheck result;
  const std::string header = NormalizeLineBreaks(headerBytes);
  const std::string code = NormalizeLineBreaks(codeBytes);
  const LineIndex headerLines(header), codeLines(code);
  std::vector<ScriptFinding> headerFindings, codeFindings;

  if (headerBytes.find('\0') != std::string_view::npos) {
    headerFindings.push_back({ScriptFinding::File::Header, headerLines.LineOf(header.size()),
                              "NUL byte; the merge ignores everything from here to the end"});
  }
  if (codeBytes.find('\0') != std::string_view::npos) {
    codeFindings.push_back({ScriptFinding::File::Code, codeLines.LineOf(code.size()),
                            "NUL byte; the merge ignores everything from here to the end"});
  }

  const std::vector<std::string> texts = DialogTexts(header);
  const size_t count = texts.size();
  result.textCount = count;
  const std::vector<Quote> quotes = ClassifyQuotes(header);
  CheckHeaderQuotes(header, headerLines, quotes, count, headerFindings);
  // Where text k stands in the header: behind its opening quote, the (2k+1)-th.
  auto textStart = [&](size_t k) {
    return 2 * k < quotes.size() ? quotes[2 * k].pos + 1 : header.size();
  };

  std::vector<bool> used(count, false);
  for (const WrittenReference& ref : FindReferences(code, false)) {
    if (ref.Canonical() && ref.index < count) {
      used[ref.index] = true;
      continue;
    }
    const std::string written(code.substr(ref.pos, ref.length));
    const size_t line = codeLines.LineOf(ref.pos);
    if (!ref.Canonical()) {
      std::string why;
      auto reason = [&](const char* r) { why += (why.empty() ? "" : ", ") + std::string(r); };
      if (!ref.upperCase) reason("not in upper case");
      if (ref.blanks) reason("blanks");
      if (ref.digits.size() > 1 && ref.digits[0] == '0') reason("leading zero");
      codeFindings.push_back({ScriptFinding::File::Code, line,
                              written + " is left as it is (" + why +
                                  "); the merge replaces only DLG_TEXT[" +
                                  IndexWithoutLeadingZeros(ref.digits) + "]"});
    } else {
      codeFindings.push_back({ScriptFinding::File::Code, line,
                              written +
                                  " has no dialog text and is left as it is; the header has " +
                                  CountOfTexts(count)});
    }
  }
  // A text that the merge inserts is searched by every later pass: references to later
  // texts in it are replaced, the others stay in the merged text.
  for (size_t k = 0; k < count; ++k) {
    if (!used[k]) {
      headerFindings.push_back({ScriptFinding::File::Header, headerLines.LineOf(textStart(k) - 1),
                                "dialog text " + std::to_string(k) + " is used by no reference"});
      continue;
    }
    for (const WrittenReference& ref : FindReferences(texts[k], true)) {
      if (!ref.Canonical()) continue;
      const size_t line = headerLines.LineOf(textStart(k) + ref.pos);
      const std::string written(texts[k].substr(ref.pos, ref.length));
      if (ref.index >= count) {
        headerFindings.push_back({ScriptFinding::File::Header, line,
                                  written + " inside dialog text " + std::to_string(k) +
                                      " has no dialog text and is left as it is; the header has " +
                                      CountOfTexts(count)});
      } else if (ref.index <= k) {
        headerFindings.push_back({ScriptFinding::File::Header, line,
                                  written + " inside dialog text " + std::to_string(k) +
                                      " is left as it is; inside a text only references to "
                                      "later texts are replaced"});
      } else {
        used[ref.index] = true;
      }
    }
  }

  auto byLine = [](const ScriptFinding& a, const ScriptFinding& b) { return a.line < b.line; };
  std::stable_sort(headerFindings.begin(), headerFindings.end(), byLine);
  std::stable_sort(codeFindings.begin(), codeFindings.end(), byLine);
  result.findings = std::move(headerFindings);
  result.findings.insert(result.findings.end(), codeFindings.begin(), codeFindings.end());
  return result;
}
