// The real Windows window for the tests under Wine: a temporary program folder with a
// configuration file that names a log file there, scripted file dialogs and boxes, a
// fixed clock, and Exit caught by the test. Keys are pressed as the keyboard would:
// the key state set, the key messages posted to the control with the focus, and the
// messages pumped through the window's own routing, as the program's loop does.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "fakes/fake_form_options.h"
#include "fakes/fake_platform.h"
#include "fakes/temp_dir.h"
#include "main/main_core.h"
#include "platform/wide_win.h"
#include "window/win32/main_form.h"
#include "window/win32/message_loop.h"
#include "window/win32/win32_text_view.h"

namespace win32_test {

enum Modifiers : unsigned { kPlain = 0, kShift = 1, kCtrl = 2, kAlt = 4 };

inline std::string TextOf(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), length + 1)));
  return platform::win::Utf8(text);
}

inline SIZE OuterSize(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

class WindowTest : public ::testing::Test {
 protected:
  void Start() {
    WriteFile(folder / "vaskarel.ini", "[Start]\r\nLogFile=" + LogPath() + "\r\n");
    TMainFormOptions options = FakeFormOptions<TMainFormOptions>(
        folder / "vaskarel.exe", openDialog, saveDialog, boxes, clock);
    options.terminate = [this] { ++terminated; };
    form = std::make_unique<TMainForm>(std::move(options));
    ASSERT_NE(form->Handle(), nullptr) << "no window: is there a display for Wine?";
    form->Show();
    Pump();
  }

  void SetUp() override { Start(); }
  void TearDown() override {
    form.reset();
    ReleaseKeys();
  }

  void Pump() { PumpMessages(*form); }

  // A key pressed and released with the modifiers held, at the control with the focus.
  void Key(int virtualKey, unsigned modifiers = kPlain) {
    HoldKeys(modifiers);
    HWND target = GetFocus() ? GetFocus() : form->Handle();
    const bool alt = modifiers & kAlt;
    const UINT scan = MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC);
    const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16) | (alt ? (1 << 29) : 0);
    PostMessageW(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, static_cast<WPARAM>(virtualKey), down);
    Pump();
    if (IsWindow(target)) {
      PostMessageW(target, alt ? WM_SYSKEYUP : WM_KEYUP, static_cast<WPARAM>(virtualKey),
                   down | (3LL << 30));
    }
    ReleaseKeys();
    Pump();
  }

  // Characters typed into the control with the focus.
  void Type(const std::wstring& text) {
    for (wchar_t c : text) PostMessageW(GetFocus(), WM_CHAR, c, 1);
    Pump();
  }

  static void HoldKeys(unsigned modifiers) {
    BYTE state[256] = {};
    const auto hold = [&](int key, bool down) { state[key] = down ? 0x80 : 0; };
    hold(VK_SHIFT, modifiers & kShift);
    hold(VK_LSHIFT, modifiers & kShift);
    hold(VK_CONTROL, modifiers & kCtrl);
    hold(VK_LCONTROL, modifiers & kCtrl);
    hold(VK_MENU, modifiers & kAlt);
    hold(VK_LMENU, modifiers & kAlt);
    SetKeyboardState(state);
  }
  static void ReleaseKeys() { HoldKeys(kPlain); }

  std::string LogPath() const { return folder / "run.log"; }
  std::string Log() const { return form->Core().m4Log.GetWholeText(); }
  std::string Status() const {
    wchar_t text[512] = {};
    SendMessageW(form->StatusBar(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    return platform::win::Utf8(text);
  }
  // The background a settings edit is painted with now, as its parent tells it.
  COLORREF Background(HWND edit) const {
    HDC dc = GetDC(edit);
    SendMessageW(form->Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(edit));
    const COLORREF colour = GetBkColor(dc);
    ReleaseDC(edit, dc);
    return colour;
  }

  TempDir folder{"vk_win", TempDir::kLowerCase};
  FakeFileDialog openDialog, saveDialog;
  FakeMessageBoxes boxes;
  FakeClock clock;
  int terminated = 0;
  std::unique_ptr<TMainForm> form;
};

}  // namespace win32_test
