// The check of a dialog script: each kind of problem the merge passes over in silence,
// on small headers and codes made for it, with the line it is reported on.
#include "engine/merge_check.h"

#include <gtest/gtest.h>

#include "engine/identifier.h"

namespace {

// "h3: message" for a header finding on line 3, "c1: ..." for the code.
std::vector<std::string> Findings(std::string_view code, std::string_view header) {
  std::vector<std::string> out;
  for (const ScriptFinding& f : CheckDialogScript(code, header).findings) {
    out.push_back((f.file == ScriptFinding::File::Header ? "h" : "c") + std::to_string(f.line) +
                  ": " + f.message);
  }
  return out;
}

using Lines = std::vector<std::string>;

TEST(CheckDialogScript, FindsEachKindOfProblem) {
  const struct {
    const char* what;
    std::string code, header;
    Lines expected;
  } cases[] = {
      {"a clean script, quotes-free comments and apostrophes in literals",
       "Say(DLG_TEXT[1]);\nSay(DLG_TEXT[0]);",
       "// texts\nstring DLG_TEXT[2] = {\n\"Don't\", /* no */\n\"No\\\\\"\n};\n",
       {}},
      {"unused text, reference without text",
       "DLG_TEXT[0]\nDLG_TEXT[2] DLG_TEXT[3]",
       "\"a\"\n\"b\"\n\"c\"",
       {"h2: dialog text 1 is used by no reference",
        "c2: DLG_TEXT[3] has no dialog text and is left as it is; the header has 3 dialog "
        "texts"}},
      {"odd number of quotes",
       "DLG_TEXT[0] DLG_TEXT[1]",
       "\"a\",\n\"b",
       {"h2: odd number of double quotes (3); dialog text 1 runs from here to the end of the "
        "file"}},
      {"odd number of quotes, nothing behind the last",
       "DLG_TEXT[0]",
       "\"a\" \"",
       {"h1: odd number of double quotes (3); the last one starts no dialog text"}},
      {"quoted word in a line comment",
       "DLG_TEXT[0] DLG_TEXT[1]",
       "\"a\", // the \"b\" text\n\"b\"",
       {"h1: 2 double quotes in a comment; the merge counts them, which shifts dialog text 1 "
        "and every later one",
        "h2: dialog text 2 is used by no reference"}},
      {"block comment over two lines, spliced line comment",
       "DLG_TEXT[0] DLG_TEXT[1]",
       "/* one \"\n*/ // two \\\n\"\n\"a\"",
       {"h1: double quote in a comment; the merge counts it, which shifts dialog text 0 and "
        "every later one",
        "h3: double quote in a comment; the merge counts it, which shifts dialog text 0 and "
        "every later one"}},
      {"a backslash is an ordinary character, as the script reader takes it",
       "DLG_TEXT[0] DLG_TEXT[1] DLG_TEXT[2]",
       "\"\\\", \"C:\\x\\\",\n\"say \\\"",
       {}},
      {"character literal, then the odd count",
       "DLG_TEXT[0]",
       "char q = '\"';\n\"a\"",
       {"h1: double quote in a character literal; the merge counts it, which shifts dialog "
        "text 0 and every later one",
        "h2: odd number of double quotes (3); the last one starts no dialog text"}},
      {"preprocessor line",
       "DLG_TEXT[0] DLG_TEXT[1]",
       "  #include \"base.h\"\n\"a\"",
       {"h1: string in a preprocessor line; the merge counts its double quotes, which shifts "
        "dialog text 0 and every later one"}},
      {"references the merge does not recognise",
       "dlg_text[0] DLG_TEXT[ 0 ]\nDLG_TEXT[00] Dlg_Text [01] DLG_TEXT[i] xDLG_TEXT[0]",
       "\"a\"",
       {"c1: dlg_text[0] is left as it is (not in upper case); the merge replaces only "
        "DLG_TEXT[0]",
        "c1: DLG_TEXT[ 0 ] is left as it is (blanks); the merge replaces only DLG_TEXT[0]",
        "c2: DLG_TEXT[00] is left as it is (leading zero); the merge replaces only DLG_TEXT[0]",
        "c2: Dlg_Text [01] is left as it is (not in upper case, blanks, leading zero); the "
        "merge replaces only DLG_TEXT[1]"}},
      {"references inside inserted texts",
       "DLG_TEXT[0]",
       "\"<DLG_TEXT[1]>\"\n\"<DLG_TEXT[0]><DLG_TEXT[3]>\" \"<DLG_TEXT[9]>\"",
       {"h2: DLG_TEXT[0] inside dialog text 1 is left as it is; inside a text only references "
        "to later texts are replaced",
        "h2: DLG_TEXT[3] inside dialog text 1 has no dialog text and is left as it is; the "
        "header has 3 dialog texts",
        "h2: dialog text 2 is used by no reference"}},
      {"NUL bytes",
       std::string("DLG_TEXT[0]\n\0DLG_TEXT[1]", 24),
       std::string("\"a\"\r\r\0\"b\"", 9),
       {"h3: NUL byte; the merge ignores everything from here to the end",
        "c2: NUL byte; the merge ignores everything from here to the end"}},
      {"declared names: their own references, letter case, names the header does not declare",
       "DLG_TEXT_Q[0] dlg_text_q[1]\nDLG_TEXT_FT[1] DLG_TEXT[1]",
       "string DLG_TEXT_Q [2] = {\n\"a\", \"b\"};",
       {"c1: dlg_text_q[1] is left as it is (letter case); the merge replaces only DLG_TEXT_Q[1]",
        "c2: DLG_TEXT_FT[1] is left as it is; the header's texts are DLG_TEXT[n] and "
        "DLG_TEXT_Q[n]"}},
      {"declared size, conflict markers",
       "DLG_TEXT[0] DLG_TEXT[1]\n=======\n",
       "string DLG_TEXT[3] = {\n<<<<<<< HEAD\n\"a\",\n>>>>>>> other\n\"b\"};",
       {"h1: the array is declared with 3 dialog texts, the header has 2",
        "h2: merge-conflict marker <<<<<<<; the lines of both sides are taken as they are",
        "h4: merge-conflict marker >>>>>>>; the lines of both sides are taken as they are",
        "c2: merge-conflict marker =======; the lines of both sides are taken as they are"}},
      {"a UTF-8 code file with a legacy header",
       "// caf\xC3\xA9\nDLG_TEXT[0]",
       "\n\"caf\xE9\"",
       {"h2: not UTF-8 (a legacy code page), while the code file is UTF-8; the merged file would "
        "be in neither encoding"}},
      {"lines counted as a pane counts them",
       "",
       "\r\n\n\r\"a\"",
       {"h4: dialog text 0 is used by no reference"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Findings(c.code, c.header), c.expected);
  }
}

TEST(CompareTranslations, NamesTheCountsAndWhereTheTextsShift) {
  auto header = [](std::vector<std::string> texts) {
    std::string h = "string DLG_TEXT[1] = {\n";
    for (const std::string& t : texts) h += "\"" + t + "\",\n";
    return h + "};";
  };
  const std::string english =
      header({"Hi!", "Why?", "A ship.", "Sail 3 days.", "No!", "Run...", "Yes.", "Go!"});
  const struct {
    const char* what;
    std::string other;
    std::string message;  // "" for no finding
  } cases[] = {
      {"same count: never shifted, whatever the words",
       header({"a", "b", "c", "d", "e", "f", "g", "h"}), ""},
      {"one lost in the middle",
       header({"Salut!", "Pourquoi?", "3 jours.", "Non!", "Cours...", "Oui.", "Va!"}),
       "4: 7 dialog texts, en.h has 8; the texts look shifted from dialog text 2 on"},
      {"one added at the end shifts nothing",
       header({"Salut!", "Pourquoi?", "Un bateau.", "3 jours.", "Non!", "Cours...", "Oui.", "Va!",
               "Extra."}),
       "1: 9 dialog texts, en.h has 8"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::optional<ScriptFinding> f = CompareTranslations(english, "en.h", c.other);
    EXPECT_EQ(f ? std::to_string(f->line) + ": " + f->message : "", c.message);
  }
}

TEST(CheckDialogScript, ReportsDeclarationsAtTheirLimits) {
  const std::string longName(kMaxDeclaredNameLength + 1, 'A');
  const struct {
    const char* what;
    std::string code, header;
    Lines expected;
  } cases[] = {
      {"a name the merge does not take",
       "Say(" + longName + "[0]);",
       "string " + longName + " [1] = {\n\"Hello\"};",
       {"h1: the declared name is 1001 characters long; the merge takes names of up to 1000 "
        "and leaves its references as they are",
        "h2: dialog text 0 is used by no reference",
        "c1: " + longName.substr(0, 40) +
            "...[0] is left as it is; its name, 1001 characters long, is longer than the merge "
            "takes"}},
      {"a name at the limit",
       "Say(" + longName.substr(1) + "[0]);",
       "string " + longName.substr(1) + " [1] = {\"Hello\"};",
       {}},
      {"a size of 20 digits declares the name",
       "Say(DLG_TEXT_FT[0]);",
       "string DLG_TEXT_FT [99999999999999999999] = {\"Hello\"};",
       {"h1: the array is declared with 99999999999999999999 dialog texts, the header has 1"}},
      {"a declaration over three lines",
       "Say(DLG_TEXT_FT[0]);",
       "string\nDLG_TEXT_FT\n[1] = {\"Hello\"};",
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Findings(c.code, c.header), c.expected);
  }
}

TEST(CheckDialogScript, CountsTheTextsTheMergeTakes) {
  EXPECT_EQ(CheckDialogScript("", "\"a\" \"b\" \"c").textCount, 3u);
  EXPECT_EQ(CheckDialogScript("", "no quotes").textCount, 0u);
}

}  // namespace

namespace {

// "h2:5 unused-text" for each finding: file, line, column and the kind's name.
std::vector<std::string> Places(std::string_view code, std::string_view header,
                                const FindingKindSet& checks = FindingKindSet::All()) {
  std::vector<std::string> out;
  for (const ScriptFinding& f : CheckDialogScript(code, header, checks).findings) {
    out.push_back((f.file == ScriptFinding::File::Header ? "h" : "c") + std::to_string(f.line) +
                  ":" + std::to_string(f.column) + " " + std::string(InfoOf(f.kind).name));
  }
  return out;
}

TEST(CheckDialogScript, NamesTheKindAndColumnOfEachFinding) {
  const struct {
    const char* what;
    std::string code, header;
    Lines expected;
  } cases[] = {
      {"texts at their opening quote, references where they begin, in place order",
       "  x = DLG_TEXT[0];\n\tdlg_text[1] DLG_TEXT[ 2]\nDLG_TEXT[7] DLG_TEXT_Q[0]",
       "string DLG_TEXT[5] = {\n  \"a\", \"b\", // \"q\"\n\"c\"};",
       {"h1:1 array-size", "h2:8 unused-text", "h2:16 stray-quote", "h2:16 unused-text",
        "h3:1 unused-text", "c2:2 unmerged-reference", "c2:14 unmerged-reference",
        "c3:1 missing-text", "c3:13 undeclared-name"}},
      {"columns count UTF-8 characters in a UTF-8 file, bytes in any other",
       "",
       "\"\xC3\xA9\xC3\xA9\", \"b\"",
       {"h1:1 unused-text", "h1:7 unused-text"}},
      {"", "", "\"\xE9\xE9\", \"b\"", {"h1:1 unused-text", "h1:7 unused-text"}},
      {"references inside a text, an odd count, a NUL",
       "DLG_TEXT[0]",
       std::string("\"x DLG_TEXT[0] DLG_TEXT[9]\" \"", 30) + std::string("\0", 1),
       {"h1:4 inner-reference", "h1:16 missing-text", "h1:29 odd-quotes", "h1:30 nul-byte"}},
      {"", std::string("a\0b", 3), "", {"c1:2 nul-byte"}},
      {"conflict markers and a legacy header for a UTF-8 code file at the first such byte",
       "// \xC3\xA9\n",
       "=======\nab\xE9",
       {"h1:1 conflict-marker", "h2:3 mixed-encoding"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Places(c.code, c.header), c.expected);
  }
}

TEST(CheckDialogScript, FindsBrokenUtf8AtItsFirstSequence) {
  const std::string utf8 = "\xC3\xA9t\xC3\xA9 \xD0\xB4\xD0\xB0";  // été да
  const struct {
    const char* what;
    std::string header;
    Lines expected;
  } cases[] = {
      {"UTF-8 throughout", "\"" + utf8 + "\"", {}},
      {"one broken byte after good sequences",
       "\"" + utf8 + "\"\n\"ab\xE9z\"",
       {"h2:4 broken-utf8"}},
      {"a sequence cut short", "\"" + utf8 + " \xD0\"", {"h1:9 broken-utf8"}},
      {"a legacy code page: its bytes are no UTF-8 at all, so not broken UTF-8",
       "\"caf\xE9 \xE0 l'\xE9t\xE9\"",
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FindingKindSet onlyBroken;
    onlyBroken.Add(FindingKind::BrokenUtf8);
    EXPECT_EQ(Places("DLG_TEXT[0] DLG_TEXT[1]", c.header, onlyBroken), c.expected);
  }
  // The broken file is meant as UTF-8: no encoding finding besides, and the message
  // names the byte and how many there are.
  const ScriptCheck check =
      CheckDialogScript("// \xC3\xA9\nDLG_TEXT[0]", "\"" + utf8 + "\xE9\xFF\"");
  ASSERT_EQ(check.findings.size(), 1u);
  EXPECT_EQ(check.findings[0].message,
            "broken UTF-8 sequence (byte 0xE9; 2 in all) in a file that is otherwise UTF-8");
  // A check left out is not made.
  FindingKindSet none;
  EXPECT_TRUE(CheckDialogScript("DLG_TEXT[3]", "\"" + utf8 + "\xE9\"", none).findings.empty());
}

TEST(FindingKinds, OneRowPerKindWithAStableName) {
  const std::vector<FindingKindInfo>& kinds = FindingKinds();
  ASSERT_EQ(kinds.size(), kFindingKindCount);
  for (size_t k = 0; k < kinds.size(); ++k) {
    SCOPED_TRACE(std::string(kinds[k].name));
    EXPECT_EQ(static_cast<size_t>(kinds[k].kind), k);
    EXPECT_EQ(kinds[k].name.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789-"),
              std::string_view::npos);
    EXPECT_EQ(FindingKindNamed(kinds[k].name), kinds[k].kind);
    EXPECT_TRUE(kinds[k].description.ends_with("."));
    EXPECT_TRUE(kinds[k].example.ends_with("[" + std::string(kinds[k].name) + "]"));
  }
  EXPECT_FALSE(FindingKindNamed("unused"));
  EXPECT_FALSE(FindingKindSet::Defaults().Has(FindingKind::Untranslated));
  EXPECT_TRUE(FindingKindSet::Defaults().Has(FindingKind::Tokens));
}

}  // namespace
