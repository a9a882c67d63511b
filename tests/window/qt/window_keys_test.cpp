// Which command a key runs, whatever control has the focus: shortcuts (menu items
// first, then the action list), mnemonics with Alt and as plain letters, Alt+F4 and
// the close box, and the failure guard around commands from every source.
#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>

#include "window/qt/tool_bar.h"
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

TEST_F(WindowKeys, EveryShortcutAndMnemonicRunsItsCommand) {
  enum Focus { kSpacer = 1, kPane = 2, kBoth = 3 };
  struct Case {
    const char* key;  // as the user presses it
    int focus;        // where the focus is when it is pressed
    const char* effect;
  };
  const Case cases[] = {
      // Shortcuts, whichever control has the focus; Ctrl+M is the Edit menu's.
      {"Ctrl+L", kBoth, "open code"},
      {"Ctrl+H", kBoth, "open header"},
      {"Ctrl+S", kBoth, "save"},
      {"Ctrl+M", kBoth, "merge"},
      {"Ctrl+N", kBoth, "768x568"},
      {"Alt+F4", kBoth, "exit"},
      {"Ctrl+1", kBoth, "page 0"},
      {"Ctrl+2", kBoth, "page 1"},
      {"Ctrl+3", kBoth, "page 2"},
      {"Ctrl+4", kBoth, "page 4"},
      {"Ctrl+5", kBoth, "page 3"},
      // Mnemonics: the tool-bar buttons first, then the tabs; H is the button's.
      {"Alt+C", kBoth, "open code"},
      {"Alt+H", kBoth, "open header"},
      {"Alt+M", kBoth, "merge"},
      {"Alt+S", kBoth, "save"},
      {"Alt+X", kBoth, "exit"},
      {"Alt+P", kBoth, "page 0"},
      // Plain letters where the focus takes no typed characters.
      {"C", kSpacer, "open code"},
      {"H", kSpacer, "open header"},
      {"M", kSpacer, "merge"},
      {"S", kSpacer, "save"},
      {"X", kSpacer, "exit"},
      {"P", kSpacer, "page 0"},
      {"E", kSpacer, "nothing"},
  };
  const QtMessageHandler previous = qInstallMessageHandler(CountAmbiguous);
  ambiguousWarnings = 0;
  for (const Case& c : cases) {
    for (Focus focus : {kSpacer, kPane}) {
      if (!(c.focus & focus)) continue;
      SCOPED_TRACE(std::string(c.key) +
                   (focus == kPane ? " in the merged pane" : " on the spacer"));
      TearDown();
      openDialog = {};
      saveDialog = {};
      terminated = 0;
      Start();
      // A size between the two that the size commands set; a page that no key shows.
      form->resize(700, 520);
      form->ShowPage(6);
      Find<QWidget>(focus == kPane ? "m4MergedFile" : "p4Separator")->setFocus();
      const QSize size = form->frameGeometry().size();
      const std::string logBefore = Log();

      const QKeySequence key = QKeySequence::fromString(QString::fromLatin1(c.key));
      QTest::keyClick(QApplication::focusWidget(), key[0].key(), key[0].keyboardModifiers());

      std::vector<std::string> effects;
      for (const auto& shown : openDialog.shown) {
        effects.push_back(shown.filter == kCodeFilter     ? "open code"
                          : shown.filter == kHeaderFilter ? "open header"
                                                          : "open ?");
      }
      if (!saveDialog.shown.empty()) effects.push_back("save");
      if (Log().find(" Start merging files ...", logBefore.size()) != std::string::npos) {
        effects.push_back("merge");
      }
      if (terminated) effects.push_back("exit");
      const QSize outer = form->frameGeometry().size();
      if (outer != size) {
        effects.push_back(std::to_string(outer.width()) + "x" + std::to_string(outer.height()));
      }
      if (form->ActivePageIndex() != 6) {
        effects.push_back("page " + std::to_string(form->ActivePageIndex()));
      }
      std::string effect = effects.empty() ? "nothing" : effects[0];
      for (size_t i = 1; i < effects.size(); ++i) effect += ", " + effects[i];
      EXPECT_EQ(effect, c.effect);
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
  ASSERT_TRUE(PopupBecomes(Find<QMenu>("mi4Fenster")));
  Key(Qt::Key_Escape);
  ASSERT_TRUE(PopupBecomes(nullptr));
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
