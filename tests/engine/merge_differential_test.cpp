// The one-pass merge against the plain definition: one replacement pass per dialog
// text, in ascending order, each over the whole current text. Thousands of small
// random scripts over an alphabet dense in references, digits, brackets, quotes,
// backslashes and line breaks, from a fixed seed.
#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>
#include <vector>

#include "engine/merge.h"

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

// Pass n replaces DLG_TEXT[n], then NAME[n]; counts the replacements.
std::string PlainMerge(std::string code, const std::vector<std::string>& texts,
                       const std::string& name, size_t& replaced) {
  replaced = 0;
  for (size_t n = 0; n < texts.size(); ++n) {
    for (const std::string& head : {std::string("DLG_TEXT"), name}) {
      if (head.empty()) continue;
      const std::string ref = head + "[" + std::to_string(n) + "]";
      std::string next = PlainSubstituteAll(code, ref, "\"" + texts[n] + "\"");
      for (size_t at = code.find(ref); at != std::string::npos;
           at = code.find(ref, at + ref.size())) {
        ++replaced;
      }
      code = std::move(next);
    }
  }
  return code;
}

bool IsNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// The references the merged text still holds: "[digits]" without a leading zero behind
// DLG_TEXT, behind the name, or behind a name that begins with DLG_TEXT.
size_t PlainLeft(const std::string& merged, const std::string& name) {
  size_t left = 0;
  for (size_t open = merged.find('['); open != std::string::npos;
       open = merged.find('[', open + 1)) {
    size_t end = open + 1;
    while (end < merged.size() && std::isdigit(static_cast<unsigned char>(merged[end]))) ++end;
    if (end == open + 1 || end == merged.size() || merged[end] != ']') continue;
    if (end - open > 2 && merged[open + 1] == '0') continue;
    size_t start = open;
    while (start > 0 && IsNameChar(merged[start - 1])) --start;
    const std::string before = merged.substr(start, open - start);
    const auto endsWith = [&](const std::string& tail) {
      return !tail.empty() && before.size() >= tail.size() &&
             before.compare(before.size() - tail.size(), tail.size(), tail) == 0;
    };
    if (endsWith("DLG_TEXT") || endsWith(name) || before.rfind("DLG_TEXT", 0) == 0) ++left;
  }
  return left;
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
// and a prefix of another.
const std::vector<std::string> kNames = {"", "DLG_TEXT_FT", "DLG_TEXT_F", "TEXT", "XDLG_TEXT", "T"};

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
      ASSERT_EQ(texts, PlainDialogTexts(header)) << testing::PrintToString(header);
    } else {
      // Straight texts, which may even hold double quotes.
      std::uniform_int_distribution<size_t> count(0, 12);
      for (size_t n = count(rng); n > 0; --n) texts.push_back(RandomText(rng, 5, alphabet));
    }
    size_t replaced = 0;
    const std::string expected = PlainMerge(code, texts, name, replaced);
    const DialogMerge merge(code, texts, name);
    ASSERT_EQ(merge.Build().View(), expected)
        << "name " << name << "\ncode " << testing::PrintToString(code) << "\ntexts "
        << testing::PrintToString(texts);
    ASSERT_EQ(merge.Length(), expected.size());
    ASSERT_EQ(merge.Replaced(), replaced);
    ASSERT_EQ(merge.Left(), PlainLeft(expected, name));
  }
}

}  // namespace
