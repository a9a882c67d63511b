// Which command a key runs, whatever control has the focus: shortcuts (menu items
// first, then the action list), mnemonics with Alt and as plain letters, Ctrl+Tab in
// the page control, Alt+F4 and the close box.
#include "window_harness.h"

namespace win32_test {
namespace {

using WindowKeys = WindowTest;

const std::string kCodeFilter = "code files (*.c)|*.c|all files (*.*|*.*";
const std::string kHeaderFilter = "header files (*.h)|*.h|all files (*.*|*.*";

TEST_F(WindowKeys, EveryShortcutAndMnemonicRunsItsCommand) {
  enum Focus { kSpacer = 1, kPane = 2, kBoth = 3 };
  struct Case {
    const char* name;
    int key;
    unsigned modifiers;
    int focus;  // where the focus is when it is pressed
    const char* effect;
  };
  const Case cases[] = {
      // Shortcuts, whichever control has the focus; Ctrl+M is the Edit menu's.
      {"Ctrl+L", 'L', kCtrl, kBoth, "open code"},
      {"Ctrl+H", 'H', kCtrl, kBoth, "open header"},
      {"Ctrl+S", 'S', kCtrl, kBoth, "save"},
      {"Ctrl+M", 'M', kCtrl, kBoth, "merge"},
      {"Ctrl+N", 'N', kCtrl, kBoth, "768x568"},
      {"Alt+F4", VK_F4, kAlt, kBoth, "exit"},
      {"Ctrl+1", '1', kCtrl, kBoth, "page 0"},
      {"Ctrl+2", '2', kCtrl, kBoth, "page 1"},
      {"Ctrl+3", '3', kCtrl, kBoth, "page 2"},
      {"Ctrl+4", '4', kCtrl, kBoth, "page 4"},
      {"Ctrl+5", '5', kCtrl, kBoth, "page 3"},
      {"Ctrl+Shift+L", 'L', kCtrl | kShift, kBoth, "nothing"},
      // Mnemonics: the tool-bar buttons first, then the tabs; H is the button's.
      {"Alt+C", 'C', kAlt, kBoth, "open code"},
      {"Alt+H", 'H', kAlt, kBoth, "open header"},
      {"Alt+M", 'M', kAlt, kBoth, "merge"},
      {"Alt+S", 'S', kAlt, kBoth, "save"},
      {"Alt+X", 'X', kAlt, kBoth, "exit"},
      {"Alt+P", 'P', kAlt, kBoth, "page 0"},
      // Plain letters where the focus takes no typed characters; typed into a pane.
      {"C", 'C', kPlain, kBoth, "open code"},
      {"H", 'H', kPlain, kSpacer, "open header"},
      {"M", 'M', kPlain, kSpacer, "merge"},
      {"S", 'S', kPlain, kSpacer, "save"},
      {"X", 'X', kPlain, kSpacer, "exit"},
      {"P", 'P', kPlain, kSpacer, "page 0"},
      {"E", 'E', kPlain, kSpacer, "nothing"},
  };
  for (const Case& c : cases) {
    for (Focus focus : {kSpacer, kPane}) {
      if (!(c.focus & focus)) continue;
      const bool inPane = focus == kPane;
      // A plain C typed into a pane is a character, not a mnemonic.
      const std::string effect = inPane && c.modifiers == kPlain ? "nothing" : c.effect;
      SCOPED_TRACE(std::string(c.name) + (inPane ? " in the merged pane" : " on the spacer"));
      // One window for all cases, each from the same state.
      openDialog = {};
      saveDialog = {};
      terminated = 0;
      SetWindowTextW(form->PaneControl(window::Pane::MergedFile), L"");
      // A size between the two that the size commands set; a page that no key shows.
      SetWindowPos(form->Handle(), nullptr, 0, 0, form->Scale(700), form->Scale(520),
                   SWP_NOMOVE | SWP_NOZORDER);
      form->ShowPage(6);
      SetFocus(inPane ? form->PaneControl(window::Pane::MergedFile) : form->Spacer());
      Pump();
      const SIZE size = OuterSize(form->Handle());
      const std::string logBefore = Log();

      Key(c.key, c.modifiers);

      const bool opened = !openDialog.shown.empty();
      EXPECT_EQ(opened, effect == "open code" || effect == "open header");
      if (opened) {
        EXPECT_EQ(openDialog.shown[0].filter, effect == "open code" ? kCodeFilter : kHeaderFilter);
      }
      EXPECT_EQ(saveDialog.shown.size(), effect == "save" ? 1u : 0u);
      EXPECT_EQ(Log().find(" Merge files", logBefore.size()) != std::string::npos,
                effect == "merge");
      EXPECT_EQ(terminated, effect == "exit" ? 1 : 0);
      const SIZE now = OuterSize(form->Handle());
      if (effect == "768x568") {
        EXPECT_EQ(now.cx, form->Scale(768));
        EXPECT_EQ(now.cy, form->Scale(568));
      } else {
        EXPECT_EQ(now.cx, size.cx);
        EXPECT_EQ(now.cy, size.cy);
      }
      const int page = effect.rfind("page ", 0) == 0 ? effect.back() - '0' : 6;
      EXPECT_EQ(form->ActivePageIndex(), page);
      // The pane never sees a key that a command took.
      EXPECT_EQ(TextOf(form->PaneControl(window::Pane::MergedFile)),
                inPane && c.name == std::string("C") ? "c" : "");
    }
  }
}

TEST_F(WindowKeys, CtrlTabMovesAlongTheShownTabsInThePageControl) {
  SetFocus(form->PaneControl(window::Pane::Log));
  const int forward[] = {4, 5, 6, 7, 0};
  for (int page : forward) {
    Key(VK_TAB, kCtrl);
    EXPECT_EQ(form->ActivePageIndex(), page);
  }
  Key(VK_TAB, kCtrl | kShift);
  EXPECT_EQ(form->ActivePageIndex(), 7);
  // Outside the page control the key is not the page control's.
  SetFocus(form->Spacer());
  Key(VK_TAB, kCtrl);
  EXPECT_EQ(form->ActivePageIndex(), 7);
}

TEST_F(WindowKeys, TheCloseBoxEndsWithoutTheExitQuestion) {
  form->Core().configChanged = true;
  SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(terminated, 1);
  EXPECT_TRUE(boxes.questions.empty());
}

TEST_F(WindowKeys, AltF4AsksAboutAChangedConfiguration) {
  for (bool yes : {true, false}) {
    SCOPED_TRACE(yes ? "Yes" : "No");
    TearDown();
    boxes = {};
    terminated = 0;
    Start();
    form->Core().configChanged = true;
    boxes.answerYes = yes;
    Key(VK_F4, kAlt);
    ASSERT_EQ(boxes.questions.size(), 1u);
    EXPECT_EQ(boxes.questions[0].caption, "Confirm");
    EXPECT_EQ(boxes.questions[0].text,
              "The configuration was changed.\rSave changed configuration?");
    EXPECT_EQ(Log().find("Write configuration file") != std::string::npos, yes);
    EXPECT_EQ(terminated, 1);
  }
}

}  // namespace
}  // namespace win32_test
