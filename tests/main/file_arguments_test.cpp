// The files named on the window program's command line: which arguments they are, and
// how they load, in a real folder (the window's test compares them with Ctrl+L).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fakes/core_harness.h"
#include "fakes/temp_dir.h"
#include "main/program_info.h"
#include "platform/paths.h"

namespace {

using Lines = std::vector<std::string>;

TEST(FileArgumentNames, OptionsBeforeADoubleDashAreNoFiles) {
  const struct {
    Lines args, files;
  } cases[] = {
      {{}, {}},
      {{"a.c", "b.h"}, {"a.c", "b.h"}},
      {{"-style", "--verbose", "a.c", "-"}, {"a.c"}},
      {{"a.c", "--", "-b.c", "--"}, {"a.c", "-b.c", "--"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    EXPECT_EQ(WindowFileArguments(c.args), c.files);
  }
  for (const char* header : {"a.h", "dir.c/A.H"}) EXPECT_TRUE(IsHeaderFileName(header)) << header;
  for (const char* code : {"a.c", "a.hh", "a.h/x", "h", "a_h"}) {
    EXPECT_FALSE(IsHeaderFileName(code)) << code;
  }
}

class FileArgumentsTest : public ::testing::Test {
 protected:
  FileArgumentsTest() {
    WriteFile(tmp / "one.c", "one");
    WriteFile(tmp / "one.h", "\"one\"");
    WriteFile(tmp / "sub/two.c", "two");
    WriteFile(tmp / "sub/Texts.H", "\"texts\"");
  }
  // The name the program makes of an argument.
  std::string At(const std::string& name) const { return platform::AbsolutePath(tmp / name, ""); }
  TempDir tmp{"vk_args"};
};

// Several files load in order, a failing one ends only its own load; the last code
// file and the last header stay.
TEST_F(FileArgumentsTest, SeveralFilesLoadInOrderAndTheLastOfEachKindStays) {
  CoreHarness h;
  h.core.startDir = tmp.Path();
  h.core.OpenFileArguments({"one.c", "--verbose", "sub/Texts.H", "missing.h", "./sub/two.c"});

  ASSERT_EQ(h.boxes.errors.size(), 1u);
  EXPECT_EQ(h.boxes.errors[0].text, "Cannot open file " + At("missing.h") + ".");
  EXPECT_EQ(h.LogLines(),
            (Lines{" Load code file :", "    " + At("one.c"),
                   " Assume that corresponding header file is also to be loaded :",
                   "    " + At("one.h"), " Load header file :", "    " + At("sub/Texts.H"),
                   " Load code file :", "    " + At("sub/two.c"),
                   " No corresponding header file found; the header pane keeps its text"}));
  EXPECT_EQ(h.core.m4CodeFile.GetWholeText(), "two");
  EXPECT_TRUE(h.openDialog.shown.empty());
  // The dialogs are left as choosing the last file in the open dialog leaves them.
  EXPECT_EQ(h.openDialog.FileName(), At("sub/two.c"));
  EXPECT_EQ(h.openDialog.Filter(), "code files (*.c)|*.c|all files (*.*|*.*");
  EXPECT_EQ(h.saveDialog.FileName(), At("sub/two.c"));
  EXPECT_EQ(h.core.m4HeaderFile.GetWholeText(), "\"texts\"");
}

}  // namespace
