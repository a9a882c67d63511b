// Hints: the long part in the status bar for the control under the mouse and for
// highlighted menu entries, the short part as a tooltip, nothing before start-up has
// connected the display.
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QToolTip>

#include "window_harness.h"

namespace gui_test {
namespace {

using WindowHints = WindowTest;

const QString kProtocolHint = QString::fromUtf8("Protokoll aller bisher ausgeführten Funktionen");

// Rests the mouse over a control and lets the program go idle.
void HoverAndIdle(QWidget* widget, QPoint at = {5, 5}) {
  QTest::mouseMove(widget, at);
  Idle();
}

TEST_F(WindowHints, TheLogPaneLendsThePageHintEverythingElseIsEmpty) {
  struct Case {
    const char* control;
    int page;
    bool hint;
  };
  const Case cases[] = {
      {"m4Log", 0, true},        {"TabSheet1", 0, true},        {"ToolBar", 0, false},
      {"ToolButton2", 0, false}, {"PageControlTabs", 0, false}, {"m4CodeFile", 4, false},
      {"m4Log", 0, true},        {"StatusBar", 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    form->ShowPage(c.page);
    QWidget* control = Find<QWidget>(c.control);
    HoverAndIdle(control, control->rect().center());
    EXPECT_EQ(Status(), c.hint ? kProtocolHint : QString());
  }
}

TEST_F(WindowHints, TheShortPartIsTheTooltipOfThePageAndItsPane) {
  QWidget* viewport = Find<QPlainTextEdit>("m4Log")->viewport();
  QTest::mouseMove(viewport, {20, 20});
  QHelpEvent help(QEvent::ToolTip, {20, 20}, viewport->mapToGlobal(QPoint(20, 20)));
  QApplication::sendEvent(viewport, &help);
  EXPECT_EQ(QToolTip::text(), kProtocolHint);
  QToolTip::hideText();
}

TEST_F(WindowHints, HighlightedMenuTitlesAndItemsShowTheirLongHints) {
  const QString fileHint =
      QString::fromUtf8("Laden und Speichern der Konfiguration, Beenden des Programms");
  const QString windowHint = QString::fromUtf8(
      "Einstellen der Größe des Programmfensters und von Einzelnen Fensterelementen");
  const QString defaultHint = QString::fromUtf8(
      "Resize the program window to the default size (Suitable for screen resolution of "
      "1024x768 and above)");
  const QString minimumHint = QString::fromUtf8(
      "Resize the program window to the minimum size (Suitable for screen resolution of "
      "800x600)");
  HoverAndIdle(Find<QWidget>("m4Log"));
  ASSERT_EQ(Status(), kProtocolHint);
  auto* bar = Find<QMenuBar>("MainMenu");
  auto openByMouse = [&](const char* name) {
    auto* menu = Find<QMenu>(name);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    EXPECT_TRUE(PopupBecomes(menu));
    Idle();  // an open menu keeps the hint from the control under the mouse
    return menu;
  };
  auto closeMenus = [] {
    while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  };

  QMenu* file = openByMouse("mi4Datei");
  EXPECT_EQ(Status(), fileHint);
  file->setActiveAction(Find<QAction>("Loadcodefile1"));
  EXPECT_EQ(Status(), QString());
  // On to the Edit menu, which opens with its first item highlighted; neither has a hint.
  file->setActiveAction(Find<QAction>("Beenden1"));
  QTest::keyClick(file, Qt::Key_Right);
  ASSERT_TRUE(PopupBecomes(Find<QMenu>("Edit1")));
  EXPECT_EQ(Status(), QString());
  closeMenus();

  QMenu* window = openByMouse("mi4Fenster");
  EXPECT_EQ(Status(), windowHint);
  window->setActiveAction(Find<QAction>("Standardgre1"));
  EXPECT_EQ(Status(), defaultHint);
  window->setActiveAction(Find<QAction>("Standardgre2"));
  EXPECT_EQ(Status(), minimumHint);
  closeMenus();

  // Opened from the keyboard, a menu highlights its first item at once.
  Key(Qt::Key_F, Qt::AltModifier);
  ASSERT_TRUE(PopupBecomes(file));
  EXPECT_EQ(Status(), QString());
  closeMenus();
  ASSERT_TRUE(PopupBecomes(nullptr));
}

TEST_F(WindowHints, NoHintReachesTheStatusBarWhenStartUpEndedBeforeConnectingIt) {
  TearDown();
  Start("LogFile=/proc/vk_no_such_folder/run.log");  // its folder cannot be made
  ASSERT_EQ(boxes.errors.size(), 1u);
  HoverAndIdle(Find<QWidget>("m4Log"));
  EXPECT_EQ(form->CurrentHint(), kProtocolHint);
  EXPECT_EQ(Status(), QString());
}

}  // namespace
}  // namespace gui_test
