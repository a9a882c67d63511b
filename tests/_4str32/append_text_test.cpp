#include <gtest/gtest.h>
#include <stdlib.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "_4str32/_4str32.h"
#include "fakes/fake_files.h"
#include "platform/files.h"

namespace fs = std::filesystem;

namespace {

class AppendTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "vk-append-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  static std::string Get(const std::string& path) {
    std::string out;
    EXPECT_EQ(platform::RealFiles().ReadWholeFile(path, out), 0) << path;
    return out;
  }
  // The code of the I/O error that f raises, or -1 when it raises none.
  template <typename F>
  static int ErrorCodeOf(F&& f) {
    try {
      f();
    } catch (const EInOutError& e) {
      return e.ErrorCode();
    }
    return -1;
  }

  std::string dir_;
};

TEST_F(AppendTextTest, AppendsBytesAsTheyAreAndCreatesMissingFiles) {
  const std::string log = Path("log.txt");
  AppendTextToFile(log, "t1\r\n");
  AppendTextToFile(log, std::string("t2\0\xFF", 4));
  EXPECT_EQ(Get(log), std::string("t1\r\nt2\0\xFF", 8));

  const std::string empty = Path("empty.txt");
  AppendTextToFile(empty, "");
  EXPECT_TRUE(fs::is_regular_file(empty));
  EXPECT_EQ(Get(empty), "");
  AppendTextToFile(log, "");
  EXPECT_EQ(Get(log).size(), 8u);
}

TEST_F(AppendTextTest, LongNamesAreNotCut) {
  // Well past 259 characters in all, with a 255-character last component.
  std::string deep = dir_;
  for (int i = 0; i < 4; ++i) deep += "/" + std::string(60, static_cast<char>('a' + i));
  fs::create_directories(deep);
  const std::string name = deep + "/" + std::string(251, 'n') + ".log";
  ASSERT_GT(name.size(), 259u);
  AppendTextToFile(name, "x");
  AppendTextToFile(name, "y");
  EXPECT_EQ(Get(name), "xy");
}

TEST_F(AppendTextTest, NamesThatCannotBeOpenedGive103) {
  fs::create_directory(Path("sub"));
  const std::vector<std::string> names = {Path("missing/log.txt"), Path("sub"),
                                          Path("sub/") + std::string(300, 'n')};
  for (const auto& name : names) {
    SCOPED_TRACE(name);
    try {
      AppendTextToFile(name, "text");
      ADD_FAILURE() << "no error";
    } catch (const EInOutError& e) {
      EXPECT_EQ(e.ErrorCode(), 103);
      EXPECT_EQ(e.Message(), "I/O error 103");
    }
  }
  EXPECT_FALSE(fs::exists(Path("missing")));
}

TEST_F(AppendTextTest, OpenFailuresOfAnyCauseGive103) {
  for (int cause : {EACCES, EMFILE, ENOSPC, EROFS}) {
    SCOPED_TRACE(cause);
    FaultyFileSystem faulty;
    faulty.appendError = cause;
    platform::ScopedFileSystem scope(faulty);
    EXPECT_EQ(ErrorCodeOf([&] { AppendTextToFile(Path("log"), "x"); }), 103);
    EXPECT_EQ(faulty.writeCalls, 0);
  }
  EXPECT_FALSE(fs::exists(Path("log")));
}

TEST_F(AppendTextTest, EmptyNameIsStandardOutput) {
  FaultyFileSystem faulty;
  faulty.captureStandardOutput = true;
  platform::ScopedFileSystem scope(faulty);
  AppendTextToFile("", "line 1\r\n");
  AppendTextToFile("", "line 2\r\n");
  EXPECT_EQ(faulty.standardOutput, "line 1\r\nline 2\r\n");
  EXPECT_EQ(faulty.appendCalls, 0);

  faulty.noStandardOutput = true;
  EXPECT_EQ(ErrorCodeOf([] { AppendTextToFile("", "x"); }), 103);
}

TEST_F(AppendTextTest, WholeTextGoesOutInOneWrite) {
  FaultyFileSystem faulty;
  platform::ScopedFileSystem scope(faulty);
  const std::string text(1 << 20, 'z');
  AppendTextToFile(Path("big"), text);
  EXPECT_EQ(faulty.writeCalls, 1);
  EXPECT_EQ(Get(Path("big")), text);
}

TEST_F(AppendTextTest, FailedWritesCarryTheSystemCode) {
  struct Case {
    int writeError, closeError, code;
    std::string message;
  };
  const std::vector<Case> cases = {
      {ENOSPC, 0, 101, "Disk full"},    {EDQUOT, 0, 101, "Disk full"},
      {EIO, 0, 1117, "I/O error 1117"}, {EFBIG, 0, EFBIG, "I/O error 27"},
      {0, EIO, 1117, "I/O error 1117"}, {ENOSPC, EIO, 101, "Disk full"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "write " << c.writeError << " close " << c.closeError);
    const std::string name =
        Path("log" + std::to_string(c.writeError) + "-" + std::to_string(c.closeError));
    AppendTextToFile(name, "kept ");
    FaultyFileSystem faulty;
    faulty.writeLimit = c.writeError ? 3 : 100;
    faulty.writeError = c.writeError;
    faulty.closeError = c.closeError;
    platform::ScopedFileSystem scope(faulty);
    try {
      AppendTextToFile(name, "abcdef");
      ADD_FAILURE() << "no error";
    } catch (const EInOutError& e) {
      EXPECT_EQ(e.ErrorCode(), c.code);
      EXPECT_EQ(e.Message(), c.message);
    }
    EXPECT_EQ(Get(name), c.writeError ? "kept abc" : "kept abcdef");
  }
}

}  // namespace
