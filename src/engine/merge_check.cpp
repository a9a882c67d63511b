// The check of a dialog script: the header's quotes as the merge and the script reader
// see them, the references the code and the texts hold, and the file-wide findings.
#include "engine/merge_check.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <limits>

#include "engine/header_quotes.h"
#include "engine/identifier.h"
#include "engine/internal/file_checks.h"
#include "engine/internal/written_references.h"
#include "engine/line_breaks.h"
#include "engine/merge.h"

namespace {

std::string CountOfTexts(size_t count) {
  return std::to_string(count) + (count == 1 ? " dialog text" : " dialog texts");
}

// The index the merge would need: the digits without leading zeros.
std::string IndexWithoutLeadingZeros(std::string_view digits) {
  const size_t first = digits.find_first_not_of('0');
  return first == std::string_view::npos ? "0" : std::string(digits.substr(first));
}

// Reports the findings of two lists, each in order of place, merged by place; at the
// same place those of `first` go first.
void ReportInLineOrder(std::vector<ScriptFinding>& first, std::vector<ScriptFinding>& second,
                       const std::function<void(const ScriptFinding&)>& report) {
  auto before = [](const ScriptFinding& a, const ScriptFinding& b) {
    return a.line < b.line || (a.line == b.line && a.column < b.column);
  };
  std::stable_sort(first.begin(), first.end(), before);
  size_t a = 0, b = 0;
  while (a < first.size() || b < second.size()) {
    const bool takeFirst = b == second.size() || (a < first.size() && !before(second[b], first[a]));
    report(takeFirst ? first[a++] : second[b++]);
  }
}

}  // namespace

