#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
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
  EXPECT_FALSE(tok.NextToken());
  return out;
}

TEST(IncTok, CommaTable) {
  const std::vector<std::pair<std::string, Tokens>> cases = {
      {"a,b", {{"a", ","}, {"b", "b"}}},
      {"a,,b", {{"a", ","}, {"", ","}, {"b", "b"}}},
      {",a", {{"", ","}, {"a", "a"}}},
      {"a,", {{"a", ","}}},
      {",", {{"", ","}}},
      {"abc", {{"abc", "c"}}},
      {"", {}},
  };
  for (const auto& [source, expected] : cases) {
    SCOPED_TRACE("source \"" + source + "\"");
    TIncTok tok;
    tok.SetSourceString("x;");  // an earlier token, kept until a new one is delivered
    tok.SetSeparatorString(";");
    ASSERT_TRUE(tok.NextToken());
    tok.SetSeparatorString(",");
    tok.SetSourceString(source);
    EXPECT_EQ(Drain(tok), expected);
    const auto last = expected.empty() ? Tokens::value_type{"x", ";"} : expected.back();
    EXPECT_EQ(tok.CurrentToken(), last.first);
    EXPECT_EQ(tok.CurrentSeparator(), last.second);
  }
  TIncTok none;  // no separators at all: the whole text is one token
  none.SetSourceString("a,b");
  EXPECT_EQ(Drain(none), (Tokens{{"a,b", "b"}}));
}

TEST(IncTok, OnlyEffectiveAssignmentsRewind) {
  const std::string text = "a,b;c,d;e,f;g";
  TIncTok tok;
  tok.SetSourceString(text);
  tok.SetSeparatorString(";,");
  EXPECT_EQ(tok.SeparatorString(), ",;");
  const std::pair<std::function<void()>, bool> steps[] = {
      {[&] { tok.SetSeparatorString(",;"); }, false},  // the set as it reads back
      {[&] { tok.SetSourceString(text); }, false},      {[&] { tok.SetNPSepChars({}); }, false},
      {[&] { tok.SetSeparatorString(";,"); }, true},  // differs from the read-back form
      {[&] { tok.SetSourceString(text + " "); }, true}, {[&] { tok.SetNPSepChars({npLF}); }, true},
  };
  for (std::size_t k = 0; k < std::size(steps); ++k) {
    SCOPED_TRACE(k);
    ASSERT_TRUE(tok.NextToken());
    const std::int64_t before = tok.TokenStart();
    steps[k].first();
    EXPECT_EQ(tok.TokenStart(), steps[k].second ? 1 : before);
  }
}

TEST(IncTok, FlagsAddTheirCharacters) {
  struct Step {
    TNPSepChars flags;
    const char* separators;  // assigned after the flags, unless null
    std::string expectedSet;
  };
  const std::vector<std::vector<Step>> scripts = {
      // A flag adds its character again to an assigned text that holds it ...
      {{{npTAB}, ",\t", "\t\t,"}, {{npTAB, npCR, npLF}, nullptr, "\t\t\n\r,"}},
      // ... but setting flags adds only missing characters.
      {{{}, ",\t", "\t,"}, {{npTAB}, nullptr, "\t,"}},
      // Clearing a flag keeps its character until the separators are assigned anew.
      {{{npCR}, ",", "\r,"}, {{}, nullptr, "\r,"}, {{}, ";", ";"}},
      {{{npLF, npCR}, "\n", "\n\n\r"}},
  };
  for (std::size_t s = 0; s < scripts.size(); ++s) {
    TIncTok tok;
    tok.SetSourceString("a\rb");
    for (const auto& step : scripts[s]) {
      SCOPED_TRACE(::testing::Message() << "script " << s << " set " << step.expectedSet.size());
      tok.SetNPSepChars(step.flags);
      if (step.separators) tok.SetSeparatorString(step.separators);
      EXPECT_EQ(tok.SeparatorString(), step.expectedSet);
      EXPECT_EQ(tok.SeparatorCount(), static_cast<std::int64_t>(step.expectedSet.size()));
      const Tokens split = {{"a", "\r"}, {"b", "b"}}, whole = {{"a\rb", "b"}};
      EXPECT_EQ(Drain(tok), step.expectedSet.find('\r') != std::string::npos ? split : whole);
    }
  }
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

TEST(IncTok, OnNewTokenFiresOncePerTokenAfterTheFieldsAreSet) {
  TIncTok tok;
  tok.SetSeparatorString(",");
  tok.SetSourceString("a,,b");
  Tokens seen;
  tok.SetOnNewToken([&](TIncTok& sender) {
    EXPECT_EQ(&sender, &tok);
    seen.emplace_back(sender.CurrentToken(), sender.CurrentSeparator());
  });
  EXPECT_EQ(Drain(tok), seen);
  EXPECT_EQ(seen.size(), 3u);
  // A handler may assign the properties, itself included; the rewind shows next call.
  tok.SetSourceString("a,b");
  tok.SetOnNewToken([](TIncTok& t) {
    t.SetSourceString("x;y");
    t.SetSeparatorString(";");
    t.SetOnNewToken(nullptr);
  });
  ASSERT_TRUE(tok.NextToken());
  EXPECT_EQ(tok.CurrentToken(), "a");
  EXPECT_EQ(Drain(tok), (Tokens{{"x", ";"}, {"y", "y"}}));
}

TEST(IncTok, IsSeparatorAgreesWithMembershipForRandomSets) {
  std::mt19937 rng(20240517);
  for (int round = 0; round < 4000; ++round) {
    const int n = 1 + round % 40;
    const int spread = (round % 3 == 0) ? 8 : 256;  // a narrow range forces duplicates
    const int base = static_cast<int>(rng() % (257 - spread));
    std::string seps;
    for (int k = 0; k < n; ++k) seps += static_cast<char>(base + static_cast<int>(rng() % spread));
    TIncTok tok;
    tok.SetSeparatorString(seps);
    for (int b = 0; b < 256; ++b) {
      const char c = static_cast<char>(b);
      if (tok.IsSeparator(c) != (seps.find(c) != std::string::npos)) {
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
    std::sort(expected.begin(), expected.end(),
              [](unsigned char a, unsigned char b) { return a < b; });
    EXPECT_EQ(TIncTok::SortChars(t), expected);
  }
}

TEST(IncTok, MatchesASimpleSplitOnRandomTexts) {
  std::mt19937 rng(99);
  const std::string alphabet = "ab,;\"\t\r\n\x80\xFF";
  for (int round = 0; round < 500; ++round) {
    std::string text, seps;
    for (std::size_t k = rng() % 30; k > 0; --k) text += alphabet[rng() % alphabet.size()];
    for (std::size_t k = 1 + rng() % 4; k > 0; --k) seps += alphabet[rng() % alphabet.size()];
    Tokens expected;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const bool sep = seps.find(text[i]) != std::string::npos;
      if (sep || i + 1 == text.size()) {
        expected.emplace_back(text.substr(start, i - start + (sep ? 0 : 1)), text.substr(i, 1));
        start = i + 1;
      }
    }
    SCOPED_TRACE(::testing::Message() << "round " << round);
    TIncTok tok;
    tok.SetSourceString(text);
    tok.SetSeparatorString(seps);
    EXPECT_EQ(Drain(tok), expected);
  }
}

}  // namespace
