#include "platform/files.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <thread>
#include <vector>

#include "fakes/fake_files.h"
#include "files_fixture.h"

namespace fs = std::filesystem;
using platform::Files;
using platform::RealFiles;

namespace {

TEST_F(FilesTest, ExistenceTellsFilesFromDirectories) {
  Put("f", "x");
  fs::create_directory(Path("d"));
  struct Case {
    std::string path;
    bool file, directory;
  } cases[] = {{Path("f"), true, false},     {Path("d"), false, true},    {Path("d/"), false, true},
               {Path("none"), false, false}, {Path("f/x"), false, false}, {"", false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(RealFiles().FileExists(c.path), c.file);
    EXPECT_EQ(RealFiles().DirectoryExists(c.path), c.directory);
  }
}

TEST_F(FilesTest, RenameNeverReplaces) {
  Put("a", "old a");
  Put("b", "old b");
  EXPECT_EQ(RealFiles().RenameNoReplace(Path("a"), Path("b")), EEXIST);
  EXPECT_EQ(Get("a"), "old a");
  EXPECT_EQ(Get("b"), "old b");

  EXPECT_EQ(RealFiles().RenameNoReplace(Path("a"), Path("c")), 0);
  EXPECT_FALSE(RealFiles().FileExists(Path("a")));
  EXPECT_EQ(Get("c"), "old a");
  EXPECT_EQ(RealFiles().RenameNoReplace(Path("missing"), Path("d")), ENOENT);
}

// Many threads rename their own file to one shared name at once: exactly one wins,
// and the winner's bytes are what the name holds; every loser keeps its file.
TEST_F(FilesTest, RenameRaceHasOneWinnerAndLosesNothing) {
  constexpr int kThreads = 8;
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    for (int t = 0; t < kThreads; ++t) Put("src" + std::to_string(t), "from " + std::to_string(t));
    std::atomic<bool> go{false};
    std::vector<int> results(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
      threads.emplace_back([&, t] {
        while (!go) {
        }
        results[t] = RealFiles().RenameNoReplace(Path("src" + std::to_string(t)), Path("target"));
      });
    }
    go = true;
    for (auto& th : threads) th.join();
    int winner = -1;
    for (int t = 0; t < kThreads; ++t) {
      if (results[t] == 0) {
        EXPECT_EQ(winner, -1) << "two renames succeeded";
        winner = t;
      } else {
        EXPECT_EQ(results[t], EEXIST);
        EXPECT_EQ(Get("src" + std::to_string(t)), "from " + std::to_string(t));
      }
    }
    ASSERT_NE(winner, -1);
    EXPECT_EQ(Get("target"), "from " + std::to_string(winner));
    fs::remove(Path("target"));
    for (int t = 0; t < kThreads; ++t) fs::remove(Path("src" + std::to_string(t)));
  }
}

TEST_F(FilesTest, ReadWholeFileErrors) {
  Put("bytes", std::string("a\0b\r\n\xff", 6));
  EXPECT_EQ(Get("bytes"), std::string("a\0b\r\n\xff", 6));
  Put("empty", "");
  EXPECT_EQ(Get("empty"), "");

  fs::create_directory(Path("d"));
  struct Case {
    std::string path;
    int err;
  } cases[] = {{Path("none"), ENOENT},
               {Path("d"), EISDIR},
               {Path("none/x"), ENOENT},
               {Path("bytes/x"), ENOTDIR},
               {"", ENOENT}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    std::string out = "stale";
    EXPECT_EQ(RealFiles().ReadWholeFile(c.path, out), c.err);
    EXPECT_EQ(out, "");
  }
}

TEST_F(FilesTest, ReadTextStopsAtTheFirstNulAndAtTheLimit) {
  Put("text", "abcd");
  Put("with-nul", std::string("ab\0cdefgh", 9));
  fs::create_directory(Path("d"));
  struct Case {
    std::string path;
    size_t limit;
    int err;
    std::string text;
  } cases[] = {{Path("text"), 4, 0, "abcd"},
               {Path("text"), 3, EFBIG, ""},
               {Path("with-nul"), 2, 0, "ab"},  // what follows the NUL does not count
               {Path("d"), 10, EISDIR, ""},
               {Path("none"), 10, ENOENT, ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path + " " + std::to_string(c.limit));
    std::string out = "stale";
    EXPECT_EQ(RealFiles().ReadTextUpToNul(c.path, c.limit, out), c.err);
    EXPECT_EQ(out, c.text);
  }
}

TEST_F(FilesTest, CreateOrReplaceTruncatesAndAppendAppends) {
  Put("f", "a long old content");
  int err = -1;
  auto file = RealFiles().CreateOrReplace(Path("f"), err);
  ASSERT_TRUE(file);
  EXPECT_EQ(err, 0);
  size_t written = 0;
  EXPECT_EQ(file->Write("new", &written), 0);
  EXPECT_EQ(written, 3u);
  EXPECT_EQ(file->Sync(), 0);
  EXPECT_EQ(file->Close(), 0);
  EXPECT_EQ(file->Close(), 0);  // a second close does nothing
  EXPECT_EQ(Get("f"), "new");

  auto log = RealFiles().OpenAppend(Path("f"), err);
  ASSERT_TRUE(log);
  EXPECT_EQ(log->Write(" more"), 0);
  log.reset();
  EXPECT_EQ(Get("f"), "new more");

  auto fresh = RealFiles().OpenAppend(Path("g"), err);
  ASSERT_TRUE(fresh);
  EXPECT_EQ(fresh->Write("x"), 0);
  fresh.reset();
  EXPECT_EQ(Get("g"), "x");
  EXPECT_EQ(RealFiles().SyncParentDirectory(Path("g")), 0);
}

TEST_F(FilesTest, OpeningFailsForMissingFolderOrDirectoryName) {
  fs::create_directory(Path("d"));
  Put("f", "");
  struct Case {
    std::string path;
    int err;
  } cases[] = {
      {Path("missing/x"), ENOENT}, {Path("d"), EISDIR}, {Path("f/x"), ENOTDIR}, {"", ENOENT}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    int err = 0;
    EXPECT_EQ(RealFiles().CreateOrReplace(c.path, err), nullptr);
    EXPECT_EQ(err, c.err);
    err = 0;
    EXPECT_EQ(RealFiles().OpenAppend(c.path, err), nullptr);
    EXPECT_EQ(err, c.err);
  }
  EXPECT_FALSE(fs::exists(Path("missing")));
}

TEST_F(FilesTest, ForceDirectoriesCreatesEveryMissingParent) {
  Put("file", "");
  struct Case {
    std::string path;
    int err;
  } cases[] = {{Path("a/b/c"), 0},          {Path("a/b/c"), 0},      {Path("x//y/"), 0},
               {Path("file/sub"), ENOTDIR}, {Path("file"), ENOTDIR}, {"", ENOENT}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(RealFiles().ForceDirectories(c.path, platform::kSharedFolderMode), c.err);
    if (c.err == 0) {
      EXPECT_TRUE(RealFiles().DirectoryExists(c.path));
    }
  }
}

TEST_F(FilesTest, CurrentDirectoryRoundTrip) {
  std::string before = RealFiles().CurrentDirectory();
  ASSERT_FALSE(before.empty());
  EXPECT_EQ(RealFiles().SetCurrentDirectory(dir_), 0);
  EXPECT_EQ(fs::path(RealFiles().CurrentDirectory()), fs::canonical(dir_));
  EXPECT_EQ(RealFiles().SetCurrentDirectory(Path("none")), ENOENT);
  EXPECT_EQ(RealFiles().SetCurrentDirectory(before), 0);
}

TEST_F(FilesTest, FaultyFileSystemFailsWhereTold) {
  FaultyFileSystem faulty;
  platform::ScopedFileSystem scope(faulty);
  ASSERT_EQ(&Files(), &faulty);

  faulty.writeLimit = 4;
  int err = 0;
  auto file = Files().CreateOrReplace(Path("f"), err);
  ASSERT_TRUE(file);
  size_t written = 0;
  EXPECT_EQ(file->Write("abc", &written), 0);
  EXPECT_EQ(file->Write("defg", &written), ENOSPC);
  EXPECT_EQ(written, 1u);
  file.reset();
  EXPECT_EQ(Get("f"), "abcd");

  faulty.createError = EACCES;
  EXPECT_EQ(Files().CreateOrReplace(Path("g"), err), nullptr);
  EXPECT_EQ(err, EACCES);
  faulty.appendError = EROFS;
  EXPECT_EQ(Files().OpenAppend(Path("g"), err), nullptr);
  EXPECT_EQ(err, EROFS);
  faulty.renameError = EXDEV;
  EXPECT_EQ(Files().RenameNoReplace(Path("f"), Path("h")), EXDEV);
  faulty.noStandardOutput = true;
  EXPECT_EQ(Files().StandardOutput(err), nullptr);
  EXPECT_EQ(err, EBADF);
  EXPECT_EQ(faulty.createCalls, 2);
  EXPECT_EQ(faulty.appendCalls, 1);
  EXPECT_EQ(faulty.renameCalls, 1);
  EXPECT_FALSE(fs::exists(Path("g")));
  EXPECT_TRUE(fs::exists(Path("f")));
}

}  // namespace
