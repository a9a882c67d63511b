// The one-pass merge against the plain definition: one replacement pass per dialog
// text, in ascending order, each over the whole current text. Thousands of small
// random scripts over an alphabet dense in references, digits, brackets, quotes,
// backslashes and line breaks, from a fixed seed.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "main/merge.h"

namespace {

// Every occurrence of pattern, leftmost first and without overlaps, replaced.
std::string PlainSubstituteAll(const std::string& s, const std::string& pattern,
                               const std::string& replacement) {
  std::string out;
  size_t pos = 0;
  for (size_t hit; (hit = s.find(pattern, pos)) != std::string::npos; pos = hit + pattern.size()) {
    out += s.substr(pos, hit - pos) + replacement;
  }
  return out + s.substr(pos);
}

std::string PlainMerge(std::string code, const std::vector<std::string>& texts) {
  for (size_t n = 0; n < texts.size(); ++n) {
    code = PlainSubstituteAll(code, "DLG_TEXT[" + std::to_string(n) + "]", "\"" + texts[n] + "\"");
  }
  return code;
}

// The header cut at every double quote; the piece after the last quote only when it
// is not empty; the 2nd, 4th, ... pieces are the texts.
std::vector<std::string> PlainDialogTexts(const std::string& header) {
  std::vector<std::string> pieces{""};
  for (char c : header) {
    if (c == '"') {
      pieces.emplace_back();
    } else {
      pieces.back() += c;
    }
  }
  if (pieces.back().empty()) pieces.pop_back();
  std::vector<std::string> texts;
  for (size_t i = 1; i < pieces.size(); i += 2) texts.push_back(pieces[i]);
  return texts;
}

const std::vector<std::string> kAlphabet = {"DLG_TEXT[",
                                            "DLG_TEXT[",
                                            "DLG_TEXT[",
                                            "0",
                                            "1",
                                            "2",
                                            "3",
                                            "10",
                                            "11",
                                            "01",
                                            "00",
                                            "]",
                                            "]",
                                            "[",
                                            "\"",
                                            "\"",
                                            "\\",
                                            "\\\"",
                                            "\r\n",
                                            "\n",
                                            "\r",
                                            "a",
                                            " ",
                                            "dlg_text[",
                                            "DLG_TEXT",
                                            "DLG_TEXT[0]",
                                            "DLG_TEXT[1]",
                                            "DLG_TEXT[2]",
                                            "DLG_TEXT[3]",
                                            "DLG_TEXT[4]",
                                            "DLG_TEXT[10]",
                                            "DLG_TEXT[99999999999999999999]"};

std::string RandomText(std::mt19937& rng, size_t maxPieces) {
  std::uniform_int_distribution<size_t> count(0, maxPieces);
  std::uniform_int_distribution<size_t> piece(0, kAlphabet.size() - 1);
  std::string s;
  for (size_t i = count(rng); i > 0; --i) s += kAlphabet[piece(rng)];
  return s;
}

TEST(MergeDifferential, MatchesThePassesOnRandomScripts) {
  std::mt19937 rng(20230705);
  for (int round = 0; round < 20000; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const std::string code = RandomText(rng, 12);
    std::vector<std::string> texts;
    if (round % 2 == 0) {
      // From a header, the way the command gets its texts.
      const std::string header = RandomText(rng, 40);
      texts = DialogTexts(header);
      ASSERT_EQ(texts, PlainDialogTexts(header)) << testing::PrintToString(header);
    } else {
      // Straight texts, which may even hold double quotes.
      std::uniform_int_distribution<size_t> count(0, 12);
      for (size_t n = count(rng); n > 0; --n) texts.push_back(RandomText(rng, 5));
    }
    const std::string expected = PlainMerge(code, texts);
    ASSERT_EQ(MergeTexts(code, texts), expected)
        << "code " << testing::PrintToString(code) << "\ntexts " << testing::PrintToString(texts);
    ASSERT_EQ(MergedLength(code, texts), expected.size());
  }
}

}  // namespace
