// The header search on real folders: beside the code file, in language folders, in a
// parallel text tree at several depths, letter case ignored, regular files only.
#include "engine/header_search.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "fakes/temp_dir.h"

namespace {

TEST(HeaderSearch, FindsTheHeaderWhereTheGamesKeepIt) {
  TempDir tmp("vk_hs");
  const std::string root = tmp.Path();
  const std::string text = root + "/LANGUAGE/English/Program/Text/Dialogs";
  for (const char* file :
       {"beside/a.c", "beside/a.h", "beside/B.C", "beside/b.H", "P/DIALOGS/Alan Milds_dialog.c",
        "P/DIALOGS/ENGLISH/alan milds_DIALOG.h", "P/DIALOGS/French/Alan Milds_dialog.h",
        "Program/DIALOGS/russian/Fort/Marigo_Fort.c", "Program/DIALOGS/russian/Fort/Lone.c",
        "Program/DIALOGS/russian/Fort/Deep.c",
        // Candidates at several depths: the deepest wins.
        "LANGUAGE/English/Program/Text/Dialogs/Marigo_Fort.h",
        "LANGUAGE/English/Program/Text/Dialogs/fort/marigo_fort.h",
        "LANGUAGE/English/Program/Text/Dialogs/Deep.h",
        "LANGUAGE/English/Program/Text/Dialogs/RUSSIAN/Fort/Deep.h",
        // Not headers: a folder, and a regular file standing where a folder would lead on.
        "dirs/x.c", "dirs/x.h/inner.h", "dirs/English"}) {
    WriteFile(root + "/" + file, "");
  }
  const struct {
    const char* code;
    std::vector<std::string> folders;
    std::string header;  // expected, below root; "" for none
  } cases[] = {
      {"beside/a.c", {"English"}, "beside/a.h"},
      {"beside/B.C", {}, "beside/b.H"},
      {"P/DIALOGS/Alan Milds_dialog.c", {"English"}, "P/DIALOGS/ENGLISH/alan milds_DIALOG.h"},
      {"P/DIALOGS/Alan Milds_dialog.c",
       {"french", "English"},
       "P/DIALOGS/French/Alan Milds_dialog.h"},
      {"P/DIALOGS/Alan Milds_dialog.c",
       {"German", "English"},
       "P/DIALOGS/ENGLISH/alan milds_DIALOG.h"},
      {"P/DIALOGS/Alan Milds_dialog.c", {}, ""},
      {"Program/DIALOGS/russian/Fort/Marigo_Fort.c",
       {text},
       "LANGUAGE/English/Program/Text/Dialogs/fort/marigo_fort.h"},
      {"Program/DIALOGS/russian/Fort/Deep.c",
       {text},
       "LANGUAGE/English/Program/Text/Dialogs/RUSSIAN/Fort/Deep.h"},
      {"Program/DIALOGS/russian/Fort/Lone.c", {text, "English"}, ""},
      {"dirs/x.c", {"English"}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.code) + " in " + std::to_string(c.folders.size()) + " folders");
    HeaderSearch search(c.folders);
    EXPECT_EQ(ComparablePaths(search.Find(root + "/" + c.code)),
              ComparablePaths(c.header.empty() ? "" : root + "/" + c.header));
  }

  // A code file named relative to the current folder: the tree's folders still count.
  CurrentDirectoryGuard back;
  std::filesystem::current_path(root + "/Program/DIALOGS/russian");
  HeaderSearch relative({"../../../../LANGUAGE/English/Program/Text/Dialogs"});
  EXPECT_EQ(ComparablePaths(relative.Find("Fort/Deep.c")),
            ComparablePaths(
                "Fort/../../../../LANGUAGE/English/Program/Text/Dialogs/RUSSIAN/Fort/Deep.h"));
  const std::vector<std::string> places = relative.PlacesFor("Fort/Deep.c");
  ASSERT_EQ(places.size(), 2u);
  EXPECT_EQ(places[0], "Fort");
  EXPECT_EQ(ComparablePaths(places[1]),
            ComparablePaths("Fort/../../../../LANGUAGE/English/Program/Text/Dialogs"));
}

#ifndef _WIN32
TEST(HeaderSearch, AFifoNamedLikeAHeaderIsNoHeader) {
  TempDir tmp("vk_hs");
  WriteFile(tmp / "p.c", "DLG_TEXT[0]");
  ASSERT_EQ(mkfifo((tmp / "p.h").c_str(), 0600), 0);
  std::filesystem::create_directory(tmp / "English");
  ASSERT_EQ(mkfifo((tmp / "English/q.h").c_str(), 0600), 0);
  WriteFile(tmp / "q.c", "DLG_TEXT[0]");
  HeaderSearch search({"English"});
  EXPECT_EQ(search.Find(tmp / "p.c"), "");
  EXPECT_EQ(search.Find(tmp / "q.c"), "");
}
#endif

TEST(HeaderSearch, SplitsTheConfiguredList) {
  EXPECT_EQ(SplitHeaderFolders(" English ; ../Text/Dialogs;;\t"),
            (std::vector<std::string>{"English", "../Text/Dialogs"}));
  EXPECT_EQ(SplitHeaderFolders(""), std::vector<std::string>{});
}

}  // namespace
