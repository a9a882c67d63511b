// The check of a dialog script: the header's quotes as the merge and the script reader
// see them, the references the code and the texts hold, and the file-wide findings.
#include "engine/merge_check.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <limits>

#include "engine/header_quotes.h"
#include "engine/identifier.h"
#include "engine/line_breaks.h"
#include "engine/merge.h"
#include "platform/encoding.h"

namespace {

// A reference as written: a name the merge knows (DLG_TEXT or the declared one) in any
// letter case, with blanks around the bracket and the index allowed, so that the forms
// the merge passes over are found too; or, written exactly, a name that begins with
// DLG_TEXT and that the header does not declare.
struct WrittenReference {
  size_t pos = 0, length = 0;
  std::string_view name;  // the name the merge would need: DLG_TEXT or the declared one
  std::string_view digits;
  bool exactCase = true, blanks = false, undeclared = false;
  bool untakenName = false;  // by a declared name too long for the merge to take
  size_t index = 0;          // saturates at SIZE_MAX
  bool Canonical() const {
    return exactCase && !blanks && !undeclared && !untakenName &&
           (digits.size() == 1 || digits[0] != '0');
  }
};

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t k = 0; k < a.size(); ++k) {
    if (LowerAscii(a[k]) != LowerAscii(b[k])) return false;
  }
  return true;
}

