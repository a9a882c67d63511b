// The page commands, the size commands and the window's first show.
#include <algorithm>

#include "window/win32/main_form.h"
#include "window/win32/win32_text_view.h"

void TMainForm::ShowPage(int index) {
  if (index < 0 || index >= window::kPageCount || index == activePage_) return;
  HWND left = pages_[static_cast<size_t>(activePage_)];
  HWND page = pages_[static_cast<size_t>(index)];
  HWND focus = GetFocus();
  const bool focusWasInside = focus && (focus == left || IsChild(left, focus));
  if (focusWasInside) SetFocus(left);
  SetWindowPos(page, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  // A pane shows its text once its page is shown, not before.
  for (const window::PaneInfo& pane : window::Panes()) {
    if (pane.page == index && views_[static_cast<size_t>(pane.id)]) {
      views_[static_cast<size_t>(pane.id)]->Shown();
    }
  }
  // The focus moves on before the page left is hidden, so that it never passes through
  // another control on the way.
  if (focusWasInside) FocusFirstControl(index);
  ShowWindow(left, SW_HIDE);
  activePage_ = index;
  SyncTabRow();
}

// The first control of the page that can take the focus, in tab order: its pane, the
// first shown settings edit, or the page itself when it shows nothing.
void TMainForm::FocusFirstControl(int page) {
  for (const window::PaneInfo& pane : window::Panes()) {
    if (pane.page == page && pane.visible) {
      SetFocus(paneControls_[static_cast<size_t>(pane.id)]);
      return;
    }
  }
  if (page == 1) {
    const auto rows = window::SettingsRows();
    for (size_t i = 0; i < rows.size(); ++i) {
      if (rows[i].shown) {
        SetFocus(settingsEdits_[i]);
        return;
      }
    }
  }
  SetFocus(pages_[static_cast<size_t>(page)]);
}

// The tab of the active page is selected; a page without a tab leaves none selected.
void TMainForm::SyncTabRow() {
  const auto count = static_cast<int>(SendMessageW(tabRow_, TCM_GETITEMCOUNT, 0, 0));
  int selected = -1;
  for (int tab = 0; tab < count; ++tab) {
    TCITEMW item{};
    item.mask = TCIF_PARAM;
    SendMessageW(tabRow_, TCM_GETITEMW, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item));
    if (item.lParam == activePage_) selected = tab;
  }
  SendMessageW(tabRow_, TCM_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void TMainForm::OnTabChanged() {
  const auto tab = static_cast<int>(SendMessageW(tabRow_, TCM_GETCURSEL, 0, 0));
  if (tab < 0) return;
  TCITEMW item{};
  item.mask = TCIF_PARAM;
  SendMessageW(tabRow_, TCM_GETITEMW, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item));
  ShowPage(static_cast<int>(item.lParam));
}

// The size commands set the outer size (frame included); the top-left corner stays.
void TMainForm::SetOuterHeight(int height) {
  RECT outer;
  GetWindowRect(hwnd_, &outer);
  SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, Scale(height),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMainForm::SetOuterWidth(int width) {
  RECT outer;
  GetWindowRect(hwnd_, &outer);
  SetWindowPos(hwnd_, nullptr, 0, 0, Scale(width), outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMainForm::a4DefaultSizeExecute() {
  SetOuterHeight(window::kDefaultOuterSize.height);
  SetOuterWidth(window::kDefaultOuterSize.width);
}

void TMainForm::a4MinSizeExecute() {
  SetOuterHeight(window::kOuterSize.height);
  SetOuterWidth(window::kOuterSize.width);
}

// Runs the layout again (and with it the spacer) without changing the size.
void TMainForm::FormShow() {
  RECT outer;
  GetWindowRect(hwnd_, &outer);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  const UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
  SetWindowPos(hwnd_, nullptr, 0, 0, width + 1, height, flags);
  SetWindowPos(hwnd_, nullptr, 0, 0, width, height, flags);
}

void TMainForm::Show(int showCommand) {
  FormShow();
  if (!shownOnce_) {
    shownOnce_ = true;
    // Centred on the screen, by whole-number division, never off its top-left edge.
    RECT outer;
    GetWindowRect(hwnd_, &outer);
    const int left = std::max(
        0, (GetSystemMetrics(SM_CXSCREEN) - static_cast<int>(outer.right - outer.left)) / 2);
    const int top = std::max(
        0, (GetSystemMetrics(SM_CYSCREEN) - static_cast<int>(outer.bottom - outer.top)) / 2);
    SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
  for (const window::PaneInfo& pane : window::Panes()) {
    if (pane.page == activePage_ && views_[static_cast<size_t>(pane.id)]) {
      views_[static_cast<size_t>(pane.id)]->Shown();
    }
  }
  SetForegroundWindow(hwnd_);
  if (lastFocus_) SetFocus(lastFocus_);
}
