#include "platform/process.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>

#include "platform/files.h"
#include "platform/paths.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

TEST(ProcessTest, ExecutablePathNamesTheRunningProgram) {
  const std::string path = platform::ExecutablePath();
  ASSERT_FALSE(path.empty());
  EXPECT_TRUE(platform::IsAbsolutePath(path)) << path;
#ifdef _WIN32
  EXPECT_EQ(platform::BaseName(path), "test_platform.exe");
#else
  EXPECT_EQ(platform::BaseName(path), "test_platform");
#endif
  EXPECT_TRUE(platform::RealFiles().FileExists(path));
}

#ifndef _WIN32
TEST(ProcessDeathTest, AClosedStandardOutputIsNeverHandedToAnotherFile) {
  EXPECT_EXIT(
      {
        ::close(STDOUT_FILENO);
        platform::ReserveStandardDescriptors();
        const int later = ::open("/dev/null", O_WRONLY);  // any file opened afterwards
        int err = 0;
        const bool unusable = platform::RealFiles().StandardOutput(err) == nullptr;
        std::_Exit(later != STDOUT_FILENO && unusable && err == EBADF ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}
#endif
