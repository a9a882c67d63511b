// Which command a key runs. Every key pressed in the window passes here before it is
// translated and dispatched: the accelerator table (built from what the description
// says each key runs), then the page control's Ctrl+Tab, then the mnemonic letters of
// the tool-bar buttons and the tabs, then Tab between the settings edits. The first
// claimant uses the key up; any other key goes on to the control with the focus.
#include <cwctype>

#include "window/win32/main_form.h"

namespace {

bool Held(int virtualKey) {
  return GetKeyState(virtualKey) < 0;
}

// Edits take typed characters; on any other control a plain letter is a mnemonic.
bool TakesTypedCharacters(HWND control) {
  wchar_t name[16] = {};
  GetClassNameW(control, name, 16);
  return _wcsicmp(name, L"Edit") == 0;
}

}  // namespace

bool TMainForm::FocusInPageControl() const {
  HWND focus = GetFocus();
  if (!focus) return false;
  if (focus == tabRow_) return true;
  for (HWND page : pages_) {
    if (focus == page || IsChild(page, focus)) return true;
  }
  return false;
}

TMainForm::Command TMainForm::ClaimMnemonic(const MSG& msg) {
  const auto virtualKey = static_cast<int>(msg.wParam);
  const bool letter =
      (virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9');
  if (!letter || Held(VK_CONTROL)) return {};
  const bool withAlt = msg.message == WM_SYSKEYDOWN && (HIWORD(msg.lParam) & KF_ALTDOWN);
  const bool plain = msg.message == WM_KEYDOWN && !TakesTypedCharacters(GetFocus());
  if (!withAlt && !plain) return {};

  using Target = window::MnemonicTarget;
  const std::optional<Target> target =
      window::ClaimMnemonic(static_cast<char>(virtualKey), [this](Target t) {
        if (t.kind == Target::Kind::Page) return true;  // every shown tab is enabled
        TBBUTTON button{};
        SendMessageW(toolBar_, TB_GETBUTTON, static_cast<WPARAM>(t.index),
                     reinterpret_cast<LPARAM>(&button));
        return (button.fsState & TBSTATE_ENABLED) && !(button.fsState & TBSTATE_HIDDEN);
      });
  if (!target) return {};  // Alt and a menu title's letter is left to the menu bar
  if (target->kind == Target::Kind::Page) {
    return [this, page = target->index] { ShowPage(page); };
  }
  return [this, action = window::ToolBarItems()[static_cast<size_t>(target->index)].action] {
    RunAction(action);
  };
}

bool TMainForm::PreTranslate(MSG& msg) {
  if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
  // Alt released after a mnemonic it was held for: the menu bar is not to take it as
  // Alt pressed alone.
  if ((msg.message == WM_SYSKEYUP || msg.message == WM_KEYUP) && msg.wParam == VK_MENU &&
      altUsed_) {
    altUsed_ = false;
    return true;
  }
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  if (TranslateAcceleratorW(hwnd_, accelerators_, &msg)) return true;

  if (msg.wParam == VK_TAB && !Held(VK_MENU)) {
    if (Held(VK_CONTROL)) {
      if (!FocusInPageControl()) return false;
      ShowPage(window::NextPageWithTab(activePage_, !Held(VK_SHIFT)));
      return true;
    }
    // Tab moves between the settings edits in their tab order.
    HWND focus = GetFocus();
    if (focus && IsChild(scrollBox_, focus)) {
      if (HWND next = GetNextDlgTabItem(scrollBox_, focus, Held(VK_SHIFT))) SetFocus(next);
      return true;
    }
    return false;
  }
  if (const Command command = ClaimMnemonic(msg)) {
    altUsed_ = msg.message == WM_SYSKEYDOWN;
    command();
    return true;
  }
  return false;
}

void TMainForm::Dispatch(MSG& msg) {
  // A key or a click always lands in the whole text.
  if ((msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) ||
      (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST)) {
    FlushViews();
  }
  if (PreTranslate(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}