// The references in text, in order; only those the merge replaces as written (exact
// letter case, no blanks) when canonicalOnly is set. `declared` is the header's own
// name besides DLG_TEXT, or empty.
std::vector<WrittenReference> FindWrittenReferences(std::string_view text,
                                                    std::string_view declared, bool canonicalOnly) {
  std::vector<WrittenReference> refs;
  const size_t n = text.size();
  const std::string_view names[] = {kReferenceName, declared};
  // Every reference has one "[": find those fast, then look back for the name.
  for (size_t open = text.find('['); open != std::string_view::npos;
       open = text.find('[', open + 1)) {
    WrittenReference ref;
    size_t p = open;
    while (p > 0 && IsBlank(text[p - 1])) --p;
    // DLG_TEXT first, as the merge takes it first; a name written exactly before one
    // written in another letter case.
    bool found = false;
    for (const bool exact : {true, false}) {
      for (std::string_view name : names) {
        if (found || name.empty() || p < name.size()) continue;
        const std::string_view written = text.substr(p - name.size(), name.size());
        if (exact ? written == name : EqualIgnoringCase(written, name)) {
          found = true;
          ref.pos = p - name.size();
          ref.name = name;
          ref.exactCase = exact;
          ref.untakenName = name != kReferenceName && name.size() > kMaxDeclaredNameLength;
        }
      }
    }
    if (!found && p == open) {
      size_t start = open;
      while (start > 0 && IsIdentifierChar(text[start - 1])) --start;
      const std::string_view written = text.substr(start, open - start);
      found = written.starts_with(kReferenceName);
      ref.pos = start;
      ref.name = written;
      ref.undeclared = true;
    }
    if (!found) continue;
    ref.blanks = p != open;
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
    ref.length = i + 1 - ref.pos;
    if (canonicalOnly && !ref.Canonical()) continue;
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

void CheckHeaderQuotes(std::string_view header, const HeaderQuotes& quotes, size_t textCount,
                       std::vector<ScriptFinding>& out) {
  LineCounter lines(header);
  auto add = [&](size_t pos, std::string message) {
    out.push_back({ScriptFinding::File::Header, lines.LineOf(pos), std::move(message)});
  };
  const std::vector<Quote>& stray = quotes.stray;
  for (size_t q = 0; q < stray.size();) {
    const QuoteRole role = stray[q].role;
    if (role == QuoteRole::DirectiveOpen) {
      add(stray[q].pos, "string in a preprocessor line; the merge counts its double quotes, " +
                            ShiftsFrom(stray[q].ordinal));
      ++q;
      continue;
    }
    // Stray quotes of one kind on one line (a quoted word in a comment) make one finding.
    const size_t line = lines.LineOf(stray[q].pos);
    size_t end = q + 1;
    while (end < stray.size() && stray[end].role == role && lines.LineOf(stray[end].pos) == line) {
      ++end;
    }
    const size_t count = end - q;
    std::string what = count == 1 ? "double quote" : std::to_string(count) + " double quotes";
    what += role == QuoteRole::InComment ? " in a comment" : " in a character literal";
    add(stray[q].pos, what + "; the merge counts " + (count == 1 ? "it" : "them") + ", " +
                          ShiftsFrom(stray[q].ordinal));
    q = end;
  }
  if (quotes.count % 2 == 1) {
    const std::string count = std::to_string(quotes.count);
    if (quotes.last + 1 < header.size()) {
      add(quotes.last, "odd number of double quotes (" + count + "); dialog text " +
                           std::to_string(textCount - 1) +
                           " runs from here to the end of the file");
    } else {
      add(quotes.last,
          "odd number of double quotes (" + count + "); the last one starts no dialog text");
    }
  }
}

// Lines that a version-control merge left behind.
void CheckConflictMarkers(std::string_view text, ScriptFinding::File file,
                          std::vector<ScriptFinding>& out) {
  size_t line = 1;
  for (size_t start = 0; start < text.size(); ++line) {
    const std::string_view rest = text.substr(start);
    for (std::string_view marker : {"<<<<<<<", "=======", ">>>>>>>"}) {
      if (rest.starts_with(marker)) {
        out.push_back({file, line,
                       "merge-conflict marker " + std::string(marker) +
                           "; the lines of both sides are taken as they are"});
      }
    }
    const size_t next = text.find("\r\n", start);
    if (next == std::string_view::npos) break;
    start = next + 2;
  }
}

bool IsUtf8BeyondAscii(std::string_view bytes) {
  return platform::IsValidUtf8(bytes) &&
         std::any_of(bytes.begin(), bytes.end(), [](char c) { return c & 0x80; });
}

// A code file and a header in different encodings give a merged file in neither.
void CheckEncodings(std::string_view code, std::string_view header,
                    std::vector<ScriptFinding>& headerFindings,
                    std::vector<ScriptFinding>& codeFindings) {
  auto lineOfFirstBeyondAscii = [](std::string_view t) {
    const auto at = std::find_if(t.begin(), t.end(), [](char c) { return c & 0x80; });
    return LineCounter(t).LineOf(static_cast<size_t>(at - t.begin()));
  };
  const char* const kNeither = "; the merged file would be in neither encoding";
  if (IsUtf8BeyondAscii(code) && !platform::IsValidUtf8(header)) {
    headerFindings.push_back(
        {ScriptFinding::File::Header, lineOfFirstBeyondAscii(header),
         std::string("not UTF-8 (a legacy code page), while the code file is UTF-8") + kNeither});
  } else if (IsUtf8BeyondAscii(header) && !platform::IsValidUtf8(code)) {
    codeFindings.push_back(
        {ScriptFinding::File::Code, lineOfFirstBeyondAscii(code),
         std::string("not UTF-8 (a legacy code page), while the header is UTF-8") + kNeither});
  }
}

// Reports the findings of two lists, each in line order, merged by line; at the same
// line those of `first` go first.
void ReportInLineOrder(std::vector<ScriptFinding>& first, std::vector<ScriptFinding>& second,
                       const std::function<void(const ScriptFinding&)>& report) {
  auto byLine = [](const ScriptFinding& a, const ScriptFinding& b) { return a.line < b.line; };
  std::stable_sort(first.begin(), first.end(), byLine);
  size_t a = 0, b = 0;
  while (a < first.size() || b < second.size()) {
    const bool takeFirst =
        b == second.size() || (a < first.size() && first[a].line <= second[b].line);
    report(takeFirst ? first[a++] : second[b++]);
  }
}

}  // namespace

size_t CheckDialogScript(std::string_view codeBytes, std::string_view headerBytes,
                         const std::function<void(const ScriptFinding&)>& report) {
  const std::string header = NormalizeLineBreaks(headerBytes);
  const std::string code = NormalizeLineBreaks(codeBytes);
  // Findings of a few kinds, in any order, to be merged with the two long runs that
  // come in line order by themselves: one per dialog text, one per code reference. So
  // a header of millions of texts never holds millions of findings at once.
  std::vector<ScriptFinding> headerFindings, codeFindings, run;

  if (headerBytes.find('\0') != std::string_view::npos) {
    headerFindings.push_back({ScriptFinding::File::Header,
                              LineCounter(header).LineOf(header.size()),
                              "NUL byte; the merge ignores everything from here to the end"});
  }
  if (codeBytes.find('\0') != std::string_view::npos) {
    codeFindings.push_back({ScriptFinding::File::Code, LineCounter(code).LineOf(code.size()),
                            "NUL byte; the merge ignores everything from here to the end"});
  }

  const HeaderQuotes quotes = ClassifyQuotes(header);
  // As the merge cuts them: the last text runs to the end when the count is odd.
  const size_t count =
      quotes.count / 2 + (quotes.count % 2 == 1 && quotes.last + 1 < header.size() ? 1 : 0);
  CheckHeaderQuotes(header, quotes, count, headerFindings);
  CheckConflictMarkers(header, ScriptFinding::File::Header, headerFindings);
  CheckConflictMarkers(code, ScriptFinding::File::Code, codeFindings);
  CheckEncodings(code, header, headerFindings, codeFindings);

  const std::optional<ArrayDeclaration> array = DeclaredArray(header);
  if (array && !array->sizeText.empty() && array->size != count) {
    const std::string declaredCount =
        array->size ? CountOfTexts(*array->size) : array->sizeText + " dialog texts";
    headerFindings.push_back({ScriptFinding::File::Header, LineCounter(header).LineOf(array->pos),
                              "the array is declared with " + declaredCount + ", the header has " +
                                  std::to_string(count)});
  }
  const std::string declared = ReferenceNameOf(header);
  const bool nameTaken = declared.size() <= kMaxDeclaredNameLength;
  std::string knownNames = std::string(kReferenceName) + "[n]";
  if (!declared.empty() && nameTaken) knownNames += " and " + declared + "[n]";
  if (!nameTaken) {
    headerFindings.push_back({ScriptFinding::File::Header, LineCounter(header).LineOf(array->pos),
                              "the declared name is " + std::to_string(declared.size()) +
                                  " characters long; the merge takes names of up to " +
                                  std::to_string(kMaxDeclaredNameLength) +
                                  " and leaves its references as they are"});
  }

  const std::vector<WrittenReference> codeRefs = FindWrittenReferences(code, declared, false);
  std::vector<bool> used(count, false);
  for (const WrittenReference& ref : codeRefs) {
    if (ref.Canonical() && ref.index < count) used[ref.index] = true;
  }

  // The texts in header order. A text that the merge inserts is searched by every later
  // pass: references to later texts in it are replaced, the others stay.
  LineCounter headerLines(header);
  size_t from = 0;
  for (size_t k = 0; k < count; ++k) {
    const size_t open = header.find('"', from);
    const size_t close = std::min(header.find('"', open + 1), header.size());
    const std::string_view text = std::string_view(header).substr(open + 1, close - open - 1);
    from = close + 1;
    if (!used[k]) {
      run.push_back({ScriptFinding::File::Header, headerLines.LineOf(open),
                     "dialog text " + std::to_string(k) + " is used by no reference"});
    }
    for (const WrittenReference& ref :
         used[k] ? FindWrittenReferences(text, declared, true) : std::vector<WrittenReference>()) {
      const size_t line = headerLines.LineOf(open + 1 + ref.pos);
      const std::string written(text.substr(ref.pos, ref.length));
      if (ref.index >= count) {
        run.push_back({ScriptFinding::File::Header, line,
                       written + " inside dialog text " + std::to_string(k) +
                           " has no dialog text and is left as it is; the header has " +
                           CountOfTexts(count)});
      } else if (ref.index < k || (ref.index == k && ref.name == kReferenceName)) {
        run.push_back({ScriptFinding::File::Header, line,
                       written + " inside dialog text " + std::to_string(k) +
                           " is left as it is; inside a text only references to later texts "
                           "are replaced"});
      } else {
        used[ref.index] = true;
      }
    }
    // Reported as it goes, but never ahead of a finding of the few that come first.
    if (run.size() >= 4096) {
      const size_t upTo = run.back().line;
      std::vector<ScriptFinding> ready;
      auto split = std::stable_partition(headerFindings.begin(), headerFindings.end(),
                                         [&](const ScriptFinding& f) { return f.line <= upTo; });
      ready.assign(std::make_move_iterator(headerFindings.begin()), std::make_move_iterator(split));
      headerFindings.erase(headerFindings.begin(), split);
      ReportInLineOrder(ready, run, report);
      run.clear();
    }
  }
  ReportInLineOrder(headerFindings, run, report);
  run.clear();

  LineCounter codeLines(code);
  for (const WrittenReference& ref : codeRefs) {
    if (ref.Canonical() && ref.index < count) continue;
    const std::string written(code.substr(ref.pos, ref.length));
    const size_t line = codeLines.LineOf(ref.pos);
    if (ref.untakenName) {
      run.push_back({ScriptFinding::File::Code, line,
                     written.substr(0, 40) + "...[" + std::string(ref.digits) +
                         "] is left as it is; its name, " + std::to_string(ref.name.size()) +
                         " characters long, is longer than the merge takes"});
    } else if (ref.undeclared) {
      run.push_back({ScriptFinding::File::Code, line,
                     written + " is left as it is; the header's texts are " + knownNames});
    } else if (!ref.Canonical()) {
      std::string why;
      auto reason = [&](const char* r) { why += (why.empty() ? "" : ", ") + std::string(r); };
      if (!ref.exactCase) reason(ref.name == kReferenceName ? "not in upper case" : "letter case");
      if (ref.blanks) reason("blanks");
      if (ref.digits.size() > 1 && ref.digits[0] == '0') reason("leading zero");
      run.push_back({ScriptFinding::File::Code, line,
                     written + " is left as it is (" + why + "); the merge replaces only " +
                         std::string(ref.name) + "[" + IndexWithoutLeadingZeros(ref.digits) + "]"});
    } else {
      run.push_back({ScriptFinding::File::Code, line,
                     written + " has no dialog text and is left as it is; the header has " +
                         CountOfTexts(count)});
    }
  }
  ReportInLineOrder(codeFindings, run, report);
  return count;
}

ScriptCheck CheckDialogScript(std::string_view codeBytes, std::string_view headerBytes) {
  ScriptCheck result;
  result.textCount = CheckDialogScript(
      codeBytes, headerBytes, [&](const ScriptFinding& f) { result.findings.push_back(f); });
  return result;
}