size_t CheckDialogScript(std::string_view codeBytes, std::string_view headerBytes,
                         const std::function<void(const ScriptFinding&)>& reportAll,
                         const FindingKindSet& checks) {
  auto report = [&](const ScriptFinding& f) {
    if (checks.Has(f.kind)) reportAll(f);
  };
  const std::string header = NormalizeLineBreaks(headerBytes);
  const std::string code = NormalizeLineBreaks(codeBytes);
  const Utf8Survey headerSurvey = SurveyUtf8(header), codeSurvey = SurveyUtf8(code);
  // Findings of a few kinds, in any order, to be merged with the two long runs that
  // come in line order by themselves: one per dialog text, one per code reference. So
  // a header of millions of texts never holds millions of findings at once.
  std::vector<ScriptFinding> headerFindings, codeFindings, run;
  LineCounter headerLines(header, headerSurvey.Utf8Columns());
  LineCounter codeLines(code, codeSurvey.Utf8Columns());
  auto add = [](std::vector<ScriptFinding>& out, ScriptFinding::File file, FindingKind kind,
                LineCounter& lines, size_t pos, std::string message) {
    const TextPosition at = lines.PositionOf(pos);
    out.push_back({file, kind, at.line, at.column, std::move(message)});
  };
  constexpr auto kHeader = ScriptFinding::File::Header, kCode = ScriptFinding::File::Code;

  const char* const kNul = "NUL byte; the merge ignores everything from here to the end";
  if (headerBytes.find('\0') != std::string_view::npos) {
    add(headerFindings, kHeader, FindingKind::NulByte, headerLines, header.size(), kNul);
  }
  if (codeBytes.find('\0') != std::string_view::npos) {
    add(codeFindings, kCode, FindingKind::NulByte, codeLines, code.size(), kNul);
  }

  const HeaderQuotes quotes = ClassifyQuotes(header);
  // As the merge cuts them: the last text runs to the end when the count is odd.
  const size_t count =
      quotes.count / 2 + (quotes.count % 2 == 1 && quotes.last + 1 < header.size() ? 1 : 0);
  CheckHeaderQuotes(header, quotes, count, headerLines, headerFindings);
  CheckConflictMarkers(header, kHeader, headerFindings);
  CheckConflictMarkers(code, kCode, codeFindings);
  CheckEncodings(code, codeSurvey, header, headerSurvey, checks, headerFindings, codeFindings);

  const std::optional<ArrayDeclaration> array = DeclaredArray(header);
  if (array && !array->sizeText.empty() && array->size != count) {
    const std::string declaredCount =
        array->size ? CountOfTexts(*array->size) : array->sizeText + " dialog texts";
    add(headerFindings, kHeader, FindingKind::ArraySize, headerLines, array->pos,
        "the array is declared with " + declaredCount + ", the header has " +
            std::to_string(count));
  }
  const std::string declared = ReferenceNameOf(header);
  const bool nameTaken = declared.size() <= kMaxDeclaredNameLength;
  std::string knownNames = std::string(kReferenceName) + "[n]";
  if (!declared.empty() && nameTaken) knownNames += " and " + declared + "[n]";
  if (!nameTaken) {
    add(headerFindings, kHeader, FindingKind::NameTooLong, headerLines, array->pos,
        "the declared name is " + std::to_string(declared.size()) +
            " characters long; the merge takes names of up to " +
            std::to_string(kMaxDeclaredNameLength) + " and leaves its references as they are");
  }

  const std::vector<WrittenReference> codeRefs = FindWrittenReferences(code, declared, false);
  std::vector<bool> used(count, false);
  for (const WrittenReference& ref : codeRefs) {
    if (ref.Canonical() && ref.index < count) used[ref.index] = true;
  }

  // The texts in header order. A text that the merge inserts is searched by every later
  // pass: references to later texts in it are replaced, the others stay.
  size_t from = 0;
  for (size_t k = 0; k < count; ++k) {
    const size_t open = header.find('"', from);
    const size_t close = std::min(header.find('"', open + 1), header.size());
    const std::string_view text = std::string_view(header).substr(open + 1, close - open - 1);
    from = close + 1;
    if (!used[k]) {
      add(run, kHeader, FindingKind::UnusedText, headerLines, open,
          "dialog text " + std::to_string(k) + " is used by no reference");
    }
    for (const WrittenReference& ref :
         used[k] ? FindWrittenReferences(text, declared, true) : std::vector<WrittenReference>()) {
      const size_t pos = open + 1 + ref.pos;
      const std::string written(text.substr(ref.pos, ref.length));
      if (ref.index >= count) {
        add(run, kHeader, FindingKind::MissingText, headerLines, pos,
            written + " inside dialog text " + std::to_string(k) +
                " has no dialog text and is left as it is; the header has " + CountOfTexts(count));
      } else if (ref.index < k || (ref.index == k && ref.name == kReferenceName)) {
        add(run, kHeader, FindingKind::InnerReference, headerLines, pos,
            written + " inside dialog text " + std::to_string(k) +
                " is left as it is; inside a text only references to later texts are replaced");
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

  for (const WrittenReference& ref : codeRefs) {
    if (ref.Canonical() && ref.index < count) continue;
    const std::string written(code.substr(ref.pos, ref.length));
    if (ref.untakenName) {
      add(run, kCode, FindingKind::UnmergedReference, codeLines, ref.pos,
          written.substr(0, 40) + "...[" + std::string(ref.digits) +
              "] is left as it is; its name, " + std::to_string(ref.name.size()) +
              " characters long, is longer than the merge takes");
    } else if (ref.undeclared) {
      add(run, kCode, FindingKind::UndeclaredName, codeLines, ref.pos,
          written + " is left as it is; the header's texts are " + knownNames);
    } else if (!ref.Canonical()) {
      std::string why;
      auto reason = [&](const char* r) { why += (why.empty() ? "" : ", ") + std::string(r); };
      if (!ref.exactCase) reason(ref.name == kReferenceName ? "not in upper case" : "letter case");
      if (ref.blanks) reason("blanks");
      if (ref.digits.size() > 1 && ref.digits[0] == '0') reason("leading zero");
      add(run, kCode, FindingKind::UnmergedReference, codeLines, ref.pos,
          written + " is left as it is (" + why + "); the merge replaces only " +
              std::string(ref.name) + "[" + IndexWithoutLeadingZeros(ref.digits) + "]");
    } else {
      add(run, kCode, FindingKind::MissingText, codeLines, ref.pos,
          written + " has no dialog text and is left as it is; the header has " +
              CountOfTexts(count));
    }
  }
  ReportInLineOrder(codeFindings, run, report);
  return count;
}

ScriptCheck CheckDialogScript(std::string_view codeBytes, std::string_view headerBytes,
                              const FindingKindSet& checks) {
  ScriptCheck result;
  result.textCount = CheckDialogScript(
      codeBytes, headerBytes, [&](const ScriptFinding& f) { result.findings.push_back(f); },
      checks);
  return result;
}
