// The window's description as both windows read it: which command a key or a
// mnemonic letter runs, the page cycle, key texts and captions.
#include "main/window_description.h"

#include <gtest/gtest.h>

namespace {

using window::Action;
using window::Key;

TEST(WindowKeys, TheMenuBarFirstThenTheActionListInItsOrder) {
  const auto all = [](Action) { return true; };
  const struct {
    const char* what;
    Key key;
    std::optional<Action> runs;  // nullopt: nothing claims the key
  } cases[] = {
      {"Ctrl+M: Edit > Merge files comes before Window > Minimale Größe",
       {Key::kCtrl, 'M'},
       Action::MergeFiles},
      {"Ctrl+5: in no menu, the first listed", {Key::kCtrl, '5'}, Action::ShowPage3},
      {"Alt+F4", {Key::kAlt, Key::kF1 + 3}, Action::Exit},
      {"Ctrl+N", {Key::kCtrl, 'N'}, Action::DefaultSize},
      {"Ctrl+1", {Key::kCtrl, '1'}, Action::ShowProtocollPage},
      {"Ctrl+4", {Key::kCtrl, '4'}, Action::ShowPage4},
      {"Ctrl+Shift+M is another key", {Key::kCtrl | Key::kShift, 'M'}, std::nullopt},
      {"a plain letter", {Key::kNone, 'M'}, std::nullopt},
      {"F4 without Alt", {Key::kNone, Key::kF1 + 3}, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::optional<window::KeyClaim> claim = window::ClaimShortcut(c.key, all);
    ASSERT_EQ(claim.has_value(), c.runs.has_value());
    if (claim) {
      EXPECT_EQ(claim->action, c.runs);
    }
  }
}

TEST(WindowKeys, ADisabledMenuItemUsesItsKeyUpWithoutRunning) {
  // With Merge files disabled, Ctrl+M reaches neither it nor Minimale Größe.
  const auto claim =
      window::ClaimShortcut({Key::kCtrl, 'M'}, [](Action id) { return id != Action::MergeFiles; });
  ASSERT_TRUE(claim.has_value());
  EXPECT_FALSE(claim->action.has_value());
}

TEST(WindowKeys, MnemonicsTakeToolBarButtonsFirstThenTabs) {
  using Target = window::MnemonicTarget;
  const auto all = [](Target) { return true; };
  const struct {
    char letter;
    std::optional<Target::Kind> kind;
    const char* name;
  } cases[] = {
      {'c', Target::Kind::ToolButton, "ToolButton3"},  // "&Code file"
      {'H', Target::Kind::ToolButton, "ToolButton9"},  // before the tab "&Help"
      {'M', Target::Kind::ToolButton, "ToolButton4"},
      {'S', Target::Kind::ToolButton, "ToolButton1"},
      {'X', Target::Kind::ToolButton, "ToolButton10"},  // Exit's own caption
      {'P', Target::Kind::Page, "TabSheet1"},
      {'E', std::nullopt, ""},  // "&Einstellungen" has no tab; "&Edit" is the menu bar's
      {'F', std::nullopt, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.letter);
    const std::optional<Target> target = window::ClaimMnemonic(c.letter, all);
    ASSERT_EQ(target.has_value(), c.kind.has_value());
    if (!target) continue;
    EXPECT_EQ(target->kind, *c.kind);
    EXPECT_STREQ(target->kind == Target::Kind::Page ? window::Pages()[target->index].name
                                                    : window::ToolBarItems()[target->index].name,
                 c.name);
  }
  // A hidden or disabled "&Header file" button leaves H to the tab "&Help".
  const auto noButtons = [](Target t) { return t.kind == Target::Kind::Page; };
  const std::optional<Target> help = window::ClaimMnemonic('H', noButtons);
  ASSERT_TRUE(help.has_value());
  EXPECT_STREQ(window::Pages()[help->index].name, "TabSheet4");
}

TEST(WindowPages, CtrlTabVisitsTheTabbedPagesAndWraps) {
  // Tabs: 0 Protocol, 4 Code file, 5 Header file, 6 Merged file, 7 Help.
  EXPECT_EQ(window::NextPageWithTab(0, true), 4);
  EXPECT_EQ(window::NextPageWithTab(7, true), 0);
  EXPECT_EQ(window::NextPageWithTab(0, false), 7);
  EXPECT_EQ(window::NextPageWithTab(1, true), 4);  // from a page without a tab
  EXPECT_EQ(window::NextPageWithTab(4, false), 0);
}

TEST(WindowTexts, KeysCaptionsAndHints) {
  EXPECT_EQ(window::KeyText({Key::kAlt, Key::kF1 + 3}), "Alt+F4");
  EXPECT_EQ(window::KeyText({Key::kCtrl, '5'}), "Ctrl+5");
  EXPECT_EQ(window::KeyText({Key::kCtrl | Key::kShift, Key::kTab}), "Ctrl+Shift+Tab");
  EXPECT_EQ(window::KeyText({}), "");
  EXPECT_EQ(window::MnemonicOf("E&xit"), 'X');
  EXPECT_EQ(window::MnemonicOf("A&&B"), 0);
  EXPECT_EQ(window::MnemonicOf("A&&B &c"), 'C');
  EXPECT_EQ(window::PlainCaption("Load &code file"), "Load code file");
  EXPECT_EQ(window::PlainCaption("Fish && &Chips"), "Fish & Chips");
  EXPECT_EQ(window::ShortHint("short|long"), "short");
  EXPECT_EQ(window::LongHint("short|long"), "long");
  EXPECT_EQ(window::LongHint("both"), "both");
  EXPECT_EQ(window::SpacerWidth(640), 640 - 7 * 64 - 30);
  EXPECT_EQ(window::SpacerWidth(100), 0);
}

}  // namespace
