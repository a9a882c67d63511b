// The findings about a header's double quotes and about whole files.
#include <algorithm>
#include <cstdio>

#include "engine/internal/file_checks.h"
#include "platform/encoding.h"

namespace {

std::string ShiftsFrom(size_t quoteOrdinal) {
  return "which shifts dialog text " + std::to_string(quoteOrdinal / 2) + " and every later one";
}

}  // namespace

Utf8Survey SurveyUtf8(std::string_view text) {
  Utf8Survey survey;
  const size_t n = text.size();
  for (size_t i = 0; i < n;) {
    if (!(text[i] & 0x80)) {  // ASCII, most of every file
      ++i;
      continue;
    }
    if (survey.sequences + survey.broken == 0) survey.firstBeyondAscii = i;
    if (const size_t length = platform::Utf8SequenceLength(text, i); length > 0) {
      ++survey.sequences;
      i += length;
    } else {
      if (survey.broken++ == 0) survey.firstBroken = i;
      ++i;
    }
  }
  return survey;
}

void CheckHeaderQuotes(std::string_view header, const HeaderQuotes& quotes, size_t textCount,
                       LineCounter& lines, std::vector<ScriptFinding>& out) {
  auto add = [&](FindingKind kind, size_t pos, std::string message) {
    const TextPosition at = lines.PositionOf(pos);
    out.push_back({ScriptFinding::File::Header, kind, at.line, at.column, std::move(message)});
  };
  const std::vector<Quote>& stray = quotes.stray;
  for (size_t q = 0; q < stray.size();) {
    const QuoteRole role = stray[q].role;
    if (role == QuoteRole::DirectiveOpen) {
      add(FindingKind::StrayQuote, stray[q].pos,
          "string in a preprocessor line; the merge counts its double quotes, " +
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
    add(FindingKind::StrayQuote, stray[q].pos,
        what + "; the merge counts " + (count == 1 ? "it" : "them") + ", " +
            ShiftsFrom(stray[q].ordinal));
    q = end;
  }
  if (quotes.count % 2 == 1) {
    const std::string count = std::to_string(quotes.count);
    if (quotes.last + 1 < header.size()) {
      add(FindingKind::OddQuotes, quotes.last,
          "odd number of double quotes (" + count + "); dialog text " +
              std::to_string(textCount - 1) + " runs from here to the end of the file");
    } else {
      add(FindingKind::OddQuotes, quotes.last,
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
        out.push_back({file, FindingKind::ConflictMarker, line, 1,
                       "merge-conflict marker " + std::string(marker) +
                           "; the lines of both sides are taken as they are"});
      }
    }
    const size_t next = text.find("\r\n", start);
    if (next == std::string_view::npos) break;
    start = next + 2;
  }
}

void CheckEncodings(std::string_view code, const Utf8Survey& codeSurvey, std::string_view header,
                    const Utf8Survey& headerSurvey, const FindingKindSet& checks,
                    std::vector<ScriptFinding>& headerFindings,
                    std::vector<ScriptFinding>& codeFindings) {
  auto add = [&](std::vector<ScriptFinding>& out, ScriptFinding::File file, FindingKind kind,
                 std::string_view text, bool utf8Columns, size_t pos, std::string message) {
    const TextPosition at = LineCounter(text, utf8Columns).PositionOf(pos);
    out.push_back({file, kind, at.line, at.column, std::move(message)});
  };
  // A code file and a header in different encodings give a merged file in neither. A
  // file in UTF-8 but for a broken sequence is meant as UTF-8: that is its finding.
  const char* const kNeither = "; the merged file would be in neither encoding";
  if (!checks.Has(FindingKind::MixedEncoding)) {
  } else if (codeSurvey.Valid() && codeSurvey.BeyondAscii() && !headerSurvey.Valid() &&
             !headerSurvey.BrokenUtf8()) {
    add(headerFindings, ScriptFinding::File::Header, FindingKind::MixedEncoding, header, false,
        headerSurvey.firstBeyondAscii,
        std::string("not UTF-8 (a legacy code page), while the code file is UTF-8") + kNeither);
  } else if (headerSurvey.Valid() && headerSurvey.BeyondAscii() && !codeSurvey.Valid() &&
             !codeSurvey.BrokenUtf8()) {
    add(codeFindings, ScriptFinding::File::Code, FindingKind::MixedEncoding, code, false,
        codeSurvey.firstBeyondAscii,
        std::string("not UTF-8 (a legacy code page), while the header is UTF-8") + kNeither);
  }
  if (!checks.Has(FindingKind::BrokenUtf8)) return;
  for (const bool inHeader : {true, false}) {
    const Utf8Survey& survey = inHeader ? headerSurvey : codeSurvey;
    if (!survey.BrokenUtf8()) continue;
    const std::string_view text = inHeader ? header : code;
    char byte[8];
    std::snprintf(byte, sizeof byte, "0x%02X",
                  static_cast<unsigned>(static_cast<unsigned char>(text[survey.firstBroken])));
    std::string message = std::string("broken UTF-8 sequence (byte ") + byte;
    if (survey.broken > 1) message += "; " + std::to_string(survey.broken) + " in all";
    message += ") in a file that is otherwise UTF-8";
    add(inHeader ? headerFindings : codeFindings,
        inHeader ? ScriptFinding::File::Header : ScriptFinding::File::Code, FindingKind::BrokenUtf8,
        text, true, survey.firstBroken, std::move(message));
  }
}
