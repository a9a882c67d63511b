// Which command a key runs, whatever control has the focus: shortcuts (menu items
// first, then the action list), mnemonics with Alt and as plain letters, Alt+F4 and
// the close box, and the failure guard around commands from every source.
#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>

#include "main/tool_bar.h"
#include "window_harness.h"

namespace gui_test {
namespace {

using WindowKeys = WindowTest;

const std::string kCodeFilter = "code files (*.c)|*.c|all files (*.*|*.*";
const std::string kHeaderFilter = "header files (*.h)|*.h|all files (*.*|*.*";

// Qt's complaint when two actions claim one key; it then runs neither.
int ambiguousWarnings = 0;
void CountAmbiguous(QtMsgType, const QMessageLogContext&, const QString& message) {
  if (message.contains(QLatin1String("Ambiguous"))) ++ambiguousWarnings;
}

struct Outcome {
  int openDialogs = 0;
  std::string openFilter;
  int saveDialogs = 0;
  int merges = 0;
  int exits = 0;
  QSize outer;
  int page = 0;
};

// What the commands left behind: dialogs shown, merges logged (in log, the lines
// added meanwhile), exits, the window's outer size and the active page.
Outcome Observe(const FakeFileDialog& open, const FakeFileDialog& save, int exits,
                const TMainForm& form, const std::string& log) {
  Outcome o;
  o.openDialogs = static_cast<int>(open.shown.size());
  o.openFilter = open.shown.empty() ? "" : open.shown.back().filter;
  o.saveDialogs = static_cast<int>(save.shown.size());
  for (size_t at = 0; (at = log.find(" Start merging files ...", at)) != std::string::npos; ++at) {
    ++o.merges;
  }
  o.exits = exits;
  o.outer = form.frameGeometry().size();
  o.page = form.ActivePageIndex();
  return o;
}

TEST_F(WindowKeys, EveryShortcutRunsItsCommandWhicheverControlHasTheFocus) {
  struct Case {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int openDialogs;
    const std::string* filter;
    int saveDialogs, merges, exits;
    QSize outer;
    int page;
  };
  const QSize small(640, 480), large(768, 568);
  const Case cases[] = {
      {"Ctrl+L", Qt::Key_L, Qt::ControlModifier, 1, &kCodeFilter, 0, 0, 0, small, 0},
      {"Ctrl+H", Qt::Key_H, Qt::ControlModifier, 1, &kHeaderFilter, 0, 0, 0, small, 0},
      {"Ctrl+S", Qt::Key_S, Qt::ControlModifier, 0, nullptr, 1, 0, 0, small, 0},
      {"Ctrl+M merges, never resizes", Qt::Key_M, Qt::ControlModifier, 0, nullptr, 0, 1, 0, large,
       0},
      {"Ctrl+N", Qt::Key_N, Qt::ControlModifier, 0, nullptr, 0, 0, 0, large, 0},
      {"Alt+F4", Qt::Key_F4, Qt::AltModifier, 0, nullptr, 0, 0, 1, small, 0},
      {"Ctrl+1", Qt::Key_1, Qt::ControlModifier, 0, nullptr, 0, 0, 0, small, 0},
      {"Ctrl+2", Qt::Key_2, Qt::ControlModifier, 0, nullptr, 0, 0, 0, small, 1},
      {"Ctrl+3", Qt::Key_3, Qt::ControlModifier, 0, nullptr, 0, 0, 0, small, 2},
      {"Ctrl+4", Qt::Key_4, Qt::ControlModifier, 0, nullptr, 0, 0, 0, small, 4},
      {"Ctrl+5 shows Personen, never page 5", Qt::Key_5, Qt::ControlModifier, 0, nullptr, 0, 0, 0,
       small, 3},
  };
  const QtMessageHandler previous = qInstallMessageHandler(CountAmbiguous);
  ambiguousWarnings = 0;
  for (const char* focus : {"p4Separator", "m4CodeFile"}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + " with the focus on " + focus);
      TearDown();
      openDialog = {};
      saveDialog = {};
      terminated = 0;
      Start();
      form->ShowPage(focus == std::string("m4CodeFile") ? 4 : 0);
      Find<QWidget>(focus)->setFocus();
      // The merge test starts large, so that a size command would show.
      if (c.key == Qt::Key_M) Key(Qt::Key_N, Qt::ControlModifier);
      const int pageBefore = form->ActivePageIndex();
      const std::string logBefore = Log();

      Key(c.key, c.modifiers);

      const Outcome o =
          Observe(openDialog, saveDialog, terminated, *form, Log().substr(logBefore.size()));
      EXPECT_EQ(o.openDialogs, c.openDialogs);
      if (c.filter) {
        EXPECT_EQ(o.openFilter, *c.filter);
      }
      EXPECT_EQ(o.saveDialogs, c.saveDialogs);
      EXPECT_EQ(o.merges, c.merges);
      EXPECT_EQ(o.exits, c.exits);
      EXPECT_EQ(o.outer, c.outer);
      // Ctrl+1 from the code page comes back to page 0; the others keep the page unless
      // they are page commands.
      const bool pageCommand = c.key >= Qt::Key_1 && c.key <= Qt::Key_5;
      EXPECT_EQ(o.page, pageCommand ? c.page : pageBefore);
    }
  }
  qInstallMessageHandler(previous);
  EXPECT_EQ(ambiguousWarnings, 0);
}

