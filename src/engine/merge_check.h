// The check of a dialog script: the places where the merge does something its author
// most likely did not mean and passes over it in silence (references that stay as they
// are, texts nobody uses, double quotes that shift every later text).
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/finding_kinds.h"

struct ScriptFinding {
  enum class File { Header, Code };
  File file = File::Code;
  FindingKind kind = FindingKind::NulByte;
  // From 1, counted in the text as a pane holds it; the column in characters (UTF-8
  // sequences in a UTF-8 file); 1:1 where the whole file is meant.
  size_t line = 1, column = 1;
  std::string message;
};

struct ScriptCheck {
  size_t textCount = 0;  // the dialog texts the merge takes from the header
  // Header findings first, then code findings, each in line order.
  std::vector<ScriptFinding> findings;
};

// Checks the bytes of a code file and its header file as the merge would take them
// (line breaks made CR LF, cut at the first NUL). Finds:
//  - bytes after a NUL, which the merge never sees;
//  - a header with an odd number of double quotes;
//  - double quotes that the script reader sees outside the string literals that form
//    the list (in a comment, a character literal or a preprocessor line), each of
//    which shifts every later text;
//  - references whose index has no dialog text, in the code or inside a text that the
//    merge inserts;
//  - references the merge does not recognise: letter case, blanks, a leading zero, a
//    name beginning with DLG_TEXT that the header does not declare;
//  - dialog texts that no reference uses;
//  - a declared array size that differs from the number of texts;
//  - merge-conflict markers;
//  - a code file and a header in different encodings (one UTF-8 with characters
//    beyond ASCII, the other not UTF-8), whose merged file would be neither;
//  - a file in UTF-8 but for broken sequences: the first one.
// Only the kinds in `checks` are looked for and reported.
ScriptCheck CheckDialogScript(std::string_view codeBytes, std::string_view headerBytes,
                              const FindingKindSet& checks = FindingKindSet::All());
// The same, each finding handed to report as soon as it is known in its order; returns
// the number of texts. Holds only a few findings at a time, however many there are.
size_t CheckDialogScript(std::string_view codeBytes, std::string_view headerBytes,
                         const std::function<void(const ScriptFinding&)>& report,
                         const FindingKindSet& checks = FindingKindSet::All());

// Compares two languages' headers of one script (their bytes) when their text counts
// differ: a finding on header b that names header a and both counts and, where it can
// be told, the first text from which the two languages' texts look shifted.
// Kind ShiftedTexts when the shift is found, else TextCount.
std::optional<ScriptFinding> CompareTranslations(std::string_view aBytes, std::string_view aName,
                                                 std::string_view bBytes);

// Compares a translation (header b) with the reference language's header a of the same
// script, text by text, when both have the same number of texts: a text whose run-time
// tokens (#sgender#) differ from those of a's text of the same index (Tokens), and, of
// three words or more, one identical to it (Untranslated). Only the kinds in `checks`.
void CompareTranslatedTexts(std::string_view aBytes, std::string_view aName,
                            std::string_view bBytes, const FindingKindSet& checks,
                            const std::function<void(const ScriptFinding&)>& report);
