// The Windows file system as Windows itself answers: share modes, the no-replace rename
// of MoveFileExW, backslashes and drive letters, and names outside the ANSI code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files_fixture.h"

using platform::RealFiles;

namespace {

// Another program's handle on a file, with the access and sharing it asks for.
class OtherHandle {
 public:
  OtherHandle(const std::string& path, DWORD access, DWORD share)
      : handle_(CreateFileA(path.c_str(), access, share, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~OtherHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  bool Open() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

TEST_F(FilesTest, AFileOpenForWritingElsewhereCannotBeRead) {
  Put("held", "text");
  std::string out;
  {
    OtherHandle writer(Path("held"), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(writer.Open());
    EXPECT_EQ(RealFiles().ReadWholeFile(Path("held"), out), EBUSY);
  }
  {
    OtherHandle reader(Path("held"), GENERIC_READ, FILE_SHARE_READ);
    ASSERT_TRUE(reader.Open());  // others reading do not stop a read
    EXPECT_EQ(RealFiles().ReadWholeFile(Path("held"), out), 0);
    EXPECT_EQ(out, "text");
  }
}

TEST_F(FilesTest, WhatTheProgramWritesOthersMayOnlyRead) {
  int err = 0;
  {
    auto file = RealFiles().CreateOrReplace(Path("saved"), err);
    ASSERT_TRUE(file);
    OtherHandle reader(Path("saved"), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_FALSE(reader.Open());  // a file being replaced is the program's alone
  }
  {
    auto log = RealFiles().OpenAppend(Path("log"), err);
    ASSERT_TRUE(log);
    OtherHandle reader(Path("log"), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    OtherHandle writer(Path("log"), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_TRUE(reader.Open());
    EXPECT_FALSE(writer.Open());
  }
  OtherHandle writer(Path("log"), GENERIC_WRITE, FILE_SHARE_READ);
  ASSERT_TRUE(writer.Open());
  EXPECT_EQ(RealFiles().CreateOrReplace(Path("log"), err), nullptr);
  EXPECT_EQ(err, EBUSY);
  EXPECT_EQ(RealFiles().OpenAppend(Path("log"), err), nullptr);
  EXPECT_EQ(err, EBUSY);
}

TEST_F(FilesTest, BackslashesDriveLettersAndNamesOutsideTheAnsiCodePage) {
  // The folder as Windows users write it: from its drive letter, backslashes only.
  std::string native = dir_;
  for (char& c : native) c = c == '/' ? '\\' : c;
  ASSERT_EQ(native[1], ':');
  const std::vector<std::string> names = {
      "plain.c",
      "\xD0\x94\xD0\xB8\xD0\xB0\xD0\xBB\xD0\xBE\xD0\xB3.c",  // Cyrillic
      "\xE5\xAF\xBE\xE8\xA9\xB1.c",                          // CJK
      "Stra\xC3\x9F"
      "e \xE2\x82\xAC.c",  // ß and the euro sign
  };
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const std::string path = native + "\\sub\\" + name;
    ASSERT_EQ(RealFiles().ForceDirectories(native + "\\sub", platform::kSharedFolderMode), 0);
    int err = 0;
    auto file = RealFiles().CreateOrReplace(path, err);
    ASSERT_TRUE(file) << err;
    EXPECT_EQ(file->Write("bytes of " + name), 0);
    EXPECT_EQ(file->Sync(), 0);
    file.reset();
    EXPECT_TRUE(RealFiles().FileExists(path));
    std::string out;
    EXPECT_EQ(RealFiles().ReadWholeFile(native + "/sub/" + name, out), 0);
    EXPECT_EQ(out, "bytes of " + name);
    EXPECT_EQ(RealFiles().RenameNoReplace(path, path + ".bak"), 0);
    EXPECT_EQ(RealFiles().FindIgnoringCase(native + "\\SUB\\" + name + ".BAK"),
              native + "\\SUB\\" + name + ".bak");  // the last name as it stands on disk
  }
  std::vector<platform::DirectoryEntry> entries;
  ASSERT_EQ(RealFiles().ListDirectory(native + "\\sub", entries), 0);
  std::vector<std::string> listed;
  for (const auto& e : entries) listed.push_back(e.name);
  std::vector<std::string> expected;
  for (const std::string& name : names) expected.push_back(name + ".bak");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(listed, expected);
}

TEST_F(FilesTest, TheRenameOntoATakenNameFailsWhateverTheLetterCase) {
  Put("dialog.c", "new");
  Put("DIALOG.C.bak", "old");
  EXPECT_EQ(RealFiles().RenameNoReplace(Path("dialog.c"), Path("dialog.c.BAK")), EEXIST);
  EXPECT_EQ(Get("dialog.c"), "new");
  EXPECT_EQ(Get("DIALOG.C.bak"), "old");
}

}  // namespace
