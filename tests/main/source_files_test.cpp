// Load code file, Load header file and Save merged file against scripted dialogs and a
// temporary folder: panes, log lines, dialog moves, backups and every failure.
#include "main/source_files.h"
#include "engine/header_search.h"
#include "engine/safe_save.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "fakes/core_harness.h"
#include "fakes/fake_files.h"
#include "fakes/temp_dir.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

std::vector<std::string> FolderEntries(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A main core over in-memory panes and scripted dialogs, working in a fresh folder.
class SourceFilesTest : public ::testing::Test {
 protected:
  SourceFilesTest() {
    core_.m4CodeFile.SetWholeText("old code");
    core_.m4HeaderFile.SetWholeText("old header");
  }

  std::string At(const std::string& name) const { return (dir_ / name).string(); }
  std::vector<std::string> LogLines() const { return h_.LogLines(); }
  void Run(void (TMainCore::*command)()) {
    TMainCore& core = core_;
    core.RunCommand([&core, command] { (core.*command)(); });
  }
  void LoadCode(const std::string& name) {
    open_.answers.push_back(At(name));
    Run(&TMainCore::LoadCodeFile);
  }
  void Save(const std::string& name) {
    save_.answers.push_back(At(name));
    Run(&TMainCore::SaveMergedFile);
  }

  TempDir tmp_{"vk_sf"};
  fs::path dir_ = tmp_.Path();
  CoreHarness h_;
  TMainCore& core_ = h_.core;
  FakeFileDialog& open_ = h_.openDialog;
  FakeFileDialog& save_ = h_.saveDialog;
  FakeMessageBoxes& boxes_ = h_.boxes;
};

TEST_F(SourceFilesTest, LoadCodeFileFindsTheHeaderBesideIt) {
  const struct {
    const char* code;    // chosen in the dialog
    const char* header;  // on disk beside it ("" for none)
    const char* found;   // loaded into the header pane and logged ("" for none)
  } cases[] = {
      {"dialog.c", "dialog.h", "dialog.h"},
      {"dialog", "dialog.h", "dialog.h"},
      {"dialog.txt", "dialog.h", "dialog.h"},
      {"dialog.h", "", "dialog.h"},          // its own header
      {"dialog.c", "Dialog.H", "Dialog.H"},  // letter case differs: the name on disk
      {"dialog.c", "", ""},
      {"dialog.c", "dialog.hh", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.code) + " beside '" + c.header + "'");
    fs::remove_all(dir_);
    fs::create_directory(dir_);
    core_.m4Log.ClearText();
    core_.m4HeaderFile.SetWholeText("old header");
    WriteFile(dir_ / c.code, "code\nof " + std::string(c.code));
    if (*c.header && std::string(c.header) != c.code) WriteFile(dir_ / c.header, "\"hdr\"\n");

    LoadCode(c.code);

    ASSERT_TRUE(boxes_.errors.empty()) << boxes_.errors[0].text;
    ASSERT_EQ(open_.shown.back().filter, "code files (*.c)|*.c|all files (*.*|*.*");
    EXPECT_EQ(core_.m4CodeFile.GetWholeText(), "code\r\nof " + std::string(c.code));
    std::vector<std::string> expected{" Load code file :", "    " + At(c.code)};
    if (*c.found) {
      expected.push_back(" Assume that corresponding header file is also to be loaded :");
      expected.push_back("    " + At(c.found));
      EXPECT_EQ(core_.m4HeaderFile.GetWholeText(),
                std::string(c.found) == c.code ? core_.m4CodeFile.GetWholeText() : "\"hdr\"\r\n");
    } else {
      EXPECT_EQ(core_.m4HeaderFile.GetWholeText(), "old header");
      expected.push_back(" No corresponding header file found; the header pane keeps its text");
    }
    EXPECT_EQ(LogLines(), expected);
    EXPECT_EQ(save_.InitialDir(), dir_.string());
    EXPECT_EQ(save_.FileName(), At(c.code));
  }
}

