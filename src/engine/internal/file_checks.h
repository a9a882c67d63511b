// The findings of a check that concern a header's double quotes or a whole file: stray
// quotes and an odd count, conflict markers, the encodings of the pair and broken UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/header_quotes.h"
#include "engine/merge_check.h"

// How much of a file reads as UTF-8.
struct Utf8Survey {
  size_t sequences = 0;  // well-formed sequences beyond ASCII
  size_t broken = 0;     // bytes that begin no well-formed sequence
  size_t firstBroken = 0, firstBeyondAscii = 0;
  bool Valid() const { return broken == 0; }
  bool BeyondAscii() const { return sequences + broken > 0; }
  // UTF-8 but for a few broken sequences, rather than a legacy code page: at least
  // twice as many good sequences as bad bytes.
  bool BrokenUtf8() const { return broken > 0 && sequences >= 2 * broken; }
  bool Utf8Columns() const { return Valid() || BrokenUtf8(); }
};
Utf8Survey SurveyUtf8(std::string_view text);

void CheckHeaderQuotes(std::string_view header, const HeaderQuotes& quotes, size_t textCount,
                       LineCounter& lines, std::vector<ScriptFinding>& out);
void CheckConflictMarkers(std::string_view text, ScriptFinding::File file,
                          std::vector<ScriptFinding>& out);
// A code file and a header in different encodings, and a file in UTF-8 but for broken
// sequences; each finding goes to the list of its file.
void CheckEncodings(std::string_view code, const Utf8Survey& codeSurvey, std::string_view header,
                    const Utf8Survey& headerSurvey, const FindingKindSet& checks,
                    std::vector<ScriptFinding>& headerFindings,
                    std::vector<ScriptFinding>& codeFindings);
