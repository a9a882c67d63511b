// The log mirror: what each change of the log pane appends to the log file, and how a
// failing log file is reported without ending the command or flooding the user.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "fakes/core_harness.h"
#include "fakes/fake_files.h"
#include "fakes/temp_dir.h"

namespace fs = std::filesystem;

namespace {

// A main core whose log pane is mirrored into a log file in a fresh folder.
class ActivityLogTest : public ::testing::Test {
 protected:
  ActivityLogTest() {
    core_.logFile = (dir_ / "vaskarel.log").string();
    core_.m4Log.SetOnChange([this] { core_.OnLogChange(); });
  }

  std::string LogFile() const { return ReadFile(core_.logFile); }
  // A log file that cannot be opened: its folder does not exist.
  void BreakLogFile() { core_.logFile = (dir_ / "gone" / "vaskarel.log").string(); }
  void RepairLogFile() { fs::create_directory(dir_ / "gone"); }

  TempDir tmp_{"vk_log"};
  fs::path dir_ = tmp_.Path();
  CoreHarness h_;
  TMainCore& core_ = h_.core;
  MemoryTextView& log_ = h_.logView;
  FakeMessageBoxes& boxes_ = h_.boxes;
};

TEST_F(ActivityLogTest, EachAddedLineAppendsThePanesLastLine) {
  const struct {
    const char* what;
    std::string added;
    std::string appended;
  } cases[] = {
      {"plain line", " Load code file :", " Load code file :\r\n"},
      {"empty line", "", "\r\n"},
      {"line holding CR LF: only its last part", "DLG_TEXT[3] \"one\r\ntwo\"", "two\"\r\n"},
      {"5000 characters: the first 4096", std::string(4095, 'x') + "yz" + std::string(2903, 'w'),
       std::string(4095, 'x') + "y\r\n"},
  };
  std::string expected;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string pane = core_.m4Log.GetWholeText();
    core_.Log(c.added);
    expected += c.appended;
    EXPECT_EQ(LogFile(), expected);
    EXPECT_EQ(core_.m4Log.GetWholeText(), pane + c.added + "\r\n");  // the pane keeps it whole
  }
  EXPECT_TRUE(boxes_.errors.empty());
}

TEST_F(ActivityLogTest, EarlierRunsLinesAreKept) {
  std::ofstream(core_.logFile, std::ios::binary) << "run 1\r\n\r\n";
  core_.Log(" Save merged file :");
  EXPECT_EQ(LogFile(), "run 1\r\n\r\n Save merged file :\r\n");
}

TEST_F(ActivityLogTest, UsersEditsAreMirroredToo) {
  core_.Log("first");
  const struct {
    const char* what;
    const char* text;      // the pane after the user's edit
    const char* appended;  // what that edit appends
  } edits[] = {
      {"types a character behind the final line break", "first\r\na", "a\r\n"},
      {"types a second one", "first\r\nab", "ab\r\n"},
      {"deletes the whole text", "", "\r\n"},
  };
  std::string expected = "first\r\n";
  for (const auto& e : edits) {
    SCOPED_TRACE(e.what);
    log_.UserEdit(e.text);
    expected += e.appended;
    EXPECT_EQ(LogFile(), expected);
  }
}

TEST_F(ActivityLogTest, FailingLogFileShowsOneBoxPerCommandAndTheCommandGoesOn) {
  core_.applicationTitle = "Merge";
  BreakLogFile();
  bool finished = false;
  core_.RunCommand([&] {
    for (int i = 0; i < 10000; ++i) core_.Log("DLG_TEXT[" + std::to_string(i) + "] \"t\"");
    finished = true;
  });
  EXPECT_TRUE(finished);
  EXPECT_EQ(core_.m4Log.LineCount(), 10000u);
  ASSERT_EQ(boxes_.errors.size(), 1u);
  EXPECT_EQ(boxes_.errors[0].caption, "Merge");
  EXPECT_EQ(boxes_.errors[0].text,
            "I/O error 103.\n" + core_.logFile + ": No such file or directory");

  // The next command reports anew; a line after the file works again reaches it.
  core_.RunCommand([&] {
    core_.Log("still failing");
    RepairLogFile();
    core_.Log("written");
  });
  EXPECT_EQ(boxes_.errors.size(), 2u);
  EXPECT_EQ(LogFile(), "written\r\n");
}

TEST_F(ActivityLogTest, TheBoxNamesTheFileAndTheReason) {
  struct Case {
    const char* what;
    int appendError, closeError;
    std::string text;
  };
  const std::string log = core_.logFile;
  const Case cases[] = {
      {"a folder", 0, 0, "I/O error 103.\n" + log + ": Is a directory"},
      {"refused", EACCES, 0, "I/O error 103.\n" + log + ": Permission denied"},
      {"failing when closed at the command's end", 0, EIO,
       "I/O error 1117.\n" + log + ": Input/output error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(log);
    if (c.appendError == 0 && c.closeError == 0) fs::create_directory(log);
    FaultyFileSystem faulty;
    faulty.appendError = c.appendError;
    faulty.closeError = c.closeError;
    platform::ScopedFileSystem scope(faulty);
    boxes_.errors.clear();
    core_.RunCommand([&] { core_.Log("line"); });
    ASSERT_EQ(boxes_.errors.size(), 1u);
    EXPECT_EQ(boxes_.errors[0].text, c.text);
  }
}

TEST_F(ActivityLogTest, ACommandOpensTheLogFileOnceAndClosesItAtItsEnd) {
  FaultyFileSystem faulty;
  platform::ScopedFileSystem scope(faulty);
  std::string expected;
  core_.RunCommand([&] {
    for (int i = 0; i < 1000; ++i) {
      core_.Log("DLG_TEXT[" + std::to_string(i) + "] \"\"");
      expected += "DLG_TEXT[" + std::to_string(i) + "] \"\"\r\n";
      // Each line is in the file before the command goes on.
      if (i == 499) {
        EXPECT_EQ(LogFile(), expected);
      }
    }
  });
  EXPECT_EQ(faulty.appendCalls, 1);
  EXPECT_EQ(faulty.writeCalls, 1000);
  EXPECT_EQ(faulty.openFiles, 0);
  EXPECT_EQ(LogFile(), expected);
  // An edit typed outside a command opens the file for its line alone.
  log_.UserEdit(core_.m4Log.GetWholeText() + "x");
  EXPECT_EQ(faulty.appendCalls, 2);
  EXPECT_EQ(faulty.openFiles, 0);
  EXPECT_EQ(LogFile(), expected + "x\r\n");
}

TEST_F(ActivityLogTest, EditsOutsideACommandShowAtMostOneBox) {
  core_.RunCommand([&] { core_.Log("fine"); });
  BreakLogFile();
  for (const char* text : {"fine\r\nx", "fine\r\nxy", "fine\r\nxyz"}) log_.UserEdit(text);
  EXPECT_EQ(boxes_.errors.size(), 1u);
  EXPECT_EQ(core_.m4Log.GetWholeText(), "fine\r\nxyz");
}

}  // namespace
