// The encodings lines keep through an edit: lines the edit left alone keep theirs, and
// changed, split or added lines take that of the line they replace.
#include "main/display_encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::TextEncoding;
constexpr TextEncoding U = TextEncoding::Utf8;
constexpr TextEncoding L = TextEncoding::Legacy;

TEST(KeptLineEncodings, EveryLineKeepsTheEncodingItWasShownIn) {
  struct Case {
    const char* what;
    std::vector<std::string> before, after;
    std::vector<TextEncoding> encodings, expected;
  };
  const Case cases[] = {
      {"nothing changed", {"a", "b"}, {"a", "b"}, {L, U}, {L, U}},
      {"a line changed", {"a", "b", "c"}, {"a", "bx", "c"}, {U, L, U}, {U, L, U}},
      {"a line split in two", {"a", "bc", "d"}, {"a", "b", "c", "d"}, {U, L, U}, {U, L, L, U}},
      {"two lines joined", {"a", "b", "c", "d"}, {"a", "bc", "d"}, {U, L, U, U}, {U, L, U}},
      {"a line added after", {"a", "b"}, {"a", "new", "b"}, {L, U}, {L, L, U}},
      {"a line added first", {"a", "b"}, {"new", "a", "b"}, {L, U}, {L, L, U}},
      {"a line removed", {"a", "b", "c"}, {"a", "c"}, {U, L, U}, {U, U}},
      {"into an empty text", {""}, {"x"}, {}, {U}},
      {"all replaced", {"a", "b"}, {"x"}, {L, U}, {L}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(display::KeptLineEncodings(c.before, c.after, c.encodings), c.expected);
  }
}

TEST(EncodingRuns, LinesAreShownInTheirOwnEncoding) {
  std::vector<std::pair<TextEncoding, std::string>> runs;
  display::ForEachEncodingRun(
      "a\r\nb\xE9\r\nc\xE9\r\nd",
      [&](TextEncoding e, std::string_view run) { runs.emplace_back(e, std::string(run)); });
  const std::vector<std::pair<TextEncoding, std::string>> expected = {
      {U, "a\r\n"}, {L, "b\xE9\r\nc\xE9\r\n"}, {U, "d"}};
  EXPECT_EQ(runs, expected);
}

}  // namespace
