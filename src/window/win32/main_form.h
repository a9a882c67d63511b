// TMainForm for Windows: the program's one window, built from the window's description
// with Windows' own controls (menu bar and accelerators, a common-controls tool bar,
// a tab control with its pages, multi-line edits, a status bar), running the commands
// of TMainCore inside its failure guard.
//
// The window is split over several files: main_form.cpp (construction, the window
// procedures, the command handlers), form_layout.cpp (controls, fonts, placement at
// the system's DPI), form_images.cpp (image lists and icon), form_actions.cpp (menus,
// accelerators, commands by action), form_keys.cpp (which command a key runs, the
// message loop), form_pages.cpp (page, size and tool-bar commands, the first show),
// form_hints.cpp (status-bar hints, tooltips and the focus highlight of the settings).
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "main/dialogs.h"
#include "main/form_options.h"
#include "main/window_description.h"
#include "platform/clock.h"

class TMainCore;
namespace win32ui {
class Win32TextView;
class Win32FileDialog;
class Win32MessageBoxes;
}  // namespace win32ui

// What a test (or another host) may put in place of the window's own parts.
using TMainFormOptions = FormOptions;

class TMainForm {
 public:
  explicit TMainForm(TMainFormOptions options = {});
  ~TMainForm();
  TMainForm(const TMainForm&) = delete;
  TMainForm& operator=(const TMainForm&) = delete;

  TMainCore& Core() { return *core_; }
  HWND Handle() const { return hwnd_; }

  // Shows the window the first time: centred on the screen, at its creation size.
  void Show(int showCommand = SW_SHOWNORMAL);

  // The page control: eight pages, index 0 "Protocol" to 7 "Help".
  int ActivePageIndex() const { return activePage_; }
  void ShowPage(int index);

  // Loads the files the program's arguments name (TMainCore::OpenFileArguments), each
  // as Load code file or Load header file loads a chosen one.
  void OpenFileArguments(const std::vector<std::string>& args);

  // Offers a message to the window's key routing before it is translated and
  // dispatched; true when the routing used it up. The message loop and the tests
  // both pass every message through Dispatch.
  bool PreTranslate(MSG& msg);
  void Dispatch(MSG& msg);
  // Runs when the thread has no message left: the status bar follows the mouse.
  void Idle();
  // The current hint text (UTF-8), as the status bar shows it.
  const std::string& CurrentHint() const { return hint_; }

  // Controls, for the tests.
  HWND ToolBar() const { return toolBar_; }
  HWND Spacer() const { return p4Separator_; }
  HWND TabRow() const { return tabRow_; }
  HWND Page(int index) const { return pages_[static_cast<size_t>(index)]; }
  HWND StatusBar() const { return statusBar_; }
  HWND PaneControl(window::Pane pane) const;
  HWND SettingsEdit(int row) const { return settingsEdits_[static_cast<size_t>(row)]; }
  HMENU Menu() const { return menu_; }
  win32ui::Win32TextView& View(window::Pane pane) const;
  // The window's DPI scale: pixels at 96 dots per inch become Scale(pixels).
  int Scale(int pixels) const;

  // Command handlers.
  void a4ExitExecute();
  void a4LoadConfigExecute();
  void a4SaveConfigExecute();
  void a4DefaultSizeExecute();
  void a4MinSizeExecute();
  void a4LoadCodeFileExecute();
  void a4LoadHeaderFileExecute();
  void a4MergeFilesExecute();
  void a4SaveMergedFileExecute();
  // Window event handlers.
  void FormResize();
  void FormShow();
  void e4TEditEnter(HWND edit);
  void e4TEditExit(HWND edit);
  void OnAppHint();

  // The command number of an action (menu items, buttons, accelerators).
  static int CommandOf(window::Action id);

 private:
  using Command = std::function<void()>;

  // main_form.cpp
  static LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  void OnCommand(WPARAM wParam, LPARAM lParam);
  void RunCommand(const Command& command);
  // Every pane's control takes in the lines appended to it.
  void FlushViews();
  void BuildCore();

  // form_layout.cpp
  void BuildLayout();
  void BuildFonts();
  void BuildToolBar();
  void BuildPages();
  void BuildTextPane(const window::PaneInfo& pane);
  void BuildSettingsPage();
  void Layout();
  void LayoutSettings();
  void ScrollSettings(int code);

  // form_images.cpp
  void BuildImageLists();
  HICON BuildIcon() const;

  // form_actions.cpp
  void BuildMenus();
  void BuildAccelerators();
  void RunAction(window::Action id);

  // form_keys.cpp
  Command ClaimMnemonic(const MSG& msg);
  bool FocusInPageControl() const;

  // form_pages.cpp
  void SyncTabRow();
  void FocusFirstControl(int page);
  void OnTabChanged();
  void SetOuterHeight(int height);
  void SetOuterWidth(int width);

  // form_hints.cpp
  void BuildToolTips();
  void SetHint(const std::string& hint);
  void OnMenuSelect(WPARAM wParam, LPARAM lParam);
  std::string HintAt(POINT screen) const;
  LRESULT EditColours(HDC dc, HWND edit);

  TMainFormOptions options_;
  std::unique_ptr<win32ui::Win32FileDialog> ownOpenDialog_, ownSaveDialog_;
  std::unique_ptr<win32ui::Win32MessageBoxes> ownBoxes_;
  std::unique_ptr<TMainCore> core_;

  HWND hwnd_ = nullptr;
  int dpi_ = 96;
  HMENU menu_ = nullptr;
  HACCEL accelerators_ = nullptr;
  HFONT windowFont_ = nullptr, smallFixed_ = nullptr, largeFixed_ = nullptr, labelFont_ = nullptr;
  HIMAGELIST il4Default_ = nullptr, il4Highlight_ = nullptr;
  HICON icon_ = nullptr;
  HBRUSH highlightBrush_ = nullptr;

  HWND toolBar_ = nullptr, p4Separator_ = nullptr, tabRow_ = nullptr, statusBar_ = nullptr;
  HWND toolTips_ = nullptr;
  std::array<HWND, window::kPageCount> pages_{};
  std::array<std::unique_ptr<win32ui::Win32TextView>, 7> views_;
  std::array<HWND, 7> paneControls_{};
  HWND scrollBox_ = nullptr, panel1_ = nullptr;
  int settingsScroll_ = 0;
  std::array<HWND, 16> settingsEdits_{}, settingsLabels_{};
  int activePage_ = 0;

  // Hints of the controls that have one (pages), by window.
  std::unordered_map<HWND, std::string> hints_;
  std::string hint_;
  bool appHintInstalled_ = false;
  bool menuOpen_ = false;
  HWND highlightedEdit_ = nullptr;
  bool highlightShown_ = false;
  // The control that had the focus when the window was last left.
  HWND lastFocus_ = nullptr;
  bool shownOnce_ = false;
  // A mnemonic was taken with Alt held: its release is not Alt pressed alone.
  bool altUsed_ = false;
};
