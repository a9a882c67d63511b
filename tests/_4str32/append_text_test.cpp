#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "_4str32/_4str32.h"
#include "fakes/fake_files.h"
#include "fakes/temp_dir.h"
#include "platform/files.h"

namespace fs = std::filesystem;

namespace {

class AppendTextTest : public ::testing::Test {
 protected:
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

  TempDir tmp_{"vk-append"};
  std::string dir_ = tmp_.Path();
};

TEST_F(AppendTextTest, AppendsBytesAsTheyAreAndCreatesMissingFiles) {
  // The second name is well past 259 characters, with a 255-character last component.
  std::string deep = dir_;
  for (char c : {'a', 'b', 'c', 'd'}) deep += "/" + std::string(60, c);
  fs::create_directories(deep);
  for (const std::string& log : {Path("log.txt"), deep + "/" + std::string(251, 'n') + ".log"}) {
    SCOPED_TRACE(log);
    AppendTextToFile(log, "t1\r\n");
    AppendTextToFile(log, std::string("t2\0\xFF", 4));
    AppendTextToFile(log, "");
    EXPECT_EQ(Get(log), std::string("t1\r\nt2\0\xFF", 8));
  }
  AppendTextToFile(Path("empty.txt"), "");
  EXPECT_TRUE(fs::is_regular_file(Path("empty.txt")));
  EXPECT_EQ(Get(Path("empty.txt")), "");
}

TEST_F(AppendTextTest, EveryOpenFailureGives103) {
  fs::create_directory(Path("sub"));
  for (const std::string& name :
       {Path("missing/log.txt"), Path("sub"), Path("sub/") + std::string(300, 'n')}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(ErrorCodeOf([&] { AppendTextToFile(name, "text"); }), 103);
  }
  EXPECT_EQ(EInOutError(103).Message(), "I/O error 103");
  EXPECT_FALSE(fs::exists(Path("missing")));
  // The detail names the file and the system's reason.
  try {
    AppendTextToFile(Path("sub"), "text");
    ADD_FAILURE() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.Detail(), Path("sub") + ": Is a directory");
  }
  for (int cause : {EACCES, EMFILE, ENOSPC, EROFS}) {
    SCOPED_TRACE(cause);
    FaultyFileSystem faulty;
    faulty.appendError = cause;
    platform::ScopedFileSystem scope(faulty);
    EXPECT_EQ(ErrorCodeOf([&] { AppendTextToFile(Path("log"), "x"); }), 103);
  }
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
      {ENOSPC, 0, 101, "Disk full"},     {EIO, 0, 1117, "I/O error 1117"},
      {EFBIG, 0, EFBIG, "I/O error 27"}, {0, EIO, 1117, "I/O error 1117"},
      {ENOSPC, EIO, 101, "Disk full"},
#ifdef EDQUOT
      {EDQUOT, 0, 101, "Disk full"},
#endif
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
      EXPECT_EQ(e.Detail(),
                name + ": " + std::strerror(c.writeError ? c.writeError : c.closeError));
    }
    EXPECT_EQ(Get(name), c.writeError ? "kept abc" : "kept abcdef");
  }
}

}  // namespace
