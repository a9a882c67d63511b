// The findings as a run writes them: grouped per header folder, counted per name, and
// the SARIF log's strings and file URIs.
#include "cli/findings_output.h"

#include <gtest/gtest.h>

#include "cli/sarif_log.h"

namespace {

using cli_run::Finding;

TEST(FindingsOutput, GroupsAFactAboutAFolderAndCountsEveryName) {
  const std::string kLegacy = "not UTF-8 (a legacy code page), while the code file is UTF-8";
  std::vector<Finding> findings;
  for (int i = 0; i < 4; ++i) {
    findings.push_back(
        {FindingKind::MixedEncoding, "F/" + std::to_string(i) + ".h", 2, 5, kLegacy, "F"});
  }
  // Two in another folder stay each on its line; so does one with another message.
  findings.push_back({FindingKind::MixedEncoding, "I/a.h", 1, 1, kLegacy, "I"});
  findings.push_back({FindingKind::MixedEncoding, "I/b.h", 1, 1, kLegacy, "I"});
  findings.push_back({FindingKind::MixedEncoding, "F/x.c", 3, 1, "other", "F"});
  findings.push_back(
      {FindingKind::UnusedText, "F/0.h", 7, 1, "dialog text 3 is used by no reference", "F"});
  const std::string remedy = "; merge with --encoding=utf-8 to convert the legacy files";
  const std::string grouped = "F/0.h:2:5: warning: 4 files of F: " + kLegacy +
                              "; for example F/0.h and F/1.h (--each lists them all)" + remedy +
                              " [mixed-encoding]\n";
  for (const bool each : {false, true}) {
    SCOPED_TRACE(each ? "--each" : "grouped");
    MergeSettings settings;
    settings.each = each;
    std::string out;
    cli_run::FindingsOutput output(settings, "/", [&](std::string_view s) { out += s; });
    for (const Finding& f : findings) EXPECT_TRUE(output.Add(f));
    // What cannot group is written at once; the groups at the end.
    EXPECT_NE(out.find("[unused-text]"), std::string::npos);
    output.Finish();
    if (each) {
      EXPECT_EQ(out.find("4 files"), std::string::npos);
      EXPECT_NE(out.find("F/3.h:2:5: warning: " + kLegacy + remedy + " [mixed-encoding]\n"),
                std::string::npos)
          << out;
    } else {
      EXPECT_EQ(out, "F/0.h:7:1: warning: dialog text 3 is used by no reference [unused-text]\n" +
                         grouped + "I/a.h:1:1: warning: " + kLegacy + remedy +
                         " [mixed-encoding]\nI/b.h:1:1: warning: " + kLegacy + remedy +
                         " [mixed-encoding]\nF/x.c:3:1: warning: other" + remedy +
                         " [mixed-encoding]\n");
    }
    EXPECT_EQ(output.Counts(),
              (std::vector<std::string>{"unused-text: 1 warning", "mixed-encoding: 7 warnings"}));
  }
  // A kind not asked for is neither written nor counted.
  MergeSettings settings;
  settings.findings.Remove(FindingKind::UnusedText);
  std::string out;
  cli_run::FindingsOutput output(settings, "/", [&](std::string_view s) { out += s; });
  EXPECT_FALSE(output.Add(findings.back()));
  output.Finish();
  EXPECT_EQ(out, "");
  EXPECT_TRUE(output.Counts().empty());
}

TEST(SarifLog, StringsAreUtf8JsonAndFilesAreUriReferences) {
  const struct {
    std::string bytes, json;
  } strings[] = {
      {"say \"hi\" \\ now", R"("say \"hi\" \\ now")"},
      {"a\r\nb\tc\x01", R"("a\r\nb\tc\u0001")"},
      {"caf\xC3\xA9", "\"caf\xC3\xA9\""},         // UTF-8 stays
      {"caf\xE9 \xC3", R"("caf\u00e9 \u00c3")"},  // other bytes as Latin-1
  };
  for (const auto& s : strings) {
    SCOPED_TRACE(s.json);
    EXPECT_EQ(cli_run::JsonString(s.bytes), s.json);
  }
#ifndef _WIN32
  const struct {
    std::string file, cwd, uri;
  } files[] = {
      {"PROGRAM/Npc 1_caf\xC3\xA9.h", "/game", "PROGRAM/Npc%201_caf%C3%A9.h"},
      {"/game/LANGUAGE/a#b.h", "/game/", "LANGUAGE/a%23b.h"},
      {"/other/x.h", "/game", "file:///other/x.h"},
      {"/gamex/y.h", "/game", "file:///gamex/y.h"},
      {"../up.h", "/game/sub", "file:///game/up.h"},
  };
  for (const auto& f : files) {
    SCOPED_TRACE(f.file);
    EXPECT_EQ(cli_run::FileUri(f.file, f.cwd), f.uri);
  }
#endif
}

}  // namespace
