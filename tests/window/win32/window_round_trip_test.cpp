// A whole use of the real window, driven by keys: load a sample pair with Ctrl+L,
// merge with Ctrl+M, save over the code file with Ctrl+S; then the panes and what
// their controls show, the backup, the saved bytes and the log file are checked.
#include "fakes/sample_pair.h"
#include "window_harness.h"

namespace win32_test {
namespace {

class WindowRoundTrip : public WindowTest {
 protected:
  void SetUp() override {}  // started by the test, with its files in place
};

TEST_F(WindowRoundTrip, LoadMergeAndSaveOverTheCodeFile) {
  const std::string sample = std::string(VK_TEST_DATA_DIR) + "/sample/";
  const std::string code = ReadFile(sample + "dialog.c");
  const std::string header = ReadFile(sample + "dialog.h");
  ASSERT_FALSE(code.empty());
  const std::string codePath = folder / "dialog.c";
  WriteFile(codePath, code);
  WriteFile(folder / "dialog.h", header);
  Start();
  openDialog.answers.push_back(codePath);

  Key('L', kCtrl);
  EXPECT_EQ(form->Core().m4CodeFile.GetWholeText(), code);
  EXPECT_EQ(form->Core().m4HeaderFile.GetWholeText(), header);
  // The header's page is hidden: its control is filled once the page is shown.
  HWND headerControl = form->PaneControl(window::Pane::HeaderFile);
  EXPECT_EQ(TextOf(headerControl), "");
  form->ShowPage(5);
  EXPECT_EQ(TextOf(headerControl).substr(0, 20), "// Texts of dialog.c");
  form->ShowPage(0);

  Key('M', kCtrl);
  const std::string merged = kSampleMerged;
  EXPECT_EQ(form->Core().m4MergedFile.GetWholeText(), merged);

  saveDialog.answers.push_back(codePath);
  Key('S', kCtrl);
  const std::string log = Log();
  ExpectSampleSaved(saveDialog, boxes, codePath, folder / "dialog.h", code, log);
  if (HasFatalFailure()) return;
  // Windows paths, drive letter and backslashes, as the system gives them.
  EXPECT_EQ(codePath.substr(1, 2), ":\\");
  // The start-up block and then every line, each once, in the log file; the log pane
  // shows all of it.
  EXPECT_EQ(ReadFile(LogPath()), log);
  EXPECT_EQ(TextOf(form->PaneControl(window::Pane::Log)), log);
}

TEST_F(WindowRoundTrip, FilesNamedOnTheCommandLineLoadAsTheirCommandsLoadThem) {
  const std::string sample = std::string(VK_TEST_DATA_DIR) + "/sample/";
  WriteFile(folder / "dialog.c", ReadFile(sample + "dialog.c"));
  WriteFile(folder / "dialog.h", ReadFile(sample + "dialog.h"));
  Start();
  form->OpenFileArguments({"--", folder / "dialog.c"});
  Pump();
  EXPECT_EQ(form->Core().m4CodeFile.GetWholeText(), ReadFile(sample + "dialog.c"));
  EXPECT_EQ(form->Core().m4HeaderFile.GetWholeText(), ReadFile(sample + "dialog.h"));
  EXPECT_NE(Log().find(" Load code file :\r\n    " + folder / "dialog.c"), std::string::npos);
  EXPECT_TRUE(openDialog.shown.empty());  // no dialog was shown for it
}

TEST_F(WindowRoundTrip, AFailureIsShownInAnErrorBoxAndTheWindowGoesOn) {
  Start();
  openDialog.answers.push_back(folder / "missing.c");
  Key('L', kCtrl);
  ASSERT_EQ(boxes.errors.size(), 1u);
  EXPECT_EQ(boxes.errors[0].caption, "vaskarel");  // the application title
  EXPECT_NE(boxes.errors[0].text.find("missing.c"), std::string::npos) << boxes.errors[0].text;
  Key('4', kCtrl);
  EXPECT_EQ(form->ActivePageIndex(), 4);
}

}  // namespace
}  // namespace win32_test
