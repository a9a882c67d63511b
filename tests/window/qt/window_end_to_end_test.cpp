// A whole use of the real window, driven by keys: load a sample pair with Ctrl+L,
// merge with Ctrl+M, save over the code file with Ctrl+S; then the panes, the
// backup, the saved bytes and the log file are checked.
#include <QCursor>
#include <QPlainTextEdit>

#include "fakes/sample_pair.h"
#include "window_harness.h"

namespace gui_test {
namespace {

Qt::CursorShape CursorNow() {
  const QCursor* cursor = QApplication::overrideCursor();
  return cursor ? cursor->shape() : Qt::ArrowCursor;
}

// The cursor shown while the dialog is open, for each time it is shown.
class CursorWatchingDialog : public FakeFileDialog {
 public:
  std::vector<Qt::CursorShape> cursors;
  bool Execute() override {
    cursors.push_back(CursorNow());
    return FakeFileDialog::Execute();
  }
};

// The cursor shown while a command reads the clock (the merge does, for its log lines).
class CursorWatchingClock : public FakeClock {
 public:
  std::vector<Qt::CursorShape> cursors;
  platform::DateTime Now() override {
    cursors.push_back(CursorNow());
    return FakeClock::Now();
  }
};

class WindowEndToEnd : public WindowTest {
 protected:
  void SetUp() override {}  // started by the test, with its own dialogs
};

TEST_F(WindowEndToEnd, LoadMergeAndSaveOverTheCodeFile) {
  const std::string sample = std::string(VK_TEST_DATA_DIR) + "/sample/";
  const std::string code = ReadFile(sample + "dialog.c");
  const std::string header = ReadFile(sample + "dialog.h");
  ASSERT_FALSE(code.empty());
  const std::string codePath = folder / "dialog.c";
  WriteFile(codePath, code);
  WriteFile(folder / "dialog.h", header);
  Start();
  openDialog.answers.push_back(codePath);

  Key(Qt::Key_L, Qt::ControlModifier);
  EXPECT_EQ(form->Core().m4CodeFile.GetWholeText(), code);
  EXPECT_EQ(form->Core().m4HeaderFile.GetWholeText(), header);
  // The header's page is hidden: its pane builds its document once the page is shown.
  auto* headerPane = Find<QPlainTextEdit>("m4HeaderFile");
  EXPECT_TRUE(headerPane->toPlainText().isEmpty());
  form->ShowPage(5);
  Idle();
  EXPECT_EQ(headerPane->toPlainText().toStdString().substr(0, 20), "// Texts of dialog.c");
  form->ShowPage(0);

  Key(Qt::Key_M, Qt::ControlModifier);
  const std::string merged = kSampleMerged;
  EXPECT_EQ(form->Core().m4MergedFile.GetWholeText(), merged);

  saveDialog.answers.push_back(codePath);
  Key(Qt::Key_S, Qt::ControlModifier);
  const std::string log = Log();
  ExpectSampleSaved(saveDialog, boxes, codePath, folder / "dialog.h", code, log);
  if (HasFatalFailure()) return;
  // The start-up block and then every line, each once, in the log file.
  EXPECT_EQ(ReadFile(LogPath()), log);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(WindowEndToEnd, BusyCommandsShowTheWaitCursorAndTheirDialogsTheOrdinaryOne) {
  WriteFile(folder / "vaskarel.ini", "[Start]\r\nLogFile=" + LogPath() + "\r\n");
  CursorWatchingDialog open, save;
  CursorWatchingClock watch;
  open.answers.push_back(std::nullopt);
  save.answers.push_back(std::nullopt);
  form = std::make_unique<TMainForm>(FakeWindowOptions(folder, open, save, boxes, watch));
  watch.cursors.clear();
  form->a4MergeFilesExecute(nullptr);
  ASSERT_FALSE(watch.cursors.empty());
  EXPECT_EQ(watch.cursors[0], Qt::WaitCursor);
  form->a4LoadCodeFileExecute(nullptr);
  form->a4SaveMergedFileExecute(nullptr);
  ASSERT_EQ(open.cursors.size(), 1u);
  ASSERT_EQ(save.cursors.size(), 1u);
  EXPECT_EQ(open.cursors[0], Qt::ArrowCursor);
  EXPECT_EQ(save.cursors[0], Qt::ArrowCursor);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace gui_test
