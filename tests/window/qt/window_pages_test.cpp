// Page commands and their focus rules, Ctrl+Tab, the settings edits' highlight and
// configuration state, the size commands and the tool-bar spacer.
#include <QLineEdit>
#include <QTabBar>

#include "window/qt/tool_bar.h"
#include "window_harness.h"

namespace gui_test {
namespace {

using WindowPages = WindowTest;

const QColor kYellow(255, 255, 0);

QColor Background(const QWidget* edit) {
  return edit->palette().color(QPalette::Base);
}

// The page the tab row shows selected, or -1 when no shown tab is selected.
int SelectedTabPage(const QTabBar* tabs) {
  const int tab = tabs->currentIndex();
  if (tab < 0 || !tabs->isTabVisible(tab)) return -1;
  return tabs->tabData(tab).toInt();
}

TEST_F(WindowPages, CtrlTwoFromAPaneFocusesTheZeroWidthEditThatTurnsYellowAndReportsTyping) {
  Find<QWidget>("m4Log")->setFocus();
  Key(Qt::Key_2, Qt::ControlModifier);
  EXPECT_EQ(form->ActivePageIndex(), 1);
  EXPECT_EQ(SelectedTabPage(Find<QTabBar>("PageControlTabs")), -1);
  ASSERT_EQ(FocusName(), "e4AccountDir");
  auto* edit = Find<QLineEdit>("e4AccountDir");
  EXPECT_EQ(edit->width(), 0);
  EXPECT_EQ(Background(edit), kYellow);

  const std::string before = Log();
  Type("ten chars!");
  EXPECT_EQ(edit->text(), "ten chars!");
  EXPECT_TRUE(form->Core().configChanged);
  EXPECT_EQ(Log().substr(before.size()), "    Configuration changed ...\r\n");
  EXPECT_NE(ReadFile(LogPath()).find("    Configuration changed ...\r\n"), std::string::npos);

  // Leaving the page moves the focus to the log pane; the edit gets its colour back.
  Key(Qt::Key_1, Qt::ControlModifier);
  EXPECT_EQ(FocusName(), "m4Log");
  EXPECT_NE(Background(edit), kYellow);
}

TEST_F(WindowPages, TheHighlightFollowsTheFocusAndTheDistributionListsEditReportsNothing) {
  Find<QWidget>("m4Log")->setFocus();
  Key(Qt::Key_2, Qt::ControlModifier);
  Key(Qt::Key_Tab);
  ASSERT_EQ(FocusName(), "e4DistributionLists");
  EXPECT_NE(Background(Find<QWidget>("e4AccountDir")), kYellow);
  EXPECT_EQ(Background(Find<QWidget>("e4DistributionLists")), kYellow);
  Type("lists");
  EXPECT_FALSE(form->Core().configChanged);
  Key(Qt::Key_Tab);
  Type("x");
  EXPECT_TRUE(form->Core().configChanged);
}

TEST_F(WindowPages, CtrlFiveShowsTheBlankPersonenPageWithNoTabSelected) {
  auto* tabs = Find<QTabBar>("PageControlTabs");
  Find<QWidget>("m4Log")->setFocus();
  Key(Qt::Key_5, Qt::ControlModifier);
  EXPECT_EQ(form->ActivePageIndex(), 3);
  EXPECT_EQ(SelectedTabPage(tabs), -1);
  // No control there can take the focus: the page itself has it.
  EXPECT_EQ(FocusName(), "TabSheet3");
  EXPECT_TRUE(Find<QWidget>("TabSheet3")->isVisible());
  EXPECT_FALSE(Find<QWidget>("m4Member")->isVisible());

  // A click on a tab returns to ordinary page switching, and the focus goes along.
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
  EXPECT_EQ(form->ActivePageIndex(), 4);
  EXPECT_EQ(SelectedTabPage(tabs), 4);
  EXPECT_EQ(FocusName(), "m4CodeFile");
  EXPECT_FALSE(Find<QWidget>("TabSheet3")->isVisible());
}

TEST_F(WindowPages, PageCommandsMoveTheFocusOnlyWhenItWasInsideThePageLeft) {
  Key(Qt::Key_4, Qt::ControlModifier);
  EXPECT_EQ(SelectedTabPage(Find<QTabBar>("PageControlTabs")), 4);
  EXPECT_EQ(FocusName(), "p4Separator");
  Find<QWidget>("m4CodeFile")->setFocus();
  Key(Qt::Key_3, Qt::ControlModifier);
  EXPECT_EQ(form->ActivePageIndex(), 2);
  EXPECT_EQ(FocusName(), "m4Lists");
  Key(Qt::Key_3, Qt::ControlModifier);  // already active: nothing changes
  EXPECT_EQ(FocusName(), "m4Lists");
}

TEST_F(WindowPages, CtrlTabVisitsThePagesWithTabsAndWrapsAround) {
  Find<QWidget>("m4Log")->setFocus();
  for (int page : {4, 5, 6, 7, 0, 4}) {
    Key(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(form->ActivePageIndex(), page);
  }
  for (int page : {0, 7, 6}) {
    Key(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(form->ActivePageIndex(), page);
  }
  // From a page without a tab: to the neighbours that have one.
  Key(Qt::Key_2, Qt::ControlModifier);
  Key(Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(form->ActivePageIndex(), 4);
  Key(Qt::Key_2, Qt::ControlModifier);
  Key(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(form->ActivePageIndex(), 0);

  // Outside the page control Ctrl+Tab does nothing.
  Find<QWidget>("p4Separator")->setFocus();
  Key(Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(form->ActivePageIndex(), 0);
}

TEST_F(WindowPages, DefaultThenMinimumSizeReturnsTo640x480WithTheCornerUnmoved) {
  const QPoint corner = form->frameGeometry().topLeft();
  Key(Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(form->frameGeometry(), QRect(corner, QSize(768, 568)));
  form->a4MinSizeExecute(nullptr);
  EXPECT_EQ(form->frameGeometry(), QRect(corner, QSize(640, 480)));
}

TEST_F(WindowPages, TheSpacerKeepsTheExitButtonAtTheRightEndAtEveryWidth) {
  auto* bar = Find<TToolBar>("ToolBar");
  auto* spacer = Find<QWidget>("p4Separator");
  auto* exit = Find<QWidget>("ToolButton10");
  for (int width : {640, 641, 700, 768, 1024, 1600}) {
    SCOPED_TRACE(width);
    form->resize(width - (form->frameGeometry().width() - form->width()), form->height());
    EXPECT_EQ(bar->width(), form->width());
    EXPECT_EQ(spacer->width(), bar->width() - 478);
    EXPECT_EQ(exit->geometry().right() + 1, bar->width() - 5);
  }
  // At a tool bar 632 wide, as with the usual 4-pixel frame, the spacer is 154 wide.
  form->setMinimumSize(0, 0);
  form->resize(632, form->height());
  EXPECT_EQ(spacer->width(), 154);
}

}  // namespace
}  // namespace gui_test
