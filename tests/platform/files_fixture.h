// The fixture of the file-system tests: a fresh folder per test, and whole files put
// into it and read back through the real file system.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "fakes/temp_dir.h"
#include "platform/files.h"

// A fresh directory per test, removed afterwards.
class FilesTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  void Put(const std::string& name, const std::string& bytes) const {
    WriteFile(Path(name), bytes);
  }
  std::string Get(const std::string& name) const {
    std::string out;
    EXPECT_EQ(platform::RealFiles().ReadWholeFile(Path(name), out), 0) << name;
    return out;
  }

  TempDir tmp_{"vk-files"};
  std::string dir_ = tmp_.Path();
};
