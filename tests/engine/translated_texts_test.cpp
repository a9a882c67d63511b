// A translation compared with the reference language text by text: the run-time
// tokens each text carries, and texts left as they were.
#include <gtest/gtest.h>

#include "engine/merge_check.h"

namespace {

std::string Header(const std::vector<std::string>& texts) {
  std::string h = "string DLG_TEXT[" + std::to_string(texts.size()) + "] = {\r\n";
  for (const std::string& t : texts) h += "  \"" + t + "\",\r\n";
  return h + "};\r\n";
}

// "3:4 tokens: message" for each finding.
std::vector<std::string> Compare(const std::vector<std::string>& reference,
                                 const std::vector<std::string>& translation,
                                 const FindingKindSet& checks = FindingKindSet::All()) {
  std::vector<std::string> out;
  CompareTranslatedTexts(Header(reference), "en.h", Header(translation), checks,
                         [&](const ScriptFinding& f) {
                           out.push_back(std::to_string(f.line) + ":" + std::to_string(f.column) +
                                         " " + std::string(InfoOf(f.kind).name) + ": " + f.message);
                         });
  return out;
}

using Lines = std::vector<std::string>;

TEST(CompareTranslatedTexts, FindsTokensLostAddedOrMangled) {
  const std::vector<std::string> english = {
      "Good day, #sgender#.", "I am #sname# of #scity#.", "#ssir#, a ship!", "Price: 10 # 20",
      "Take it, #sgender#. #sgender#!"};
  const struct {
    const char* what;
    std::vector<std::string> french;
    Lines expected;
  } cases[] = {
      {"the same tokens, in another order, beside a lone # sign",
       {"Bonjour, #sgender#.", "De #scity#, je suis #sname#.", "#ssir#, un navire!", "Prix: 10 # 20",
        "#sgender#, prends-le. #sgender#!"},
       {}},
      {"one lost, one mangled, one added, one of two lost",
       {"Bonjour.", "Je suis #snom# de #scity#.", "#ssir#, un #sship# navire!", "Prix: 10 # 20",
        "Prends-le, #sgender#!"},
       {"2:4 tokens: dialog text 0 lacks #sgender#, which en.h has",
        "3:4 tokens: dialog text 1 lacks #sname# and has #snom#, unlike en.h",
        "4:4 tokens: dialog text 2 has #sship#, which en.h lacks",
        "6:4 tokens: dialog text 4 lacks #sgender#, which en.h has"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Compare(english, c.french), c.expected);
  }
  // Texts that do not pair up one for one are not compared.
  EXPECT_EQ(Compare(english, {"Bonjour."}), Lines{});
}

TEST(CompareTranslatedTexts, FindsTextsLeftUntranslatedOnlyWhenAskedFor) {
  const std::vector<std::string> english = {"Where is the harbour master?", "Yes.", "Captain Blood",
                                            "Good luck to you, #sname#!", "Go away now."};
  const std::vector<std::string> french = {"Where is the harbour master?", "Yes.", "Captain Blood",
                                           "Good luck to you, #sname#!", "Va-t'en."};
  // Short texts and names stay as they are in every language.
  EXPECT_EQ(Compare(english, french),
            (Lines{"2:4 untranslated: dialog text 0 is the same as in en.h",
                   "5:4 untranslated: dialog text 3 is the same as in en.h"}));
  EXPECT_EQ(Compare(english, french, FindingKindSet::Defaults()), Lines{});
}

}  // namespace
