#include "platform/process.h"

#include <gtest/gtest.h>

#include "platform/files.h"

TEST(ProcessTest, ExecutablePathNamesTheRunningProgram) {
  const std::string path = platform::ExecutablePath();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.front(), '/');
  EXPECT_EQ(path.substr(path.rfind('/') + 1), "test_platform");
  EXPECT_TRUE(platform::RealFiles().FileExists(path));
}
