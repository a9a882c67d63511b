#include "engine/finding_kinds.h"

namespace {

using K = FindingKind;
constexpr Severity kError = Severity::Error, kWarning = Severity::Warning;

const std::vector<FindingKindInfo> kKinds = {
    {K::NulByte, "nul-byte", kError, true, false,
     "A file holds a NUL byte; the merge ignores everything from it to the end.", "",
     "a.h:40:7: error: NUL byte; the merge ignores everything from here to the end [nul-byte]"},
    {K::OddQuotes, "odd-quotes", kError, true, false,
     "A header has an odd number of double quotes, so its last text runs to the end of the "
     "file or is lost.",
     "",
     "a.h:12:3: error: odd number of double quotes (25); dialog text 12 runs from here to the "
     "end of the file [odd-quotes]"},
    {K::StrayQuote, "stray-quote", kError, true, false,
     "A double quote in a comment, a character literal or a preprocessor line, which the "
     "merge counts and which shifts every later text.",
     "",
     "a.h:3:12: error: double quote in a comment; the merge counts it, which shifts dialog "
     "text 2 and every later one [stray-quote]"},
    {K::MissingText, "missing-text", kError, true, false,
     "A reference whose index has no dialog text, in the code or inside a text, left as it "
     "is.",
     "",
     "a.c:88:15: error: DLG_TEXT[41] has no dialog text and is left as it is; the header has "
     "41 dialog texts [missing-text]"},
    {K::UnmergedReference, "unmerged-reference", kError, true, false,
     "A reference the merge does not replace because of its letter case, blanks, a leading "
     "zero, or a declared name longer than the merge takes.",
     "",
     "a.c:7:9: error: dlg_text[3] is left as it is (not in upper case); the merge replaces "
     "only DLG_TEXT[3] [unmerged-reference]"},
    {K::UndeclaredName, "undeclared-name", kError, true, false,
     "A reference under a name beginning with DLG_TEXT that the header does not declare.", "",
     "a.c:5:11: error: DLG_TEXT_FT[1] is left as it is; the header's texts are DLG_TEXT[n] "
     "[undeclared-name]"},
    {K::NameTooLong, "name-too-long", kError, true, false,
     "A header declares its array under a name longer than the merge takes (1000 "
     "characters), so references by that name are left as they are; each such reference is "
     "an unmerged-reference.",
     "",
     "a.h:1:1: error: the declared name is 1001 characters long; the merge takes names of up "
     "to 1000 and leaves its references as they are [name-too-long]"},
    {K::InnerReference, "inner-reference", kError, true, false,
     "A reference inside a dialog text to the same or an earlier text, which the merge "
     "leaves as it is.",
     "",
     "a.h:9:20: error: DLG_TEXT[0] inside dialog text 4 is left as it is; inside a text only "
     "references to later texts are replaced [inner-reference]"},
    {K::UnusedText, "unused-text", kWarning, true, false, "A dialog text that no reference uses.",
     "", "a.h:2:1: warning: dialog text 1 is used by no reference [unused-text]"},
    {K::ArraySize, "array-size", kWarning, true, false,
     "The declared size of the header's array differs from the number of its texts.", "",
     "a.h:1:1: warning: the array is declared with 10 dialog texts, the header has 11 "
     "[array-size]"},
    {K::ConflictMarker, "conflict-marker", kError, true, false,
     "A line that a version-control merge left behind (<<<<<<<, =======, >>>>>>>).", "",
     "a.h:14:1: error: merge-conflict marker <<<<<<<; the lines of both sides are taken as "
     "they are [conflict-marker]"},
    {K::MixedEncoding, "mixed-encoding", kWarning, true, true,
     "A code file and its header in different encodings (one UTF-8 beyond ASCII, the other "
     "in a legacy code page), whose merged file would be in neither.",
     "merge with --encoding=utf-8 to convert the legacy files",
     "a.h:2:5: warning: not UTF-8 (a legacy code page), while the code file is UTF-8; the "
     "merged file would be in neither encoding; merge with --encoding=utf-8 to convert the legacy "
     "files [mixed-encoding]"},
    {K::BrokenUtf8, "broken-utf8", kError, true, false,
     "A file in UTF-8 but for a broken byte sequence, which the engine's later versions "
     "refuse.",
     "",
     "a.h:31:17: error: broken UTF-8 sequence (byte 0xE9) in a file that is otherwise UTF-8 "
     "[broken-utf8]"},
    {K::ShiftedTexts, "shifted-texts", kError, true, false,
     "A language's header has more or fewer texts than the first one and its texts look "
     "shifted from the one named on, as an inner double quote or a lost text shifts them.",
     "",
     "Italian/a.h:14:22: error: 42 dialog texts, English/a.h has 41; the texts look shifted "
     "from dialog text 12 on [shifted-texts]"},
    {K::TextCount, "text-count", kWarning, true, false,
     "A language's header has more or fewer texts than the first one, with no shift to be "
     "seen (texts added or lost at the end).",
     "", "French/a.h:1:1: warning: 9 dialog texts, English/a.h has 8 [text-count]"},
    {K::Tokens, "tokens", kError, true, false,
     "A translated text that does not carry the same run-time tokens (#sgender#) as the "
     "first language's text of the same index.",
     "", "French/a.h:7:1: error: dialog text 6 lacks #sgender#, which English/a.h has [tokens]"},
    {K::Untranslated, "untranslated", kWarning, false, false,
     "A translated text of three words or more identical to the first language's text; "
     "checked only when --only names it.",
     "", "French/a.h:9:1: warning: dialog text 8 is the same as in English/a.h [untranslated]"},
    {K::NoHeader, "no-header", kError, true, false,
     "A code file that refers to dialog texts but has no header.", "",
     "a.c:1:1: error: no header found (looked in: PROGRAM/DIALOGS, PROGRAM/DIALOGS/English) "
     "[no-header]"},
    {K::NoLanguageHeader, "no-language-header", kWarning, true, true,
     "A script that has no header in one of several header folders given.", "",
     "a.c:1:1: warning: no header in French [no-language-header]"},
};

}  // namespace

const std::vector<FindingKindInfo>& FindingKinds() {
  return kKinds;
}

const FindingKindInfo& InfoOf(FindingKind kind) {
  return kKinds[static_cast<size_t>(kind)];
}

std::optional<FindingKind> FindingKindNamed(std::string_view name) {
  for (const FindingKindInfo& info : kKinds) {
    if (info.name == name) return info.kind;
  }
  return std::nullopt;
}

std::string_view SeverityName(Severity severity) {
  return severity == Severity::Error ? "error" : "warning";
}

FindingKindSet FindingKindSet::All() {
  FindingKindSet set;
  set.bits_.set();
  return set;
}

FindingKindSet FindingKindSet::Defaults() {
  FindingKindSet set;
  for (const FindingKindInfo& info : kKinds) {
    if (info.onByDefault) set.Add(info.kind);
  }
  return set;
}
