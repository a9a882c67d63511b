#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "_4str32/_4str32.h"

namespace {

using Tokens = std::vector<std::pair<std::string, std::string>>;  // token, separator

Tokens Drain(TIncTok& tok) {
  Tokens out;
  while (tok.NextToken()) out.emplace_back(tok.CurrentToken(), tok.CurrentSeparator());
  return out;
}

// What the tokenizer should deliver, written the obvious way.
Tokens NaiveSplit(const std::string& text, const std::string& seps) {
  Tokens out;
  std::string token;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (seps.find(c) != std::string::npos) {
      out.emplace_back(token, std::string(1, c));
      token.clear();
    } else {
      token += c;
      if (i + 1 == text.size()) out.emplace_back(token, std::string(1, c));
    }
  }
  return out;
}

TEST(IncTok, CommaTable) {
  struct Case {
    std::string source;
    Tokens expected;
  };
  const std::vector<Case> cases = {
      {"a,b", {{"a", ","}, {"b", "b"}}},
      {"a,,b", {{"a", ","}, {"", ","}, {"b", "b"}}},
      {",a", {{"", ","}, {"a", "a"}}},
      {"a,", {{"a", ","}}},
      {",", {{"", ","}}},
      {"abc", {{"abc", "c"}}},
      {"", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("source \"" + c.source + "\"");
    TIncTok tok;
    // A token from an earlier text, to see that an empty text leaves it alone.
    tok.SetSourceString("x;");
    tok.SetSeparatorString(";");
    ASSERT_TRUE(tok.NextToken());
    tok.SetSeparatorString(",");
    tok.SetSourceString(c.source);
    EXPECT_EQ(Drain(tok), c.expected);
    EXPECT_FALSE(tok.NextToken());
    if (c.expected.empty()) {
      EXPECT_EQ(tok.CurrentToken(), "x");
      EXPECT_EQ(tok.CurrentSeparator(), ";");
    } else {
      EXPECT_EQ(tok.CurrentToken(), c.expected.back().first);
      EXPECT_EQ(tok.CurrentSeparator(), c.expected.back().second);
    }
  }
}

TEST(IncTok, FreshTokenizerIsEmptyAndExhausted) {
  TIncTok tok;
  EXPECT_EQ(tok.Owner(), nullptr);
  EXPECT_TRUE(tok.NPSepChars().Empty());
  EXPECT_EQ(tok.TokenStart(), 1);
  EXPECT_FALSE(tok.NextToken());
  EXPECT_EQ(tok.CurrentToken(), "");
  EXPECT_EQ(tok.CurrentSeparator(), "");
}

TEST(IncTok, NoSeparatorsMakesTheWholeTextOneToken) {
  TIncTok tok;
  tok.SetSourceString("a,b\tc");
  EXPECT_EQ(Drain(tok), (Tokens{{"a,b\tc", "c"}}));
}

TEST(IncTok, SeparatorStringReadsBackSortedAndRewindsOnlyOnChange) {
  TIncTok tok;
  tok.SetSourceString("a,b;c");
  tok.SetSeparatorString(";,");
  EXPECT_EQ(tok.SeparatorString(), ",;");
  ASSERT_TRUE(tok.NextToken());
  EXPECT_EQ(tok.TokenStart(), 3);
  tok.SetSeparatorString(",;");  // the set as it reads back: no change
  EXPECT_EQ(tok.TokenStart(), 3);
  ASSERT_TRUE(tok.NextToken());
  EXPECT_EQ(tok.CurrentToken(), "b");
  tok.SetSeparatorString(";,");  // differs from the read-back form: rewinds
  EXPECT_EQ(tok.TokenStart(), 1);
  ASSERT_TRUE(tok.NextToken());
  EXPECT_EQ(tok.CurrentToken(), "a");
}

TEST(IncTok, FlagsAndSeparatorString) {
  struct Step {
    const char* what;
    std::function<void(TIncTok&)> apply;
    std::string expectedSet;
  };
  const std::vector<std::vector<Step>> scripts = {
      // A flag adds its character again to a text that holds it.
      {{"npTAB", [](TIncTok& t) { t.SetNPSepChars({npTAB}); }, "\t"},
       {"sep tab comma", [](TIncTok& t) { t.SetSeparatorString(",\t"); }, "\t\t,"}},
      // Setting the flags never adds a second copy.
      {{"sep tab comma", [](TIncTok& t) { t.SetSeparatorString(",\t"); }, "\t,"},
       {"npTAB", [](TIncTok& t) { t.SetNPSepChars({npTAB}); }, "\t,"},
       {"all flags",
        [](TIncTok& t) {
          t.SetNPSepChars({npTAB, npCR, npLF});
        },
        "\t\n\r,"}},
      // Clearing a flag keeps its character until the separators are assigned anew.
      {{"npCR", [](TIncTok& t) { t.SetNPSepChars({npCR}); }, "\r"},
       {"sep comma", [](TIncTok& t) { t.SetSeparatorString(","); }, "\r,"},
       {"no flags", [](TIncTok& t) { t.SetNPSepChars({}); }, "\r,"},
       {"sep semicolon", [](TIncTok& t) { t.SetSeparatorString(";"); }, ";"}},
      // Flags append in the order TAB, CR, LF before the sort.
      {{"npLF npCR",
        [](TIncTok& t) {
          t.SetNPSepChars({npLF, npCR});
        },
        "\n\r"},
       {"sep LF", [](TIncTok& t) { t.SetSeparatorString("\n"); }, "\n\n\r"}},
  };
  for (const auto& script : scripts) {
    TIncTok tok;
    tok.SetSourceString("x,y");
    for (const auto& step : script) {
      SCOPED_TRACE(step.what);
      ASSERT_TRUE(tok.NextToken());  // leave the start, to see the rewind
      step.apply(tok);
      EXPECT_EQ(tok.SeparatorString(), step.expectedSet);
      EXPECT_EQ(tok.SeparatorCount(), static_cast<std::int64_t>(step.expectedSet.size()));
      EXPECT_EQ(tok.TokenStart(), 1);
    }
  }
}

TEST(IncTok, ClearedFlagStillSeparates) {
  TIncTok tok;
  tok.SetNPSepChars({npCR});
  tok.SetSourceString("a\rb");
  tok.SetNPSepChars({});
  EXPECT_EQ(Drain(tok), (Tokens{{"a", "\r"}, {"b", "b"}}));
}

TEST(IncTok, SameFlagsDoNotRewind) {
  TIncTok tok;
  tok.SetNPSepChars({npLF});
  tok.SetSourceString("a\nb");
  ASSERT_TRUE(tok.NextToken());
  tok.SetNPSepChars({npLF});
  EXPECT_EQ(tok.TokenStart(), 3);
}

TEST(IncTok, HighBytesSortLastAndSeparate) {
  TIncTok tok;
  tok.SetSeparatorString("\xFF\x80,\x7F");
  EXPECT_EQ(tok.SeparatorString(), ",\x7F\x80\xFF");
  tok.SetSourceString(
      "a\x80"
      "b\xFF"
      "c\x7F"
      "d,e\xFE");
  EXPECT_EQ(Drain(tok),
            (Tokens{{"a", "\x80"}, {"b", "\xFF"}, {"c", "\x7F"}, {"d", ","}, {"e\xFE", "\xFE"}}));
}

TEST(IncTok, SameTextDoesNotRewindOtherTextDoes) {
  TIncTok tok;
  tok.SetSeparatorString(",");
  tok.SetSourceString("a,b,c");
  ASSERT_TRUE(tok.NextToken());
  tok.SetSourceString(std::string("a,b,c"));
  ASSERT_TRUE(tok.NextToken());
  EXPECT_EQ(tok.CurrentToken(), "b");
  tok.SetSourceString("p,q");
  EXPECT_EQ(Drain(tok), (Tokens{{"p", ","}, {"q", "q"}}));
  // Exhausted: the same text again does not rewind, the last token stays.
  tok.SetSourceString("p,q");
  EXPECT_FALSE(tok.NextToken());
  EXPECT_EQ(tok.CurrentToken(), "q");
}

TEST(IncTok, OnNewTokenFiresOncePerTokenAfterTheFieldsAreSet) {
  TIncTok tok;
  tok.SetSeparatorString(",");
  tok.SetSourceString("a,,b");
  Tokens seen;
  int calls = 0;
  tok.SetOnNewToken([&](TIncTok& sender) {
    ++calls;
    EXPECT_EQ(&sender, &tok);
    seen.emplace_back(sender.CurrentToken(), sender.CurrentSeparator());
  });
  int trues = 0;
  while (tok.NextToken()) ++trues;
  EXPECT_FALSE(tok.NextToken());
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(trues, 3);
  EXPECT_EQ(seen, (Tokens{{"a", ","}, {"", ","}, {"b", "b"}}));
}

TEST(IncTok, HandlerMayChangeTheTokenizer) {
  TIncTok tok;
  tok.SetSeparatorString(",");
  tok.SetSourceString("a,b");
  // The handler swaps the text and then removes itself; both take effect afterwards.
  tok.SetOnNewToken([](TIncTok& t) {
    t.SetSourceString("x;y");
    t.SetSeparatorString(";");
    t.SetOnNewToken(nullptr);
  });
  ASSERT_TRUE(tok.NextToken());
  EXPECT_EQ(tok.CurrentToken(), "a");
  EXPECT_FALSE(tok.OnNewToken());
  EXPECT_EQ(Drain(tok), (Tokens{{"x", ";"}, {"y", "y"}}));
}

TEST(IncTok, IsSeparatorAgreesWithMembershipForRandomSets) {
  std::mt19937 rng(20240517);
  for (int round = 0; round < 4000; ++round) {
    const int n = 1 + round % 40;
    // Small alphabets force duplicates; full range covers high bytes.
    const int spread = (round % 3 == 0) ? 8 : 256;
    const int base = static_cast<int>(rng() % (257 - spread));
    std::string seps;
    for (int k = 0; k < n; ++k) seps += static_cast<char>(base + static_cast<int>(rng() % spread));
    TIncTok tok;
    tok.SetSeparatorString(seps);
    ASSERT_EQ(tok.SeparatorCount(), n);
    for (int b = 0; b < 256; ++b) {
      const char c = static_cast<char>(b);
      const bool member = seps.find(c) != std::string::npos;
      if (tok.IsSeparator(c) != member) {
        FAIL() << "byte " << b << " in set of " << n << " from base " << base;
      }
    }
  }
}

TEST(IncTok, SortCharsSortsUnsignedAndKeepsDuplicates) {
  std::mt19937 rng(7);
  for (std::size_t len : {0u, 1u, 2u, 5u, 64u, 65u, 300u}) {
    SCOPED_TRACE(len);
    std::string t;
    for (std::size_t k = 0; k < len; ++k) t += static_cast<char>(rng() % 256);
    std::string expected = t;
    std::sort(expected.begin(), expected.end(), [](char a, char b) {
      return static_cast<unsigned char>(a) < static_cast<unsigned char>(b);
    });
    const std::string before = t;
    EXPECT_EQ(TIncTok::SortChars(t), expected);
    EXPECT_EQ(t, before);
  }
}

TEST(IncTok, MatchesASimpleSplitOnRandomTexts) {
  std::mt19937 rng(99);
  const std::string alphabet = "ab,;\"\t\r\n\x80\xFF";
  for (int round = 0; round < 500; ++round) {
    std::string text, seps;
    const std::size_t len = rng() % 30;
    for (std::size_t k = 0; k < len; ++k) text += alphabet[rng() % alphabet.size()];
    const std::size_t nseps = 1 + rng() % 4;
    for (std::size_t k = 0; k < nseps; ++k) seps += alphabet[rng() % alphabet.size()];
    SCOPED_TRACE(::testing::Message() << "round " << round);
    TIncTok tok;
    tok.SetSourceString(text);
    tok.SetSeparatorString(seps);
    EXPECT_EQ(Drain(tok), NaiveSplit(text, seps));
  }
}

}  // namespace