TEST_F(WindowKeys, MenuItemsShowTheirKeysButOnlyTheFirstClaimantRunsByIt) {
  EXPECT_EQ(Find<QAction>("Mergefiles1")->text(), "&Merge files\tCtrl+M");
  EXPECT_EQ(Find<QAction>("Standardgre2")->text(), QString::fromUtf8("&Minimale Größe\tCtrl+M"));
  EXPECT_EQ(Find<QAction>("Beenden1")->text(), "E&xit\tAlt+F4");
  // Chosen from its menu, the minimum-size item runs.
  Key(Qt::Key_N, Qt::ControlModifier);
  ASSERT_EQ(form->frameGeometry().size(), QSize(768, 568));
  Find<QAction>("Standardgre2")->trigger();
  EXPECT_EQ(form->frameGeometry().size(), QSize(640, 480));
}

TEST_F(WindowKeys, CtrlHInATextPaneLoadsAHeaderAndLeavesThePaneAlone) {
  form->ShowPage(4);
  auto* pane = Find<QPlainTextEdit>("m4CodeFile");
  pane->setFocus();
  Type("abc");
  Key(Qt::Key_H, Qt::ControlModifier);
  EXPECT_EQ(pane->toPlainText(), "abc");
  ASSERT_EQ(openDialog.shown.size(), 1u);
  EXPECT_EQ(openDialog.shown[0].filter, kHeaderFilter);
}

