// The line-break rule that panes, the merge and the checks share.
#include "engine/line_breaks.h"

#include <gtest/gtest.h>

#include <random>

using namespace std::string_literals;

namespace {

TEST(NormalizeLineBreaks, EveryBreakBecomesCrLfAndNulCuts) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"", ""},
      {"a\r\nb", "a\r\nb"},
      {"a\nb", "a\r\nb"},
      {"a\rb", "a\r\nb"},
      {"a\n\rb", "a\r\n\r\nb"},    // LF CR: two breaks
      {"a\r\r\nb", "a\r\n\r\nb"},  // CR CR LF: two breaks
      {"\n\n", "\r\n\r\n"},
      {"end\r", "end\r\n"},
      {"a\0b\nc"s, "a"},                     // everything from the first NUL is dropped
      {"a\r\0\n"s, "a\r\n"},                 // the NUL ends the text before the LF could pair
      {"\xA0\xFF\x81 x", "\xA0\xFF\x81 x"},  // other bytes pass unchanged
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.in));
    EXPECT_EQ(NormalizeLineBreaks(c.in), c.out);
  }
}

TEST(NormalizeLineBreaks, TheFastCheckAgreesWithTheNormalisation) {
  // Texts across several 64-byte blocks, breaks falling on and around block edges.
  std::mt19937 rng(7);
  const char* const pieces[] = {"\r\n", "a", "bb", "xyz"};
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    for (size_t n = rng() % 100; n > 0; --n) text += pieces[rng() % 4];
    // Now and then one byte that may break the pattern.
    if (rng() % 3 == 0) text.insert(rng() % (text.size() + 1), 1, "\r\n\0"[rng() % 3]);
    ASSERT_EQ(IsNormalPaneText(text), NormalizeLineBreaks(text) == text)
        << testing::PrintToString(text);
  }
}

}  // namespace
