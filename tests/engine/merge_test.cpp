// The merge: cutting the header into dialog texts, replacing references in the code,
// and hostile input that would grow without bound.
#include "engine/merge.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <vector>

#include "_4str32/exceptions.h"
#include "engine/identifier.h"

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
      {"string DLG_TEXT_FT [99999999999999999999] = {", "DLG_TEXT_FT", std::nullopt},
      {"string DLG_TEXT_FT [18446744073709551615]", "DLG_TEXT_FT", 18446744073709551615u},
      {"string\r\nDLG_TEXT_L\r\n[\r\n2\r\n] = {", "DLG_TEXT_L", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.header);
    const std::optional<ArrayDeclaration> array = DeclaredArray(c.header);
    EXPECT_EQ(array ? array->name : "", c.name);
    if (array) {
      EXPECT_EQ(array->size, c.size);
    }
  }
  EXPECT_EQ(DeclaredArray("string Q [099999999999999999999]")->sizeText, "099999999999999999999");
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

TEST(DialogMerge, ANameLongerThanTheMergeTakesLeavesItsReferencesCounted) {
  const Texts texts{"Hello", "World"};
  for (size_t length : {kMaxDeclaredNameLength, kMaxDeclaredNameLength + 1}) {
    SCOPED_TRACE(length);
    const std::string name(length, 'A');
    const std::string code = "Say(" + name + "[0]); Say(DLG_TEXT[1]);";
    const DialogMerge merge(code, texts, ReferenceNameOf("string " + name + " [2] = {"));
    const bool taken = length <= kMaxDeclaredNameLength;
    EXPECT_EQ(merge.Build().View(),
              (taken ? "Say(\"Hello\")" : "Say(" + name + "[0])") + "; Say(\"World\");");
    EXPECT_EQ(merge.Replaced(), taken ? 2u : 1u);
    EXPECT_EQ(merge.Left(), taken ? 0u : 1u);
  }
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
  // Refused from its length alone at a pane's capacity (64 MiB): nothing is built.
  EXPECT_FALSE(MergeTextsWithin("DLG_TEXT[0]", Doubling(30), size_t{64} << 20));
  EXPECT_EQ(MergeTextsWithin("DLG_TEXT[2]", Doubling(3), 24)->View(), "\"DLG_TEXT[3]DLG_TEXT[3]\"");
}

}  // namespace