TEST_F(SourceFilesTest, LoadHeaderFileFillsTheHeaderPaneAlone) {
  WriteFile(dir_ / "dialog.c", "c");
  LoadCode("dialog.c");
  fs::create_directory(dir_ / "other");
  WriteFile(dir_ / "other" / "texts.h", "\"a\"");
  core_.m4Log.ClearText();
  open_.answers.push_back(At("other/texts.h"));
  Run(&TMainCore::LoadHeaderFile);

  EXPECT_EQ(open_.shown.back().filter, "header files (*.h)|*.h|all files (*.*|*.*");
  EXPECT_EQ(core_.m4HeaderFile.GetWholeText(), "\"a\"");
  EXPECT_EQ(core_.m4CodeFile.GetWholeText(), "c");
  EXPECT_EQ(LogLines(),
            (std::vector<std::string>{" Load header file :", "    " + At("other/texts.h")}));
  // The save dialog moves to the header's folder but still proposes the code file.
  EXPECT_EQ(save_.InitialDir(), At("other"));
  EXPECT_EQ(save_.FileName(), At("dialog.c"));
}

TEST_F(SourceFilesTest, MissingFileTypedIntoTheDialog) {
  for (auto command : {&TMainCore::LoadCodeFile, &TMainCore::LoadHeaderFile}) {
    boxes_.errors.clear();
    open_.answers.push_back(At("missing.c"));
    Run(command);
    ASSERT_EQ(boxes_.errors.size(), 1u);
    EXPECT_EQ(boxes_.errors[0].caption, "Vaskarel");
    EXPECT_EQ(boxes_.errors[0].text, "Cannot open file " + At("missing.c") + ".");
    EXPECT_EQ(core_.m4CodeFile.GetWholeText(), "old code");
    EXPECT_EQ(core_.m4HeaderFile.GetWholeText(), "old header");
    EXPECT_EQ(core_.m4Log.LineCount(), 0u);
    EXPECT_EQ(save_.InitialDir(), dir_.string());  // the dialog moved before the failure
  }
}

TEST_F(SourceFilesTest, CancelChangesNothing) {
  WriteFile(dir_ / "dialog.c", "c");
  open_.SetInitialDir("/start");
  save_.SetInitialDir("/start");
  save_.SetFileName("/start/x.c");
  open_.answers = {std::nullopt, std::nullopt};
  save_.answers = {std::nullopt};
  Run(&TMainCore::LoadCodeFile);
  Run(&TMainCore::LoadHeaderFile);
  Run(&TMainCore::SaveMergedFile);

  EXPECT_EQ(open_.shown.size(), 2u);
  EXPECT_EQ(save_.shown.size(), 1u);
  EXPECT_EQ(open_.InitialDir(), "/start");
  EXPECT_EQ(save_.InitialDir(), "/start");
  EXPECT_EQ(save_.FileName(), "/start/x.c");
  EXPECT_EQ(core_.m4CodeFile.GetWholeText(), "old code");
  EXPECT_EQ(core_.m4HeaderFile.GetWholeText(), "old header");
  EXPECT_EQ(core_.m4Log.LineCount(), 0u);
  EXPECT_TRUE(boxes_.errors.empty());
  EXPECT_EQ(FolderEntries(dir_), std::vector<std::string>{"dialog.c"});
}

TEST_F(SourceFilesTest, SaveWritesThePaneAndBacksUpAnExistingTarget) {
  const struct {
    const char* name;
    const char* merged;  // pane text
    bool exists;
  } cases[] = {
      {"new.c", "a\r\nb", false},        // no final line break added
      {"dialog.c", "a\r\nb\r\n", true},  // old bytes kept under the backup name
      {"empty.c", "", true},             // an empty pane gives an empty file
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    core_.m4Log.ClearText();
    const std::string old = "old\nbytes\r\x01";
    if (c.exists) WriteFile(dir_ / c.name, old);
    core_.m4MergedFile.SetWholeText(c.merged);
    Save(c.name);

    ASSERT_TRUE(boxes_.errors.empty()) << boxes_.errors[0].text;
    EXPECT_EQ(save_.shown.back().filter, "code files (*.c)|*.c|all files (*.*)|*.*");
    EXPECT_EQ(save_.shown.back().defaultExt, "c");
    EXPECT_EQ(ReadFile(dir_ / c.name), c.merged);
    const std::string backup = std::string(c.name) + ".2023-07-05-09-03-07";
    EXPECT_EQ(fs::exists(dir_ / backup), c.exists);
    if (c.exists) {
      EXPECT_EQ(ReadFile(dir_ / backup), old);
    }
    EXPECT_EQ(LogLines(), (std::vector<std::string>{" Save merged file :", "    " + At(c.name)}));
    EXPECT_EQ(open_.InitialDir(), dir_.string());
  }
}

