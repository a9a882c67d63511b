// The file names the engine makes: the header beside a code file, and the backup of a
// file about to be replaced.
#include <gtest/gtest.h>

#include "engine/header_search.h"
#include "engine/safe_save.h"

namespace {

TEST(HeaderFileName, LastDotOfLastComponent) {
  const struct {
    const char* code;
    const char* header;
  } cases[] = {
      {"dialog.c", "dialog.h"},
      {"/s/dialog.c", "/s/dialog.h"},
      {"/s/dialog", "/s/dialog.h"},          // no extension: appended
      {"/s/dialog.txt", "/s/dialog.h"},      // any extension is replaced
      {"/s/dialog.h", "/s/dialog.h"},        // a header is its own header
      {"/s/d.tar.c", "/s/d.tar.h"},          // only the last dot counts
      {"/s.v1/dialog", "/s.v1/dialog.h"},    // dotted folder untouched
      {"/s.v1/dialog.c", "/s.v1/dialog.h"},  //
      {"/s/dialog.", "/s/dialog.h"},         // empty extension
      {"/s/.c", "/s/.h"},                    // a dot first is an extension too
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(HeaderFileNameOf(c.code), c.header);
  }
}

TEST(BackupName, StampBehindWholeName) {
  EXPECT_EQ(BackupNameFor("/s/dialog.c", {2023, 7, 5, 9, 3, 7, 999}),
            "/s/dialog.c.2023-07-05-09-03-07");
  EXPECT_EQ(BackupNameFor("dialog", {1999, 12, 31, 23, 59, 58, 0}), "dialog.1999-12-31-23-59-58");
}

}  // namespace
