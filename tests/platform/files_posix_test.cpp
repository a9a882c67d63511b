// The file system where only POSIX systems behave so: processes forked to append,
// a standard output closed under the program, names told apart by letter case, and
// devices that never end.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "files_fixture.h"

namespace fs = std::filesystem;
using platform::RealFiles;

namespace {

// Two processes append 10,000 lines each to one file; every line arrives whole.
TEST_F(FilesTest, TwoProcessesAppendingLoseNoLine) {
  constexpr int kLines = 10000;
  const std::string path = Path("log.txt");
  pid_t children[2];
  for (int p = 0; p < 2; ++p) {
    children[p] = fork();
    ASSERT_GE(children[p], 0);
    if (children[p] == 0) {
      int failures = 0;
      for (int i = 0; i < kLines; ++i) {
        int err = 0;
        auto file = RealFiles().OpenAppend(path, err);
        std::string line = "process " + std::to_string(p) + " line " + std::to_string(i) +
                           std::string(40 + i % 50, 'a' + p) + "\r\n";
        if (!file || file->Write(line) != 0 || file->Close() != 0) ++failures;
      }
      _exit(failures == 0 ? 0 : 1);
    }
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  std::string text;
  ASSERT_EQ(RealFiles().ReadWholeFile(path, text), 0);
  std::vector<int> next(2, 0);
  size_t lines = 0;
  for (size_t pos = 0; pos < text.size();) {
    size_t end = text.find("\r\n", pos);
    ASSERT_NE(end, std::string::npos) << "a line without its break";
    std::string line = text.substr(pos, end - pos);
    int p = line[8] - '0';
    ASSERT_TRUE(p == 0 || p == 1) << line;
    std::string expected = "process " + std::to_string(p) + " line " + std::to_string(next[p]) +
                           std::string(40 + next[p] % 50, 'a' + p);
    ASSERT_EQ(line, expected);
    ++next[p];
    ++lines;
    pos = end + 2;
  }
  EXPECT_EQ(lines, 2u * kLines);
  EXPECT_EQ(next[0], kLines);
  EXPECT_EQ(next[1], kLines);
}

TEST_F(FilesTest, StandardOutputIsNeverClosed) {
  int err = -1;
  auto out = RealFiles().StandardOutput(err);
  ASSERT_TRUE(out);
  EXPECT_EQ(err, 0);
  EXPECT_EQ(out->Close(), 0);
  EXPECT_NE(fcntl(STDOUT_FILENO, F_GETFL), -1);

  // Without a standard output the call reports EBADF.
  int saved = dup(STDOUT_FILENO);
  ASSERT_GE(saved, 0);
  close(STDOUT_FILENO);
  auto none = RealFiles().StandardOutput(err);
  dup2(saved, STDOUT_FILENO);
  close(saved);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(err, EBADF);
}

TEST_F(FilesTest, FindIgnoringCase) {
  fs::create_directories(Path("Config/Sub"));
  Put("Config/Sub/Merge.INI", "");
  Put("Config/Straße.TXT", "");
  Put("Config/ÄRGER.txt", "");
  Put("Config/\xC4rger.dat", "");  // not UTF-8: compared in the legacy code page
  Put("Plain", "");
  const std::string base = dir_ + "/";
  struct Case {
    std::string path;
    std::optional<std::string> found;
  } cases[] = {
      {base + "Config/Sub/Merge.INI", base + "Config/Sub/Merge.INI"},
      {base + "config/sub/merge.ini", base + "Config/Sub/Merge.INI"},
      {base + "CONFIG//SUB/MERGE.ini", base + "Config/Sub/Merge.INI"},
      {base + "config/straße.txt", base + "Config/Straße.TXT"},
      {base + "config/ärger.txt", base + "Config/ÄRGER.txt"},
      {base + "config/\xE4rger.dat", base + "Config/\xC4rger.dat"},
      {base + "config/sub/", base + "Config/Sub/"},
      {base + "config/missing.ini", std::nullopt},
      {base + "plain/x", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(RealFiles().FindIgnoringCase(c.path), c.found);
  }

  // A relative name is looked up from the current directory and stays relative.
  std::string before = RealFiles().CurrentDirectory();
  ASSERT_EQ(RealFiles().SetCurrentDirectory(dir_), 0);
  EXPECT_EQ(RealFiles().FindIgnoringCase("config/SUB/merge.ini"),
            std::optional<std::string>("Config/Sub/Merge.INI"));
  EXPECT_EQ(RealFiles().FindIgnoringCase("./plain"), std::optional<std::string>("./Plain"));
  ASSERT_EQ(RealFiles().SetCurrentDirectory(before), 0);
}

TEST_F(FilesTest, ReadTextOfAnEndlessDeviceStopsAtTheLimit) {
  std::string out = "stale";
  EXPECT_EQ(RealFiles().ReadTextUpToNul("/dev/zero", 2, out), 0);
  EXPECT_EQ(out, "");
}

// The permission bits of a folder, or -1 when it is missing.
int ModeOf(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}

TEST_F(FilesTest, ForceDirectoriesGivesNewFoldersTheModeAndLeavesOldOnes) {
  const mode_t mask = ::umask(022);
  EXPECT_EQ(::mkdir(Path("old").c_str(), 0755), 0);
  EXPECT_EQ(RealFiles().ForceDirectories(Path("old/new/newer"), platform::kPrivateFolderMode), 0);
  EXPECT_EQ(RealFiles().ForceDirectories(Path("shared"), platform::kSharedFolderMode), 0);
  ::umask(mask);
  const std::pair<const char*, int> cases[] = {
      {"old", 0755}, {"old/new", 0700}, {"old/new/newer", 0700}, {"shared", 0755}};
  for (const auto& [name, mode] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(ModeOf(Path(name)), mode);
  }
}

}  // namespace