TEST_F(WindowKeys, MnemonicsReachButtonsThenTabsWithAltAndAsPlainLettersOnTheSpacer) {
  struct Case {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int openDialogs;
    const std::string* filter;
    int saveDialogs, merges, exits, page;
  };
  const Case cases[] = {
      {"Alt+C", Qt::Key_C, Qt::AltModifier, 1, &kCodeFilter, 0, 0, 0, 4},
      {"Alt+H loads a header, never shows Help", Qt::Key_H, Qt::AltModifier, 1, &kHeaderFilter, 0,
       0, 0, 4},
      {"Alt+M", Qt::Key_M, Qt::AltModifier, 0, nullptr, 0, 1, 0, 4},
      {"Alt+S", Qt::Key_S, Qt::AltModifier, 0, nullptr, 1, 0, 0, 4},
      {"Alt+X", Qt::Key_X, Qt::AltModifier, 0, nullptr, 0, 0, 1, 4},
      {"Alt+P", Qt::Key_P, Qt::AltModifier, 0, nullptr, 0, 0, 0, 0},
      {"C", Qt::Key_C, Qt::NoModifier, 1, &kCodeFilter, 0, 0, 0, 4},
      {"H", Qt::Key_H, Qt::NoModifier, 1, &kHeaderFilter, 0, 0, 0, 4},
      {"M", Qt::Key_M, Qt::NoModifier, 0, nullptr, 0, 1, 0, 4},
      {"S", Qt::Key_S, Qt::NoModifier, 0, nullptr, 1, 0, 0, 4},
      {"X", Qt::Key_X, Qt::NoModifier, 0, nullptr, 0, 0, 1, 4},
      {"P", Qt::Key_P, Qt::NoModifier, 0, nullptr, 0, 0, 0, 0},
      {"plain E is no mnemonic", Qt::Key_E, Qt::NoModifier, 0, nullptr, 0, 0, 0, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    openDialog = {};
    saveDialog = {};
    terminated = 0;
    Start();
    // The focus stays on the spacer: a page command moves it only out of a page.
    Key(Qt::Key_4, Qt::ControlModifier);
    ASSERT_EQ(FocusName(), "p4Separator");
    const std::string logBefore = Log();
    Key(c.key, c.modifiers);
    const Outcome o =
        Observe(openDialog, saveDialog, terminated, *form, Log().substr(logBefore.size()));
    EXPECT_EQ(o.openDialogs, c.openDialogs);
    if (c.filter) {
      EXPECT_EQ(o.openFilter, *c.filter);
    }
    EXPECT_EQ(o.saveDialogs, c.saveDialogs);
    EXPECT_EQ(o.merges, c.merges);
    EXPECT_EQ(o.exits, c.exits);
    EXPECT_EQ(o.page, c.page);
  }
}

TEST_F(WindowKeys, PlainLettersInATextPaneAreTyped) {
  form->ShowPage(4);
  Find<QWidget>("m4CodeFile")->setFocus();
  Type("chmsxp");
  EXPECT_EQ(Find<QPlainTextEdit>("m4CodeFile")->toPlainText(), "chmsxp");
  EXPECT_TRUE(openDialog.shown.empty());
  EXPECT_TRUE(saveDialog.shown.empty());
  EXPECT_EQ(terminated, 0);
}

TEST_F(WindowKeys, AltAndAMenuTitleLetterOpensThatMenu) {
  Key(Qt::Key_W, Qt::AltModifier);
  QTRY_COMPARE(QApplication::activePopupWidget(), Find<QMenu>("mi4Fenster"));
  Key(Qt::Key_Escape);
  QTRY_COMPARE(QApplication::activePopupWidget(), nullptr);
}

TEST_F(WindowKeys, AltF4AsksAboutAChangedConfigurationTheCloseBoxDoesNot) {
  form->Core().configChanged = true;
  Key(Qt::Key_F4, Qt::AltModifier);
  ASSERT_EQ(boxes.questions.size(), 1u);
  EXPECT_EQ(boxes.questions[0].caption, "Confirm");
  EXPECT_EQ(terminated, 1);
  EXPECT_TRUE(form->isVisible());

  // Under a window manager Alt+F4 arrives as a close request with Alt held.
  form->Core().configChanged = true;
  held = Qt::AltModifier;
  EXPECT_FALSE(form->close());
  EXPECT_EQ(boxes.questions.size(), 2u);
  EXPECT_EQ(terminated, 2);

  form->Core().configChanged = true;
  held = Qt::NoModifier;
  EXPECT_TRUE(form->close());
  EXPECT_EQ(boxes.questions.size(), 2u);
  EXPECT_EQ(terminated, 2);
  EXPECT_FALSE(form->isVisible());
}

TEST_F(WindowKeys, AFailingCommandShowsTheErrorBoxFromKeyButtonAndMenuAlike) {
  const std::string missing = folder / "missing.c";
  const std::function<void()> routes[] = {
      [this] { Key(Qt::Key_L, Qt::ControlModifier); },
      [this] { Find<TToolBarButton>("ToolButton3")->click(); },
      [this] { Find<QAction>("Loadcodefile1")->trigger(); },
  };
  for (size_t i = 0; i < std::size(routes); ++i) {
    SCOPED_TRACE(i);
    openDialog.answers.push_back(missing);
    routes[i]();
    ASSERT_EQ(boxes.errors.size(), i + 1);
    EXPECT_EQ(boxes.errors[i].caption, "vaskarel");  // the executable's name
    EXPECT_EQ(boxes.errors[i].text, "Cannot open file " + missing + ".");
  }
  // The program runs on: the next command works.
  Key(Qt::Key_M, Qt::ControlModifier);
  EXPECT_NE(Log().find(" Merge files finished"), std::string::npos);
}

}  // namespace
}  // namespace gui_test
