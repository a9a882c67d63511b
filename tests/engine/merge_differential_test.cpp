// The one-pass merge against the plain definition: one replacement pass per dialog
// text, in ascending order, each over the whole current text. Thousands of small
// random scripts over an alphabet dense in references, digits, brackets, quotes,
// backslashes and line breaks, from a fixed seed.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/merge.h"
#include "engine/plain_merge.h"

namespace {

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
                                            "DLG_TEXT[99999999999999999999]",
                                            "DLG_TEXT[1234567]",
                                            "DLG_TEXT[0000012]",
                                            "DLG_TEXT[12]xxxxxxxx"};

std::string RandomText(std::mt19937& rng, size_t maxPieces,
                       const std::vector<std::string>& alphabet) {
  std::uniform_int_distribution<size_t> count(0, maxPieces);
  std::uniform_int_distribution<size_t> piece(0, alphabet.size() - 1);
  std::string s;
  for (size_t i = count(rng); i > 0; --i) s += alphabet[piece(rng)];
  return s;
}

// Declared names beside DLG_TEXT, among them names that end in it, that it ends in,
// a prefix of another, and the longest the merge takes and one longer.
const std::vector<std::string> kNames = {"",
                                         "DLG_TEXT_FT",
                                         "DLG_TEXT_F",
                                         "TEXT",
                                         "XDLG_TEXT",
                                         "T",
                                         std::string(kMaxDeclaredNameLength, 'L'),
                                         std::string(kMaxDeclaredNameLength + 1, 'L')};

TEST(MergeDifferential, MatchesThePassesOnRandomScripts) {
  std::mt19937 rng(20230705);
  std::vector<std::string> alphabet = kAlphabet;
  for (const std::string& name : kNames) {
    if (name.empty()) continue;
    alphabet.push_back(name + "[");
    alphabet.push_back(name + "[0]");
    alphabet.push_back(name + "[1]");
  }
  for (int round = 0; round < 20000; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const std::string& name = kNames[static_cast<size_t>(round) % kNames.size()];
    const std::string code = RandomText(rng, 12, alphabet);
    std::vector<std::string> texts;
    if (round % 2 == 0) {
      // From a header, the way the command gets its texts.
      const std::string header = RandomText(rng, 40, alphabet);
      texts = DialogTexts(header);
      ASSERT_EQ(texts, plain::DialogTexts(header)) << testing::PrintToString(header);
    } else {
      // Straight texts, which may even hold double quotes.
      std::uniform_int_distribution<size_t> count(0, 12);
      for (size_t n = count(rng); n > 0; --n) texts.push_back(RandomText(rng, 5, alphabet));
    }
    size_t replaced = 0;
    const std::string expected = plain::Merge(code, texts, name, replaced);
    const DialogMerge merge(code, texts, name);
    ASSERT_EQ(merge.Build().View(), expected)
        << "name " << name << "\ncode " << testing::PrintToString(code) << "\ntexts "
        << testing::PrintToString(texts);
    ASSERT_EQ(merge.Length(), expected.size());
    ASSERT_EQ(merge.Replaced(), replaced);
    ASSERT_EQ(merge.Left(), plain::Left(expected, name));
  }
}

}  // namespace
