// Hints in the status bar and as tooltips, and the yellow focus highlight of the
// settings edits.
//
// A hint is "short|long" (or one text for both). The status bar shows the long part
// of the current hint: whenever the thread runs out of messages, that of the control
// under the mouse pointer (a control without a hint of its own lends the nearest
// enclosing control's, disabled controls included); while a menu is open, that of the
// highlighted menu title or item. Tooltips show the short part.
#include "platform/wide_win.h"
#include "window/win32/main_form.h"

using platform::win::Wide;

void TMainForm::BuildToolTips() {
  toolTips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  const auto addTool = [this](HWND control, const std::wstring& text) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  };
  for (const auto& [control, hint] : hints_) {
    const std::wstring text = Wide(window::ShortHint(hint));
    addTool(control, text);
    // The controls inside lend the same hint.
    for (HWND child = GetWindow(control, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      addTool(child, text);
    }
  }
}

void TMainForm::SetHint(const std::string& hint) {
  if (hint == hint_) return;
  hint_ = hint;
  if (appHintInstalled_) OnAppHint();
}

void TMainForm::OnAppHint() {
  SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(Wide(hint_).c_str()));
}

std::string TMainForm::HintAt(POINT screen) const {
  HWND top = WindowFromPoint(screen);
  if (!top || GetAncestor(top, GA_ROOT) != hwnd_) return {};
  // Down to the innermost shown control under the point, disabled ones included.
  HWND control = hwnd_;
  for (;;) {
    POINT client = screen;
    ScreenToClient(control, &client);
    HWND child = ChildWindowFromPointEx(control, client, CWP_SKIPINVISIBLE);
    if (!child || child == control) break;
    control = child;
  }
  for (; control && control != hwnd_; control = GetParent(control)) {
    if (const auto found = hints_.find(control); found != hints_.end()) return found->second;
  }
  return {};
}

void TMainForm::Idle() {
  FlushViews();
  // While a menu is open, its highlighted entries set the hint.
  if (menuOpen_) return;
  POINT cursor;
  if (!GetCursorPos(&cursor)) return;
  SetHint(std::string(window::LongHint(HintAt(cursor))));
}

void TMainForm::OnMenuSelect(WPARAM wParam, LPARAM lParam) {
  const UINT flags = HIWORD(wParam);
  const UINT item = LOWORD(wParam);
  const auto menu = reinterpret_cast<HMENU>(lParam);
  if (flags == 0xFFFF && !menu) return;  // the menu closed
  std::string_view hint;
  if (flags & MF_SYSMENU) {
    hint = "";
  } else if (flags & MF_POPUP) {
    if (menu == menu_ && item < window::Menus().size()) hint = window::Menus()[item].hint;
  } else {
    for (const window::ActionInfo& action : window::Actions()) {
      if (CommandOf(action.id) == static_cast<int>(item)) hint = action.hint;
    }
  }
  SetHint(std::string(window::LongHint(hint)));
}

void TMainForm::e4TEditEnter(HWND edit) {
  highlightedEdit_ = edit;
  highlightShown_ = true;
  InvalidateRect(edit, nullptr, TRUE);
}

// The highlighted edit, not the sender, gets its colour back: it is the one being left.
void TMainForm::e4TEditExit(HWND) {
  if (!highlightedEdit_) return;
  highlightShown_ = false;
  InvalidateRect(highlightedEdit_, nullptr, TRUE);
}

LRESULT TMainForm::EditColours(HDC dc, HWND edit) {
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  if (edit == highlightedEdit_ && highlightShown_) {
    SetBkColor(dc, RGB((window::kFocusHighlight >> 16) & 0xFF,
                       (window::kFocusHighlight >> 8) & 0xFF, window::kFocusHighlight & 0xFF));
    return reinterpret_cast<LRESULT>(highlightBrush_);
  }
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
}
