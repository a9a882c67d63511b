// The merge: cutting the header into dialog texts, replacing references in the code,
// the merge command's log lines, and hostile input that would grow without bound.
#include "main/merge.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <vector>

#include "_4str32/exceptions.h"
#include "fakes/core_harness.h"

namespace {

using Texts = std::vector<std::string>;

TEST(DialogTexts, EveryDoubleQuoteCountsWhereverItStands) {
  const struct {
    const char* what;
    std::string header;
    Texts texts;
  } cases[] = {
      {"two literals", "\"Yes\", \"No\"\r\n", {"Yes", "No"}},
      {"empty header", "", {}},
      {"no double quote", "string DLG_TEXT[2] = {};\r\n", {}},
      {"adjacent quotes: an empty text", "x = {\"\", \"B\"};", {"", "B"}},
      {"escaped quotes split a literal", "{\"a\\\"b\\\"c\", \"D\"}", {"a\\", "c", "D"}},
      {"a pair in a comment adds a text", "/* \"x\" */ \"A\", \"B\"", {"x", "A", "B"}},
      {"a single quote swaps the roles", "// it\"s\r\n\"A\", \"B\"\r\n", {"s\r\n", ", ", "\r\n"}},
      {"odd count: the rest is the last text", "\"A\" \"tail\r\nmore", {"A", "tail\r\nmore"}},
      {"odd count, nothing behind the last quote", "\"A\" \"", {"A"}},
      {"a literal over two lines", "{\"one\r\ntwo\"}", {"one\r\ntwo"}},
      {"the same text twice", "\"A\"\"A\"", {"A", "A"}},
      {"backslashes and bytes verbatim", "\"\\n\\t\xE4\x01\"", {"\\n\\t\xE4\x01"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(DialogTexts(c.header), c.texts);
  }
}

TEST(MergeTexts, ReplacesExactlyTheReferencesThatHaveAText) {
  const Texts yesNo{"Yes", "No"};
  Texts eleven;
  for (int i = 0; i <= 10; ++i) eleven.push_back("t" + std::to_string(i));
  const struct {
    const char* what;
    std::string code;
    Texts texts;
    std::string merged;
  } cases[] = {
      {"yes and no", "Say(DLG_TEXT[1]); Say(DLG_TEXT[0]);", yesNo, "Say(\"No\"); Say(\"Yes\");"},
      {"no texts: code unchanged", "a DLG_TEXT[0] b\r\n", {}, "a DLG_TEXT[0] b\r\n"},
      {"empty code", "", yesNo, ""},
      {"empty text", "[DLG_TEXT[0]]", {""}, "[\"\"]"},
      {"1 and 10 independent", "DLG_TEXT[10],DLG_TEXT[1]", eleven, "\"t10\",\"t1\""},
      {"not references", "DLG_TEXT[01] DLG_TEXT[ 1] dlg_text[1] DLG_TEXT[1 ] DLG_TEXT[]", yesNo,
       "DLG_TEXT[01] DLG_TEXT[ 1] dlg_text[1] DLG_TEXT[1 ] DLG_TEXT[]"},
      {"index without a text", "DLG_TEXT[2] DLG_TEXT[1", yesNo, "DLG_TEXT[2] DLG_TEXT[1"},
      {"index too long for any integer",
       "DLG_TEXT[18446744073709551616] DLG_TEXT[18446744073709551617]", yesNo,
       "DLG_TEXT[18446744073709551616] DLG_TEXT[18446744073709551617]"},
      {"tail of an identifier", "myDLG_TEXT[0]", yesNo, "my\"Yes\""},
      {"adjacent references", "DLG_TEXT[0]DLG_TEXT[0]", yesNo, "\"Yes\"\"Yes\""},
      {"a text refers to a higher one, its own and a lower one",
       "DLG_TEXT[0]",
       {"a DLG_TEXT[1] DLG_TEXT[0]", "b DLG_TEXT[2] DLG_TEXT[1] DLG_TEXT[0]", "c"},
       "\"a \"b \"c\" DLG_TEXT[1] DLG_TEXT[0]\" DLG_TEXT[0]\""},
      {"an inserted text does not join its neighbours",
       "DLG_TEXT[DLG_TEXT[0]]",
       {"1"},
       "DLG_TEXT[\"1\"]"},
      {"a shared text expanded in several places",
       "DLG_TEXT[0]|DLG_TEXT[1]|DLG_TEXT[2]",
       {"<DLG_TEXT[2]>", "(DLG_TEXT[2]DLG_TEXT[2])", "z\r\nDLG_TEXT[3]"},
       "\"<\"z\r\nDLG_TEXT[3]\">\"|\"(\"z\r\nDLG_TEXT[3]\"\"z\r\nDLG_TEXT[3]\")\"|\"z\r\nDLG_TEXT["
       "3]\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(MergeTexts(c.code, c.texts), c.merged);
    EXPECT_EQ(MergedLength(c.code, c.texts), c.merged.size());
  }
}

TEST(DeclaredArray, TheLastDeclarationBeforeTheFirstQuote) {
  const struct {
    const char* header;
    const char* name;  // "" when none is declared
    std::optional<size_t> size;
  } cases[] = {
      {"string DLG_TEXT_FT [10] = {\r\n\"a\",", "DLG_TEXT_FT", 10},
      {"string\tDLG_TEXT_Q[ 3 ] = {", "DLG_TEXT_Q", 3},
      {"string DLG_TEXT[2] = {", "DLG_TEXT", 2},
      {"string Q[] = {", "Q", std::nullopt},
      {"// string OLD[1]\r\nstring NEW[2] = {\"", "NEW", 2},
      {"\"text\" string LATE[1]", "", std::nullopt},  // after the first quote
      {"mystring X[1]", "", std::nullopt},
      {"string 9X[1]", "", std::nullopt},
      {"string X", "", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.header);
    const std::optional<ArrayDeclaration> array = DeclaredArray(c.header);
    EXPECT_EQ(array ? array->name : "", c.name);
    if (array) {
      EXPECT_EQ(array->size, c.size);
    }
  }
  EXPECT_EQ(ReferenceNameOf("string DLG_TEXT[2] = {"), "");
  EXPECT_EQ(ReferenceNameOf("string DLG_TEXT_B [2] = {"), "DLG_TEXT_B");
}

TEST(MergeTexts, DeclaredNamesReferToTheTextsToo) {
  const Texts yesNo{"Yes", "No"};
  const struct {
    const char* what;
    std::string code, name;
    Texts texts;
    std::string merged;
  } cases[] = {
      {"both names", "DLG_TEXT_Q[1] DLG_TEXT[0] DLG_TEXT_Q[2]", "DLG_TEXT_Q", yesNo,
       "\"No\" \"Yes\" DLG_TEXT_Q[2]"},
      {"a prefix of the name is no reference", "DLG_TEXT_F[0] DLG_TEXT_FT[0]", "DLG_TEXT_FT", yesNo,
       "DLG_TEXT_F[0] \"Yes\""},
      {"a name that ends in DLG_TEXT: DLG_TEXT goes first", "XDLG_TEXT[1]", "XDLG_TEXT", yesNo,
       "X\"No\""},
      {"a name DLG_TEXT ends in", "DLG_TEXT[1] TEXT[0]", "TEXT", yesNo, "\"No\" \"Yes\""},
      {"inside a text by DLG_TEXT, the name's own pass still applies",
       "DLG_TEXT[0] N[0]",
       "N",
       {"<N[0]>"},
       "\"<\"<N[0]>\">\" \"<N[0]>\""},
      {"no name: as before", "N[0] DLG_TEXT[0]", "", yesNo, "N[0] \"Yes\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(MergeTexts(c.code, c.texts, c.name), c.merged);
  }
  // A literal run longer than a reference's gap field is split, not cut.
  const std::string gap(5u << 20, 'x');
  EXPECT_EQ(MergeTexts("DLG_TEXT[0]" + gap + "DLG_TEXT[1]", yesNo), "\"Yes\"" + gap + "\"No\"");
  EXPECT_TRUE(HoldsDialogReferences("a = DLG_TEXT_FT[3];"));
  EXPECT_FALSE(HoldsDialogReferences("DLG_TEXT_FT = 3; DLG_TEXT [1]"));
}

TEST(MergeTexts, TextsNamesAndCountsOfEverySizeComeOutWhole) {
  // Texts around the length a reference's copy takes in one piece, and a declared name
  // too long for the short form of a reference.
  // Texts and expansions with references around the lengths that are copied in one
  // piece, in a few, or from elsewhere.
  const std::string longName = "N" + std::string(300, 'x');
  for (size_t size : {0u, 11u, 12u, 61u, 62u, 63u, 125u, 126u, 200u, 1016u, 1017u, 1019u, 1020u}) {
    SCOPED_TRACE(size);
    const Texts texts{std::string(size, 'a'), "b"};
    const std::string quoted = "\"" + texts[0] + "\"";
    EXPECT_EQ(MergeTexts("(DLG_TEXT[0]DLG_TEXT[1]DLG_TEXT[0])", texts),
              "(" + quoted + "\"b\"" + quoted + ")");
    EXPECT_EQ(MergeTexts(longName + "[0]," + longName + "[1]", texts, longName), quoted + ",\"b\"");
    const Texts nested{texts[0] + "DLG_TEXT[1]", "b"};
    const std::string expanded = "\"" + texts[0] + "\"b\"\"";
    EXPECT_EQ(MergeTexts("DLG_TEXT[0]-DLG_TEXT[0]", nested), expanded + "-" + expanded);
  }
  // More texts referred to than a reference's short form can number.
  constexpr size_t kCount = (size_t{1} << 20) + 1000;
  Texts texts(kCount);
  std::string code, merged;
  for (size_t n = kCount; n-- > 0;) {
    texts[n] = std::to_string(n % 7);
    code += DialogTextReference(n) + ";";
    merged += "\"" + texts[n] + "\";";
  }
  EXPECT_EQ(MergeTexts(code, texts), merged);
}

TEST(MergeTexts, ALongChainOfTextsNeedsNoDeepRecursion) {
  // Text n refers to text n+1: the expansion of text 0 nests 100,000 deep.
  constexpr size_t kCount = 100000;
  Texts texts;
  for (size_t n = 0; n < kCount; ++n) texts.push_back("DLG_TEXT[" + std::to_string(n + 1) + "]");
  const std::string merged = MergeTexts("DLG_TEXT[0]", texts);
  ASSERT_EQ(merged.size(), 2 * kCount + DialogTextReference(kCount).size());
  EXPECT_EQ(merged, std::string(kCount, '"') + "DLG_TEXT[100000]" + std::string(kCount, '"'));
}

// Texts 0 .. count-1, each referring twice to the next.
Texts Doubling(size_t count) {
  Texts texts;
  for (size_t n = 0; n < count; ++n) {
    const std::string next = DialogTextReference(n + 1);
    texts.push_back(next + next);
  }
  return texts;
}

TEST(MergedLength, GrowsExponentiallyAndSaturates) {
  EXPECT_EQ(MergedLength("DLG_TEXT[0]", Doubling(3)), 2 + 2 * (2 + 2 * (2 + 2 * 11u)));
  EXPECT_GT(MergedLength("DLG_TEXT[0]", Doubling(30)), size_t{1} << 30);
  EXPECT_EQ(MergedLength("DLG_TEXT[0]", Doubling(80)), std::numeric_limits<size_t>::max());
  EXPECT_EQ(MergedLength("DLG_TEXT[79]", Doubling(80)), 2 + 2 * 12u);
  EXPECT_THROW(MergeTexts("DLG_TEXT[0]", Doubling(80)), std::length_error);
  // Refused from its length alone at the panes' real capacity: nothing is built.
  EXPECT_FALSE(MergeTextsWithin("DLG_TEXT[0]", Doubling(30), platform::kDefaultTextCapacity));
  EXPECT_EQ(MergeTextsWithin("DLG_TEXT[2]", Doubling(3), 24)->View(), "\"DLG_TEXT[3]DLG_TEXT[3]\"");
}

// The merge command on in-memory panes with a fixed clock.
class MergeFilesTest : public ::testing::Test {
 protected:
  std::vector<std::string> LogLines() const { return h_.LogLines(); }
  void Merge(const std::string& code, const std::string& header) {
    core_.m4CodeFile.SetWholeText(code);
    core_.m4HeaderFile.SetWholeText(header);
    core_.RunCommand([&] { core_.MergeFiles(); });
  }

  static constexpr const char* kStart = "05.07.2023 09:03:07 Start merging files ...";
  static constexpr const char* kFinish = "05.07.2023 09:03:07 Merge files finished";
  CoreHarness h_{platform::kDefaultTextCapacity, /*mergedCapacity=*/64};
  TMainCore& core_ = h_.core;
  FakeFileDialog& open_ = h_.openDialog;
  FakeMessageBoxes& boxes_ = h_.boxes;
};

TEST_F(MergeFilesTest, YesAndNoGiveTheExactLogAndMergedText) {
  open_.SetFileName("/scripts/dialog.c");
  Merge("if (a) Say(DLG_TEXT[1]); else Say(DLG_TEXT[0]);\r\n", "\"Yes\", \"No\"\r\n");
  EXPECT_EQ(LogLines(),
            (std::vector<std::string>{kStart, "    /scripts/dialog.c", "DLG_TEXT[0] \"Yes\"",
                                      "DLG_TEXT[1] \"No\"", kFinish}));
  EXPECT_EQ(core_.m4MergedFile.GetWholeText(), "if (a) Say(\"No\"); else Say(\"Yes\");\r\n");
  EXPECT_TRUE(boxes_.errors.empty());

  // Again on unchanged panes: the same text and a further set of log lines.
  core_.RunCommand([&] { core_.MergeFiles(); });
  EXPECT_EQ(core_.m4MergedFile.GetWholeText(), "if (a) Say(\"No\"); else Say(\"Yes\");\r\n");
  EXPECT_EQ(core_.m4Log.LineCount(), 10u);
}

TEST_F(MergeFilesTest, LogLinesForEmptyAndMultiLineTexts) {
  const struct {
    const char* what;
    std::string code, header;
    std::vector<std::string> log;
    std::string merged;
  } cases[] = {
      {"no file chosen, no texts",
       "DLG_TEXT[0]\n",
       "none",
       {kStart, "    ", kFinish},
       "DLG_TEXT[0]\r\n"},
      {"empty code",
       "",
       "\"A\"\"\"",
       {kStart, "    ", "DLG_TEXT[0] \"A\"", "DLG_TEXT[1] \"\"", kFinish},
       ""},
      {"a text over two lines",
       "x=DLG_TEXT[0]",
       "\"one\ntwo\"",
       {kStart, "    ", "DLG_TEXT[0] \"one", "two\"", kFinish},
       "x=\"one\r\ntwo\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    core_.m4Log.ClearText();
    Merge(c.code, c.header);
    EXPECT_EQ(LogLines(), c.log);
    EXPECT_EQ(core_.m4MergedFile.GetWholeText(), c.merged);
  }
}

TEST_F(MergeFilesTest, AResultOverTheCapacityFailsBeforeItIsBuilt) {
  core_.m4MergedFile.SetWholeText("previous");
  // 30 texts each referring twice to the next: gigabytes, refused from its length.
  std::string header;
  for (const std::string& text : Doubling(30)) header += "\"" + text + "\",";
  Merge("DLG_TEXT[0]", header);
  ASSERT_EQ(boxes_.errors.size(), 1u);
  EXPECT_EQ(boxes_.errors[0].text, "Text exceeds memo capacity.");
  std::vector<std::string> log = LogLines();
  ASSERT_EQ(log.size(), 2 + 30u);
  EXPECT_EQ(log[31], "DLG_TEXT[29] \"DLG_TEXT[30]DLG_TEXT[30]\"");
  EXPECT_EQ(core_.m4MergedFile.GetWholeText(), "previous");

  // The capacity of the merged pane (64 bytes) is the limit, byte for byte.
  for (size_t size : {size_t{64}, size_t{65}}) {
    SCOPED_TRACE(size);
    boxes_.errors.clear();
    core_.m4Log.ClearText();
    Merge("DLG_TEXT[0]" + std::string(size - 3, '.'), "\"x\"");
    EXPECT_EQ(boxes_.errors.size(), size == 64 ? 0u : 1u);
    EXPECT_EQ(LogLines().back(), size == 64 ? kFinish : "DLG_TEXT[0] \"x\"");
  }
}

}  // namespace
