// The path rules of both systems, whichever system runs the tests.
#include "platform/paths.h"

#include <gtest/gtest.h>

#include <string>

using platform::kPosixPaths;
using platform::kWindowsPaths;
using platform::PathStyle;

namespace {

TEST(PathsTest, FolderBaseNameAndRoot) {
  struct Case {
    const PathStyle& style;
    std::string path, folder, base;
    size_t root;
  } cases[] = {
      {kPosixPaths, "/a/b.c", "/a", "b.c", 1},
      {kPosixPaths, "b.c", "", "b.c", 0},
      {kPosixPaths, "/b.c", "/", "b.c", 1},
      {kPosixPaths, "a/b/", "a/b", "", 0},
      {kPosixPaths, "a//b", "a", "b", 0},
      {kPosixPaths, "/a/b/c", "/a/b", "c", 1},
      {kPosixPaths, "a\\b.c", "", "a\\b.c", 0},  // a backslash is part of a POSIX name
      {kPosixPaths, "C:x", "", "C:x", 0},
      {kPosixPaths, "", "", "", 0},
      {kWindowsPaths, "C:\\Scripts\\dialog.c", "C:\\Scripts", "dialog.c", 3},
      {kWindowsPaths, "C:\\dialog.c", "C:\\", "dialog.c", 3},
      {kWindowsPaths, "C:/Scripts/sub\\dialog.c", "C:/Scripts/sub", "dialog.c", 3},
      {kWindowsPaths, "C:dialog.c", "C:", "dialog.c", 2},
      {kWindowsPaths, "\\dialog.c", "\\", "dialog.c", 1},
      {kWindowsPaths, "scripts\\\\dialog.c", "scripts", "dialog.c", 0},
      {kWindowsPaths, "\\\\server\\share\\dialog.c", "\\\\server\\share\\", "dialog.c", 15},
      {kWindowsPaths, "\\\\server\\share", "\\\\server\\share", "share", 14},
      {kWindowsPaths, "dialog.c", "", "dialog.c", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(platform::FolderOf(c.path, c.style), c.folder);
    EXPECT_EQ(platform::BaseName(c.path, c.style), c.base);
    EXPECT_EQ(platform::RootLength(c.path, c.style), c.root);
    EXPECT_EQ(platform::IsAbsolutePath(c.path, c.style), c.root > 0);
  }
}

TEST(PathsTest, JoinAndAbsolute) {
  struct Case {
    const PathStyle& style;
    std::string folder, name, joined, cwd, absolute;
  } cases[] = {
      {kPosixPaths, "out", "a.c", "out/a.c", "/w", "/w/out/a.c"},
      {kPosixPaths, "out/", "a.c", "out/a.c", "/w", "/w/out/a.c"},
      {kPosixPaths, "", "a.c", "a.c", "/w", "/w/a.c"},
      {kPosixPaths, "/x/./y/..", "a.c", "/x/./y/../a.c", "/w", "/x/a.c"},
      {kPosixPaths, "/", "..", "/..", "/w", "/"},
      {kWindowsPaths, "out", "a.c", "out\\a.c", "C:\\w", "C:\\w\\out\\a.c"},
      {kWindowsPaths, "out/", "a.c", "out/a.c", "C:\\w", "C:\\w\\out\\a.c"},
      {kWindowsPaths, "C:", "a.c", "C:a.c", "C:\\w", "C:\\w\\a.c"},
      {kWindowsPaths, "D:", "a.c", "D:a.c", "C:\\w", "D:\\a.c"},
      {kWindowsPaths, "\\x", "a.c", "\\x\\a.c", "C:\\w", "C:\\x\\a.c"},
      {kWindowsPaths, "c:/x/../y", "a.c", "c:/x/../y\\a.c", "C:\\w", "c:\\y\\a.c"},
      {kWindowsPaths, "\\\\srv\\share\\x", "..\\..\\a.c", "\\\\srv\\share\\x\\..\\..\\a.c", "C:\\w",
       "\\\\srv\\share\\a.c"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder + " + " + c.name);
    const std::string joined = platform::JoinPath(c.folder, c.name, c.style);
    EXPECT_EQ(joined, c.joined);
    EXPECT_EQ(platform::AbsolutePath(joined, c.cwd, c.style), c.absolute);
  }
}

TEST(PathsTest, VerbatimWindowsNamesBecomeOrdinary) {
  EXPECT_EQ(platform::WithoutVerbatimPrefix("\\\\?\\C:\\a\\b.c"), "C:\\a\\b.c");
  EXPECT_EQ(platform::WithoutVerbatimPrefix("\\\\?\\UNC\\srv\\share\\b.c"), "\\\\srv\\share\\b.c");
  EXPECT_EQ(platform::WithoutVerbatimPrefix("C:\\b.c"), "C:\\b.c");
}

TEST(PathsTest, HostRules) {
#ifdef _WIN32
  EXPECT_EQ(platform::PathDelimiter(), '\\');
  EXPECT_TRUE(platform::IsPathDelimiter('/'));
#else
  EXPECT_EQ(platform::PathDelimiter(), '/');
  EXPECT_FALSE(platform::IsPathDelimiter('\\'));
#endif
}

}  // namespace