TEST_F(SourceFilesTest, SaveAfterLoadProposesTheCodeFileAndKeepsItAsBackup) {
  WriteFile(dir_ / "dialog.c", "x = DLG_TEXT[0];\n");
  LoadCode("dialog.c");
  core_.m4MergedFile.SetWholeText("x = \"hi\";\r\n");
  Save("dialog.c");  // the user accepts the proposed name

  EXPECT_EQ(save_.shown.back().fileName, At("dialog.c"));
  EXPECT_EQ(save_.shown.back().initialDir, dir_.string());
  EXPECT_EQ(ReadFile(dir_ / "dialog.c"), "x = \"hi\";\r\n");
  EXPECT_EQ(ReadFile(dir_ / "dialog.c.2023-07-05-09-03-07"), "x = DLG_TEXT[0];\n");
}

TEST_F(SourceFilesTest, SavesInOneSecondKeepEveryOldVersion) {
  WriteFile(dir_ / "dialog.c", "v0");
  for (int v = 1; v <= 3; ++v) {
    core_.m4MergedFile.SetWholeText("v" + std::to_string(v));
    Save("dialog.c");
  }
  ASSERT_TRUE(boxes_.errors.empty()) << boxes_.errors[0].text;
  const std::string base = "dialog.c.2023-07-05-09-03-07";
  EXPECT_EQ(FolderEntries(dir_),
            (std::vector<std::string>{"dialog.c", base, base + ".1", base + ".2"}));
  EXPECT_EQ(ReadFile(dir_ / base), "v0");
  EXPECT_EQ(ReadFile(dir_ / (base + ".1")), "v1");
  EXPECT_EQ(ReadFile(dir_ / (base + ".2")), "v2");
  EXPECT_EQ(ReadFile(dir_ / "dialog.c"), "v3");
}

TEST_F(SourceFilesTest, NoFreeBackupNameStopsTheSave) {
  WriteFile(dir_ / "dialog.c", "only copy");
  const std::string base = "dialog.c.2023-07-05-09-03-07";
  WriteFile(dir_ / base, "b");
  for (int i = 1; i <= 99; ++i) WriteFile(dir_ / (base + "." + std::to_string(i)), "b");
  core_.m4MergedFile.SetWholeText("new");
  Save("dialog.c");

  ASSERT_EQ(boxes_.errors.size(), 1u);
  EXPECT_EQ(boxes_.errors[0].text.rfind("Cannot make a backup of " + At("dialog.c") + ": ", 0), 0u)
      << boxes_.errors[0].text;
  EXPECT_EQ(ReadFile(dir_ / "dialog.c"), "only copy");
  EXPECT_EQ(fs::exists(dir_ / (base + ".100")), false);
  EXPECT_EQ(core_.m4Log.LineCount(), 0u);
}

#ifndef _WIN32
TEST_F(SourceFilesTest, ReadOnlyFolderStopsTheSaveBeforeWriting) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not stop root; see the faulty-rename case";
  WriteFile(dir_ / "dialog.c", "only copy");
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
  core_.m4MergedFile.SetWholeText("new");
  Save("dialog.c");
  fs::permissions(dir_, fs::perms::owner_all);

  ASSERT_EQ(boxes_.errors.size(), 1u);
  EXPECT_EQ(boxes_.errors[0].text,
            "Cannot make a backup of " + At("dialog.c") + ": Permission denied.");
  EXPECT_EQ(ReadFile(dir_ / "dialog.c"), "only copy");
  EXPECT_EQ(core_.m4Log.LineCount(), 0u);
}
#endif

