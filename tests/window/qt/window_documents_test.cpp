// The panes' documents in the window: a pane on a hidden page builds its document
// when the page is shown, a big one slice by slice under the progress bar and the busy
// cursor; and the log shows lines from files in different encodings each in its own.
#include <QProgressBar>
#include <QTextDocument>

#include "window/qt/qt_text_view.h"
#include "window_harness.h"

namespace gui_test {
namespace {

using WindowDocuments = WindowTest;

Qt::CursorShape CursorNow() {
  const QCursor* cursor = QApplication::overrideCursor();
  return cursor ? cursor->shape() : Qt::ArrowCursor;
}

TEST_F(WindowDocuments, APaneBuildsWhenItsPageIsShownUnderTheProgressBar) {
  std::string code;
  for (int n = 0; code.size() < 1500 * 1000; ++n) code += "Say(" + std::to_string(n) + ");\r\n";
  WriteFile(folder / "big.c", code);
  openDialog.answers.push_back(folder / "big.c");
  Key(Qt::Key_L, Qt::ControlModifier);
  Idle();
  auto* view = Find<qtui::QtTextView>("m4CodeFile");
  auto* progress = Find<QProgressBar>("DocumentProgress");
  EXPECT_TRUE(view->document()->isEmpty());  // its page is hidden
  EXPECT_FALSE(progress->isVisible());

  form->ShowPage(4);
  while (view->DocumentBytes() == 0) QApplication::processEvents();
  ASSERT_FALSE(view->DocumentComplete());
  EXPECT_TRUE(progress->isVisible());
  EXPECT_GT(progress->value(), 0);
  EXPECT_LT(progress->value(), progress->maximum());
  EXPECT_EQ(CursorNow(), Qt::BusyCursor);
  view->setFocus();
  Type("typed");
  EXPECT_EQ(form->Core().m4CodeFile.GetWholeText(), code);

  // Another page: the build waits, and the window shows nothing of it.
  form->ShowPage(0);
  Idle();
  EXPECT_FALSE(progress->isVisible());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  form->ShowPage(4);
  while (!view->DocumentComplete()) QApplication::processEvents();
  EXPECT_FALSE(progress->isVisible());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(view->document()->blockCount(), static_cast<int>(view->LineCount()) + 1);
}

TEST_F(WindowDocuments, TheLogShowsEachLineInTheEncodingOfItsFile) {
  // A code file in a folder with a UTF-8 name, its header in the legacy code page.
  const std::string codePath = folder /
                               "gr\xC3\xBC\xC3\x9F"
                               "e/dialog.c";
  WriteFile(codePath, "Say(DLG_TEXT[0]);\r\n");
  WriteFile(folder /
                "gr\xC3\xBC\xC3\x9F"
                "e/dialog.h",
            "\"Gr\xFC\xDF"
            "e\",\r\n");
  openDialog.answers.push_back(codePath);
  Key(Qt::Key_L, Qt::ControlModifier);
  Key(Qt::Key_M, Qt::ControlModifier);
  Idle();
  const QString shown = Find<qtui::QtTextView>("m4Log")->document()->toRawText();
  EXPECT_TRUE(shown.contains(QString::fromUtf8("/grüße/dialog.c\u2029"))) << shown.toStdString();
  EXPECT_TRUE(shown.contains(QString::fromUtf8("DLG_TEXT[0] \"Grüße\"\u2029")))
      << shown.toStdString();
  // The bytes are the files' own, in the pane and in the log file.
  EXPECT_NE(Log().find("DLG_TEXT[0] \"Gr\xFC\xDF"
                       "e\"\r\n"),
            std::string::npos);
  EXPECT_EQ(ReadFile(LogPath()), Log());
}

}  // namespace
}  // namespace gui_test
