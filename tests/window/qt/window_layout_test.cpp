// The main window's controls: names, tool bar, tabs and pages, panes, settings page,
// status bar, images, size and placement.
#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabBar>

#include "window/qt/tool_bar.h"
#include "window_harness.h"

namespace gui_test {
namespace {

using WindowLayout = WindowTest;

TEST_F(WindowLayout, EveryControlStandsUnderItsName) {
  EXPECT_EQ(form->objectName(), "MainForm");
  EXPECT_EQ(form->windowTitle(), "Merge dialog strings");
  const char* names[] = {
      "MainMenu",        "mi4Datei",     "Edit1",        "mi4Fenster",   "Loadcodefile1",
      "Loadheaderfile1", "Savefile1",    "N1",           "Beenden1",     "Mergefiles1",
      "Standardgre1",    "Standardgre2", "ToolBar",      "p4Separator",  "PageControl",
      "ScrollBox1",      "Panel1",       "StatusBar",    "m4Log",        "m4Lists",
      "m4Member",        "m4CodeFile",   "m4HeaderFile", "m4MergedFile", "m4Doku"};
  for (const char* name : names) Find<QObject>(name);
  for (int i : {1, 2, 3, 4, 5, 6, 8, 9, 10, 11}) {
    Find<QObject>(("ToolButton" + std::to_string(i)).c_str());
  }
  for (int i = 1; i <= 8; ++i) Find<QObject>(("TabSheet" + std::to_string(i)).c_str());
  for (int i = 1; i <= 16; ++i) Find<QLabel>(("Label" + std::to_string(i)).c_str());
}

TEST_F(WindowLayout, ToolBarHoldsElevenItemsWithTheExitButtonAtTheRightEnd) {
  struct Item {
    const char* name;
    int width;
    const char* caption;  // null for separators and the spacer
    bool enabled;
    bool image;
  };
  const Item items[] = {
      {"ToolButton3", 64, "&Code file", true, true},
      {"ToolButton9", 64, "&Header file", true, true},
      {"ToolButton8", 8, nullptr, true, false},
      {"ToolButton4", 64, "&Merge", true, true},
      {"ToolButton6", 8, nullptr, true, false},
      {"ToolButton1", 64, "&Save", true, true},
      {"ToolButton2", 64, " ", false, false},
      {"ToolButton5", 64, " ", false, false},
      {"p4Separator", -1, nullptr, true, false},  // what the row leaves
      {"ToolButton11", 8, nullptr, true, false},
      {"ToolButton10", 64, "E&xit", true, true},
  };
  auto* bar = Find<TToolBar>("ToolBar");
  ASSERT_EQ(bar->ItemCount(), 11);
  EXPECT_EQ(bar->height(), 46);
  EXPECT_EQ(bar->width(), form->width());
  int x = bar->Items()[0]->x();
  for (int i = 0; i < 11; ++i) {
    const Item& want = items[i];
    SCOPED_TRACE(want.name);
    QWidget* item = bar->Items()[i];
    EXPECT_EQ(item->objectName(), want.name);
    EXPECT_EQ(item->width(), want.width >= 0 ? want.width : bar->width() - 478);
    EXPECT_EQ(item->height(), 36);
    EXPECT_EQ(item->x(), x);
    x += item->width();
    EXPECT_EQ(item->isEnabled(), want.enabled);
    if (auto* button = qobject_cast<TToolBarButton*>(item)) {
      ASSERT_NE(want.caption, nullptr);
      EXPECT_EQ(button->text(), QString::fromLatin1(want.caption));
      ASSERT_NE(button->BoundAction(), nullptr);
      EXPECT_EQ(button->BoundAction()->icon().isNull(), !want.image);
      EXPECT_TRUE(button->toolTip().isEmpty());
    }
  }
  EXPECT_EQ(x, bar->width() - 5);  // the row ends 6 short of the bar, behind its border
}

TEST_F(WindowLayout, TabRowShowsFiveTabsAndClickingOneNeverReachesAHiddenPage) {
  auto* tabs = Find<QTabBar>("PageControlTabs");
  QStringList shown;
  for (int tab = 0; tab < tabs->count(); ++tab) {
    if (tabs->isTabVisible(tab)) shown << tabs->tabText(tab).remove(QLatin1Char('&'));
  }
  EXPECT_EQ(shown, QStringList({"Protocol", "Code file", "Header file", "Merged file", "Help"}));
  const int pages[] = {0, 4, 5, 6, 7};
  for (int i = 4; i >= 0; --i) {
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(i).center());
    EXPECT_EQ(form->ActivePageIndex(), pages[i]) << "tab " << i;
  }
}

TEST_F(WindowLayout, PanesHaveTheirFontsScrollBarsAndWrapping) {
  struct Pane {
    const char* name;
    int pixelSize;
    bool wrapped;
  };
  const Pane panes[] = {{"m4Log", 11, false},        {"m4CodeFile", 11, false},
                        {"m4HeaderFile", 11, false}, {"m4MergedFile", 11, false},
                        {"m4Doku", 12, true},        {"m4Lists", 12, true},
                        {"m4Member", 12, true}};
  for (const Pane& want : panes) {
    SCOPED_TRACE(want.name);
    auto* pane = Find<QPlainTextEdit>(want.name);
    EXPECT_EQ(pane->font().pixelSize(), want.pixelSize);
    const QFontMetrics metrics(pane->font());  // fixed pitch: every letter as wide
    EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char('i')),
              metrics.horizontalAdvance(QLatin1Char('M')));
    EXPECT_FALSE(pane->isReadOnly());
    EXPECT_EQ(pane->lineWrapMode() == QPlainTextEdit::WidgetWidth, want.wrapped);
    EXPECT_EQ(pane->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(pane->horizontalScrollBarPolicy(),
              want.wrapped ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
  }
  EXPECT_TRUE(Find<QWidget>("m4Member")->isHidden());
}

TEST_F(WindowLayout, SettingsPageShowsSixLabelsAndNoEditWidthAtOrdinaryWidths) {
  form->ShowPage(1);
  const char* tabOrder[] = {
      "e4AccountDir",          "e4DistributionLists", "e4ImportDir",         "e4AddressbookName",
      "e4Addressbooks",        "e4ProfileDir",        "e4FilenameSuffixes",  "e4ProxyServer",
      "e4NotificationAddress", "e4WorkOrderAddress",  "e4SMTPServer",        "e4TransferDatum",
      "e4TransferNummer",      "e4TransferKonto",     "e4TransferBuchungen", "e4TransferBetrag"};
  for (int i = 0; i < 16; ++i) {
    SCOPED_TRACE(tabOrder[i]);
    auto* edit = Find<QLineEdit>(tabOrder[i]);
    EXPECT_EQ(edit->isVisible(), i < 6);
    EXPECT_EQ(edit->width(), 0);
    EXPECT_EQ(edit->x(), 266);
    EXPECT_EQ(edit->height(), 25);
  }
  int labelsShown = 0;
  for (QLabel* label : Find<QWidget>("ScrollBox1")->findChildren<QLabel*>()) {
    labelsShown += label->isVisible();
  }
  EXPECT_EQ(labelsShown, 6);

  // Tab visits the shown edits in tab order, not from top to bottom.
  Find<QWidget>("e4AccountDir")->setFocus();
  for (int i = 1; i < 6; ++i) {
    Key(Qt::Key_Tab);
    EXPECT_EQ(FocusName(), tabOrder[i]);
  }

  // Anchored on both sides: the width is the scroll box's client width less 1059.
  form->resize(1400, 700);
  auto* box = Find<QScrollArea>("ScrollBox1");
  EXPECT_EQ(Find<QLineEdit>("e4ProfileDir")->width(), box->viewport()->width() - 1059);
}

TEST_F(WindowLayout, StatusBarHasOneEmptyPanelAcrossTheBar) {
  auto* bar = Find<QStatusBar>("StatusBar");
  EXPECT_EQ(bar->height(), 19);
  auto* panel = Find<QLabel>("StatusPanel");
  EXPECT_EQ(bar->findChildren<QLabel*>().size(), 1);
  EXPECT_TRUE(panel->text().isEmpty());
  EXPECT_GT(panel->width(), bar->width() - 40);  // all but the margins and the size grip
}

TEST_F(WindowLayout, ImageListsHoldFortySixImagesAndTheUsedOnesArePictures) {
  ASSERT_EQ(form->il4Default().size(), TMainForm::kImageCount);
  ASSERT_EQ(form->il4Highlight().size(), TMainForm::kImageCount);
  for (int index : {27, 30, 32, 36}) {
    SCOPED_TRACE(index);
    const QImage normal = form->il4Default()[index].pixmap(16, 16).toImage();
    const QImage light = form->il4Highlight()[index].pixmap(16, 16).toImage();
    EXPECT_FALSE(normal.isNull());
    EXPECT_NE(normal, light);
  }
  EXPECT_FALSE(form->windowIcon().isNull());
}

TEST_F(WindowLayout, WindowStartsCentredAtItsMinimumSizeAndCannotBeMadeSmaller) {
  // Outer sizes: the frame included.
  EXPECT_EQ(form->frameGeometry().size(), QSize(640, 480));
  EXPECT_EQ(form->minimumSize() + (form->frameGeometry().size() - form->size()), QSize(640, 480));
  const QRect screen = form->screen()->geometry();
  EXPECT_EQ(form->frameGeometry().topLeft(), QPoint(std::max(0, (screen.width() - 640) / 2),
                                                    std::max(0, (screen.height() - 480) / 2)));
  form->resize(500, 300);
  EXPECT_EQ(form->frameGeometry().size(), QSize(640, 480));
  EXPECT_EQ(QApplication::focusWidget(), Find<QWidget>("p4Separator"));
}

}  // namespace
}  // namespace gui_test
