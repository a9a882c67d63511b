// The files named on the window program's command line: which arguments they are, and
// that each loads as the same file chosen in the open dialog does, in a real folder.
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
  // The name as the program makes it of an argument, and the dialog of a choice.
  std::string At(const std::string& name) const { return platform::AbsolutePath(tmp / name, ""); }
  TempDir tmp{"vk_args"};
};

// A name given as an argument leaves panes, log, dialogs and boxes as choosing it in
// the dialog does.
TEST_F(FileArgumentsTest, EachFileLoadsAsTheOpenDialogsChoiceDoes) {
  for (const char* name : {"one.c", "sub/two.c", "sub/Texts.H", "missing.c"}) {
    SCOPED_TRACE(name);
    CoreHarness chosen, named;
    chosen.openDialog.answers.push_back(At(name));
    chosen.core.RunCommand([&] {
      IsHeaderFileName(name) ? chosen.core.LoadHeaderFile() : chosen.core.LoadCodeFile();
    });
    named.core.startDir = tmp.Path();
    named.core.OpenFileArguments({name});

    EXPECT_EQ(named.LogLines(), chosen.LogLines());
    EXPECT_EQ(named.core.m4CodeFile.GetWholeText(), chosen.core.m4CodeFile.GetWholeText());
    EXPECT_EQ(named.core.m4HeaderFile.GetWholeText(), chosen.core.m4HeaderFile.GetWholeText());
    EXPECT_EQ(named.saveDialog.FileName(), chosen.saveDialog.FileName());
    EXPECT_EQ(named.saveDialog.InitialDir(), chosen.saveDialog.InitialDir());
    EXPECT_EQ(named.openDialog.FileName(), chosen.openDialog.FileName());
    EXPECT_EQ(named.openDialog.Filter(), chosen.openDialog.Filter());
    ASSERT_EQ(named.boxes.errors.size(), chosen.boxes.errors.size());
    if (!chosen.boxes.errors.empty()) {
      EXPECT_EQ(named.boxes.errors[0].text, chosen.boxes.errors[0].text);
    }
    EXPECT_TRUE(named.openDialog.shown.empty());  // no dialog shown
  }
}

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
  EXPECT_EQ(h.core.m4HeaderFile.GetWholeText(), "\"texts\"");
}

}  // namespace