// Counts folder syncs and fails reading one chosen file, over the faulty file system.
class RecordingFileSystem : public FaultyFileSystem {
 public:
  std::string unreadable;
  std::vector<std::string> syncedFolders;

  int ReadWholeFile(const std::string& path, std::string& out) override {
    if (path == unreadable) return EACCES;
    return FaultyFileSystem::ReadWholeFile(path, out);
  }
  int SyncParentDirectory(const std::string& path) override {
    syncedFolders.push_back(path);
    return FaultyFileSystem::SyncParentDirectory(path);
  }
};

class SourceFilesFaultTest : public SourceFilesTest {
 protected:
  RecordingFileSystem files_;
  platform::ScopedFileSystem scope_{files_};
};

TEST_F(SourceFilesFaultTest, SaveSyncsTheFileAndItsFolder) {
  WriteFile(dir_ / "dialog.c", "old");
  core_.m4MergedFile.SetWholeText("new");
  Save("dialog.c");
  ASSERT_TRUE(boxes_.errors.empty()) << boxes_.errors[0].text;
  EXPECT_GE(files_.syncCalls, 1);
  // The folder holds the backup's new name and the new file: synced after the write.
  ASSERT_FALSE(files_.syncedFolders.empty());
  EXPECT_EQ(files_.syncedFolders.back(), At("dialog.c"));
}

TEST_F(SourceFilesFaultTest, UnreadableHeaderKeepsTheCodeFileLoaded) {
  WriteFile(dir_ / "dialog.c", "code");
  WriteFile(dir_ / "dialog.h", "header");
  files_.unreadable = At("dialog.h");
  LoadCode("dialog.c");
  ASSERT_EQ(boxes_.errors.size(), 1u);
  EXPECT_EQ(boxes_.errors[0].text, "Cannot open file " + At("dialog.h") + ".");
  EXPECT_EQ(core_.m4CodeFile.GetWholeText(), "code");
  EXPECT_EQ(core_.m4HeaderFile.GetWholeText(), "old header");
  EXPECT_EQ(LogLines(), (std::vector<std::string>{" Load code file :", "    " + At("dialog.c")}));
}

TEST_F(SourceFilesFaultTest, AFailedSaveLeavesTheTargetAsItWas) {
  // The new file is written first; whatever fails then, the target keeps its bytes
  // under its name, no backup is made and no new file is left behind.
  const std::string unchanged = "\n" + At("dialog.c") + " is unchanged.";
  const struct {
    const char* what;
    void (*fault)(FaultyFileSystem&);
    std::string message;
  } cases[] = {
      {"disk full part-way", [](FaultyFileSystem& f) { f.writeLimit = 4; },
       "Stream write error." + unchanged},
      {"disk full at once", [](FaultyFileSystem& f) { f.writeLimit = 0; },
       "Stream write error." + unchanged},
      {"sync fails", [](FaultyFileSystem& f) { f.syncError = EIO; },
       "Stream write error." + unchanged},
      {"no new file", [](FaultyFileSystem& f) { f.createError = EACCES; },
       "Cannot create file " + At("dialog.c") + "." + unchanged},
      {"no backup: read-only folder", [](FaultyFileSystem& f) { f.renameError = EACCES; },
       "Cannot make a backup of " + At("dialog.c") + ": Permission denied." + unchanged},
      {"no backup: busy", [](FaultyFileSystem& f) { f.renameError = EBUSY; },
       "Cannot make a backup of " + At("dialog.c") + ": Device or resource busy." + unchanged},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    RecordingFileSystem faulty;
    c.fault(faulty);
    platform::ScopedFileSystem scope(faulty);
    boxes_.errors.clear();
    WriteFile(dir_ / "dialog.c", "old bytes");
    core_.m4MergedFile.SetWholeText("new merged text");
    Save("dialog.c");
    ASSERT_EQ(boxes_.errors.size(), 1u);
    EXPECT_EQ(boxes_.errors[0].text, c.message);
    EXPECT_EQ(ReadFile(dir_ / "dialog.c"), "old bytes");
    EXPECT_EQ(FolderEntries(dir_), std::vector<std::string>{"dialog.c"});
    EXPECT_EQ(faulty.openFiles, 0);
    EXPECT_EQ(core_.m4Log.LineCount(), 0u);
  }
}

