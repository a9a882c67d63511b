#include "platform/process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/files.h"

TEST(ProcessTest, ExecutablePathNamesTheRunningProgram) {
  const std::string path = platform::ExecutablePath();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.front(), '/');
  EXPECT_EQ(path.substr(path.rfind('/') + 1), "test_platform");
  EXPECT_TRUE(platform::RealFiles().FileExists(path));
}

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
