// The main window as data, for every window that shows it (Qt on Linux, Win32 on
// Windows): the actions in list order with their names, captions, keys, images and
// hints; the menu bar; the tool bar; the pages and their panes; the settings rows; the
// sizes at 96 dots per inch; and the routing of a key to the command it runs. A
// window builds its controls from this description and asks it which command a key
// or a mnemonic letter runs; it adds only what its toolkit needs.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace window {

// The actions, in list order: the order decides which of two actions sharing a key
// runs it.
enum class Action : uint8_t {
  Exit,
  Disabled,
  LoadConfig,
  SaveConfig,
  DefaultSize,
  MinSize,
  ShowProtocollPage,
  ShowPage1,
  ShowPage2,
  ShowPage3,
  ShowPage4,
  ShowDebugPage,
  LoadCodeFile,
  LoadHeaderFile,
  MergeFiles,
  SaveMergedFile,
};
inline constexpr int kActionCount = 16;

// A key with the modifiers held: a letter 'A' to 'Z', a digit '0' to '9', Tab or a
// function key. Shift with a letter is a modifier like the others.
struct Key {
  enum Modifier : uint8_t { kNone = 0, kShift = 1, kCtrl = 2, kAlt = 4 };
  static constexpr int kTab = 0x09;
  static constexpr int kF1 = 0x100;  // kF1 + n - 1 is Fn

  uint8_t modifiers = kNone;
  int code = 0;  // 0: no key

  bool Empty() const { return code == 0; }
  bool operator==(const Key&) const = default;
};

// The key as menus show it and Qt's portable text reads it: "Ctrl+N", "Alt+F4".
std::string KeyText(Key key);

struct ActionInfo {
  Action id;
  const char* name;     // "a4Exit"
  const char* caption;  // "E&xit": "&" marks the mnemonic, "&&" stands for "&"
  Key key;              // Empty() for none
  int image;            // in the image lists; -1 for none
  const char* hint;     // "short|long", one text for both, or empty
  bool enabled;
};

std::span<const ActionInfo> Actions();
const ActionInfo& ActionOf(Action id);

// The image lists: kImageCount places, the highlight form under the same index. The
// actions use four of them; every other place repeats one of the four pictures.
inline constexpr int kImageCount = 46;
enum class Picture : uint8_t { Exit, Open, Merge, Save };
Picture PictureAt(int index);

// The parts of a hint: the short one for tooltips, the long one for the status bar.
std::string_view ShortHint(std::string_view hint);
std::string_view LongHint(std::string_view hint);
// The letter marked by "&" in a caption, upper-cased ("E&xit" -> 'X'); 0 for none.
char MnemonicOf(std::string_view caption);
// The caption as shown without its mnemonic marks ("E&xit" -> "Exit", "&&" -> "&").
std::string PlainCaption(std::string_view caption);

// The menu bar: menus in order, each with its items; an item without an action is a
// separator.
struct MenuItem {
  const char* name;
  std::optional<Action> action;
};
struct Menu {
  const char* name;   // "mi4Datei"
  const char* title;  // "&File"
  const char* hint;
  std::span<const MenuItem> items;
};
std::span<const Menu> Menus();

// The tool bar, left to right. Buttons are kButtonWidth x kButtonHeight; a separator
// is kSeparatorWidth wide; the spacer takes what the row leaves (SpacerWidth), so that
// the items after it sit at the right end.
struct ToolBarItem {
  enum class Kind : uint8_t { Button, Separator, Spacer };
  Kind kind;
  const char* name;             // "ToolButton3"
  Action action;                // for a button
  const char* caption;          // the button's own caption; nullptr for its action's
  const char* Caption() const;  // the caption shown
};
std::span<const ToolBarItem> ToolBarItems();
inline constexpr int kToolBarHeight = 46;
inline constexpr int kButtonWidth = 64;
inline constexpr int kButtonHeight = 36;
inline constexpr int kSeparatorWidth = 8;
// The spacer's width on a bar `barWidth` wide, never below 0.
int SpacerWidth(int barWidth);

// The page control's pages in index order; a page without a tab is reached by its
// command alone.
inline constexpr int kPageCount = 8;
struct PageInfo {
  const char* name;     // "TabSheet1"
  const char* caption;  // "&Protocol"
  bool tabShown;
  const char* hint;  // empty for none
};
std::span<const PageInfo> Pages();
// The page a page command shows; nullopt for any other action.
std::optional<int> PageShownBy(Action id);
// Ctrl+Tab (forward) and Ctrl+Shift+Tab: the next page with a shown tab after `page`,
// wrapping around; `page` itself when no other has one.
int NextPageWithTab(int page, bool forward);

// The text panes on their pages. The fixed-pitch font is kSmallFont or kLargeFont
// pixels high; a pane that wraps has no horizontal scroll bar.
enum class Pane : uint8_t { Log, Lists, Member, CodeFile, HeaderFile, MergedFile, Doku };
struct PaneInfo {
  Pane id;
  const char* name;  // "m4Log"
  int page;
  int fontPixels;
  bool wrap;
  bool visible;
};
std::span<const PaneInfo> Panes();
inline constexpr int kSmallFont = 11;  // 8 point
inline constexpr int kLargeFont = 12;  // 9 point

// The settings page: a label and an edit a row, in tab order (not top-to-bottom).
// Edits start at kEditLeft and their width is the scroll box's client width less
// kEditWidthLoss; labels end at kLabelRight, kLabelDrop below their edit's top.
struct SettingsRow {
  const char* edit;
  int top;
  bool shown;
  const char* label;
  const char* text;
  bool reportsChange;  // an edit of it logs "Configuration changed ..."
};
std::span<const SettingsRow> SettingsRows();
inline constexpr int kEditLeft = 266;
inline constexpr int kEditHeight = 25;
inline constexpr int kEditWidthLoss = 1059;
inline constexpr int kLabelRight = 260;
inline constexpr int kLabelDrop = 4;
struct Rect {
  int left, top, width, height;
};
inline constexpr Rect kPanel1{8, 386, 572, 6};
// The settings edit that has the focus shows this background (red, green, blue).
inline constexpr uint32_t kFocusHighlight = 0xFFFF00;

// The window: its caption, its outer size (frame included) when created, which is
// also its smallest, and the size of the default-size command.
inline constexpr char kCaption[] = "Merge dialog strings";
struct Size {
  int width, height;
};
inline constexpr Size kOuterSize{640, 480};
inline constexpr Size kDefaultOuterSize{768, 568};
inline constexpr int kStatusBarHeight = 19;

// What a key runs, asked before the focused control sees the key. The menu bar's items
// come first, depth first in menu order: the first item with the key uses it up, and
// runs its action only when the item and its menus are enabled. Then the action list
// in list order. nullopt when nothing claims the key; an empty action when the key is
// used up without a command.
struct KeyClaim {
  std::optional<Action> action;
};
std::optional<KeyClaim> ClaimShortcut(Key key, const std::function<bool(Action)>& enabled);

// What a mnemonic letter runs: with Alt, or alone where the focused control takes no
// typed characters. The tool-bar buttons first, left to right, then the tabs; a button
// or tab counts only when `usable` says it is shown and enabled. Alt and the letter of
// a menu title is left to the menu bar, which opens the menu.
struct MnemonicTarget {
  enum class Kind : uint8_t { ToolButton, Page };
  Kind kind;
  int index;  // in ToolBarItems() or Pages()
};
std::optional<MnemonicTarget> ClaimMnemonic(char letter,
                                            const std::function<bool(MnemonicTarget)>& usable);

}  // namespace window
