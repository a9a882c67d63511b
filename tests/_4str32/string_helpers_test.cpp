#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "_4str32/_4str32.h"

namespace {

TEST(CollapseRuns, Cases) {
  struct Case {
    std::string text, set, expected;
  };
  const std::vector<Case> cases = {
      {"", "/\\", ""},
      {"/", "/\\", "/"},
      {"a///b", "/\\", "a/b"},
      {"a/\\b", "/\\", "a/\\b"},
      {"a//\\\\b", "/\\", "a/\\b"},
      {"aabb//", "/", "aabb/"},
      {"aa//", "", "aa//"},
      {"\xE4\xE4x", "\xE4", "\xE4x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("text \"" + c.text + "\" set \"" + c.set + "\"");
    EXPECT_EQ(CollapseRuns(c.text, c.set), c.expected);
  }
}

TEST(NormalizePath, Cases) {
  struct Case {
    std::string path, separator, expected;
  };
  const std::vector<Case> cases = {
      {"", "\\", ""},
      {"abc", "\\", "abc\\"},
      {"abc\\", "\\", "abc\\"},
      {"a\\\\b", "\\", "a\\b\\"},
      {"\\\\srv\\x", "\\", "\\srv\\x\\"},
      {"//srv/x", "\\", "//srv/x\\"},
      {"///srv", "\\", "//srv\\"},
      {"a/", "\\", "a/\\"},
      {"a//b\\\\", "", "a/b\\"},
      {"abc", "", "abc"},
      {"/home/me", "/x", "/home/me/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("path \"" + c.path + "\" separator \"" + c.separator + "\"");
    EXPECT_EQ(NormalizePath(c.path, c.separator), c.expected);
  }
}

TEST(SubstituteAll, Cases) {
  struct Case {
    std::string text, pattern, replacement, expected;
  };
  const std::vector<Case> cases = {
      {"aaa", "aa", "b", "ba"},
      {"abab", "ab", "abab", "abababab"},
      {"xyz", "z", "Q", "xyQ"},
      {"xyz", "xyz", "", ""},
      {"x DLG_TEXT[1] y DLG_TEXT[1]", "DLG_TEXT[1]", "\"hi\"", "x \"hi\" y \"hi\""},
      {"DLG_TEXT[10]", "DLG_TEXT[1]", "\"t\"", "DLG_TEXT[10]"},
      {"ab", "abc", "X", "ab"},
      {"", "a", "X", ""},
      {"abc", "", "X", "abc"},
      {"no match here", "zz", "X", "no match here"},
      {std::string("a\0b\0", 4), std::string("\0", 1), "-", "a-b-"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("text \"" + c.text + "\" pattern \"" + c.pattern + "\"");
    EXPECT_EQ(SubstituteAll(c.text, c.pattern, c.replacement), c.expected);
  }
}

TEST(EInOutError, MessagesFollowTheCode) {
  const std::vector<std::pair<int, std::string>> cases = {
      {2, "File not found"},          {3, "Invalid filename"},          {4, "Too many open files"},
      {5, "File access denied"},      {100, "Read beyond end of file"}, {101, "Disk full"},
      {106, "Invalid numeric input"}, {103, "I/O error 103"},           {0, "I/O error 0"},
      {-1, "I/O error -1"},           {1117, "I/O error 1117"},
  };
  for (const auto& [code, message] : cases) {
    SCOPED_TRACE(code);
    const EInOutError e(code);
    EXPECT_EQ(e.ErrorCode(), code);
    EXPECT_EQ(e.Message(), message);
    EXPECT_STREQ(e.what(), message.c_str());
  }
}

TEST(Exceptions, FileMessages) {
  EXPECT_EQ(EFOpenError("/x/a.c").Message(), "Cannot open file /x/a.c");
  EXPECT_EQ(EFCreateError("b.c").Message(), "Cannot create file b.c");
  EXPECT_EQ(EWriteError().Message(), "Stream write error");
  EXPECT_EQ(EMemoCapacity().Message(), "Text exceeds memo capacity");
}

}  // namespace
