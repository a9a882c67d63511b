// Load code file and Save merged file on Windows: a file another program is writing,
// backslash paths from a drive letter, letter case in header and backup names.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/header_search.h"
#include "engine/safe_save.h"
#include "fakes/core_harness.h"
#include "fakes/temp_dir.h"
#include "main/source_files.h"

namespace {

class SourceFilesOnWindows : public ::testing::Test {
 protected:
  // The folder as Windows users write it: from its drive letter, backslashes only.
  std::string At(const std::string& name) const {
    return (std::filesystem::path(tmp_.Path()) / name).make_preferred().string();
  }
  void Run(void (TMainCore::*command)()) {
    TMainCore& core = h_.core;
    core.RunCommand([&core, command] { (core.*command)(); });
  }

  TempDir tmp_{"vk_sfw"};
  CoreHarness h_;
  TMainCore& core_ = h_.core;
};

TEST_F(SourceFilesOnWindows, AFileAnotherProgramWritesCannotBeLoaded) {
  WriteFile(At("dialog.c"), "DLG_TEXT[0]");
  HANDLE writer = CreateFileA(At("dialog.c").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  core_.m4CodeFile.SetWholeText("kept");
  h_.openDialog.answers.push_back(At("dialog.c"));
  Run(&TMainCore::LoadCodeFile);
  CloseHandle(writer);

  ASSERT_EQ(h_.boxes.errors.size(), 1u);
  EXPECT_EQ(h_.boxes.errors[0].text, "Cannot open file " + At("dialog.c") + ".");
  EXPECT_EQ(core_.m4CodeFile.GetWholeText(), "kept");
  EXPECT_EQ(core_.m4Log.LineCount(), 0u);
}

TEST_F(SourceFilesOnWindows, BackslashPathFindsTheHeaderWhateverItsLetterCase) {
  ASSERT_EQ(At("x")[1], ':');
  WriteFile(At("Scripts\\Dialog.C"), "Say(DLG_TEXT[0]);\n");
  WriteFile(At("Scripts\\DIALOG.H"), "\"Hello\"\n");
  h_.openDialog.answers.push_back(At("scripts\\dialog.c"));
  Run(&TMainCore::LoadCodeFile);
  Run(&TMainCore::MergeFiles);

  ASSERT_TRUE(h_.boxes.errors.empty()) << h_.boxes.errors[0].text;
  EXPECT_EQ(core_.m4HeaderFile.GetWholeText(), "\"Hello\"\r\n");
  EXPECT_EQ(core_.m4MergedFile.GetWholeText(), "Say(\"Hello\");\r\n");
  const std::vector<std::string> lines = h_.LogLines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[3], "    " + At("scripts\\DIALOG.H"));  // the name as it stands on disk
  EXPECT_EQ(h_.saveDialog.InitialDir(), At("scripts"));
}

TEST_F(SourceFilesOnWindows, ABackupNameTakenInOtherLettersIsTakenAllTheSame) {
  WriteFile(At("dialog.c"), "old");
  WriteFile(At("DIALOG.C.2023-07-05-09-03-07"), "older");
  core_.m4MergedFile.SetWholeText("new");
  h_.saveDialog.answers.push_back(At("dialog.c"));
  Run(&TMainCore::SaveMergedFile);

  ASSERT_TRUE(h_.boxes.errors.empty()) << h_.boxes.errors[0].text;
  EXPECT_EQ(ReadFile(At("dialog.c")), "new");
  EXPECT_EQ(ReadFile(At("dialog.c.2023-07-05-09-03-07")), "older");
  EXPECT_EQ(ReadFile(At("dialog.c.2023-07-05-09-03-07.1")), "old");
}

}  // namespace