TEST_F(SourceFilesFaultTest, WhenTheNewFileCannotTakeTheNameTheOldOneIsKeptAsTheBackup) {
  const std::string backup = "dialog.c.2023-07-05-09-03-07";
  WriteFile(dir_ / "dialog.c", "old bytes");
  core_.m4MergedFile.SetWholeText("new");
  files_.renameError = EIO;
  files_.renamesAllowed = 1;  // the backup's rename goes through, the new file's fails
  Save("dialog.c");
  ASSERT_EQ(boxes_.errors.size(), 1u);
  EXPECT_EQ(boxes_.errors[0].text, "Cannot create file " + At("dialog.c") +
                                       ".\nIts old content is kept as " + At(backup) + ".");
  EXPECT_EQ(ReadFile(dir_ / backup), "old bytes");
  EXPECT_EQ(FolderEntries(dir_), std::vector<std::string>{backup});

  // With no old file there is no backup to name.
  boxes_.errors.clear();
  files_.renameError = EIO;
  files_.renamesAllowed = 0;
  Save("fresh.c");
  ASSERT_EQ(boxes_.errors.size(), 1u);
  EXPECT_EQ(boxes_.errors[0].text,
            "Cannot create file " + At("fresh.c") + ".\n" + At("fresh.c") + " is unchanged.");
}

#ifndef _WIN32
TEST_F(SourceFilesTest, SpecialTargetsAndLinks) {
  // A link is followed: the file it leads to is backed up and replaced in its own
  // folder, with its permission bits, and the link stays a link.
  const std::string backup = "real.c.2023-07-05-09-03-07";
  fs::create_directory(dir_ / "elsewhere");
  WriteFile(dir_ / "elsewhere/real.c", "old");
  fs::permissions(dir_ / "elsewhere/real.c",
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink("elsewhere/real.c", dir_ / "link.c");
  core_.m4MergedFile.SetWholeText("new");
  Save("link.c");
  ASSERT_TRUE(boxes_.errors.empty()) << boxes_.errors[0].text;
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.c"));
  EXPECT_EQ(ReadFile(dir_ / "elsewhere/real.c"), "new");
  EXPECT_EQ(ReadFile(dir_ / "elsewhere" / backup), "old");
  EXPECT_EQ(fs::status(dir_ / "elsewhere/real.c").permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  // A link that leads nowhere is refused.
  fs::create_symlink("missing.c", dir_ / "dangling.c");
  Save("dangling.c");
  ASSERT_EQ(boxes_.errors.size(), 1u);
  EXPECT_EQ(boxes_.errors[0].text, At("dangling.c") + " is a link to " + At("missing.c") +
                                       ", which does not exist.\n" + At("dangling.c") +
                                       " is unchanged.");
  EXPECT_FALSE(fs::exists(dir_ / "missing.c"));

  // A FIFO is written into as it is: no backup, no rename.
  ASSERT_EQ(mkfifo(At("pipe.c").c_str(), 0600), 0);
  const int reader = open(At("pipe.c").c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  Save("pipe.c");
  char received[8] = {};
  EXPECT_EQ(read(reader, received, sizeof received), 3);
  close(reader);
  EXPECT_EQ(std::string(received), "new");
  EXPECT_EQ(boxes_.errors.size(), 1u);
  EXPECT_TRUE(fs::is_fifo(dir_ / "pipe.c"));
  EXPECT_EQ(FolderEntries(dir_),
            (std::vector<std::string>{"dangling.c", "elsewhere", "link.c", "pipe.c"}));
}
#endif

}  // namespace
