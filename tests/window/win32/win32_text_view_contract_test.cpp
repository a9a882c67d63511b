// The text-view contract on the Windows view: its control shown in a window of its own,
// filled, and read back from the control after an edit that leaves the text as it was.
#include "main/text_view_contract.h"
#include "window/win32/win32_text_view.h"

namespace {

// A view with the shown window that holds its control.
class FramedView : public win32ui::Win32TextView {
 public:
  FramedView(HWND frame, size_t capacity)
      : Win32TextView(
            CreateWindowExW(0, L"EDIT", L"",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN,
                            0, 0, 380, 260, frame, nullptr, GetModuleHandleW(nullptr), nullptr),
            capacity),
        frame_(frame) {}
  ~FramedView() override { DestroyWindow(frame_); }

 private:
  HWND frame_;
};

struct Win32Views {
  static std::unique_ptr<TextView> Make(size_t capacity) {
    HWND frame = CreateWindowExW(0, L"STATIC", L"view", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(frame, nullptr);
    ShowWindow(frame, SW_SHOWNOACTIVATE);
    return std::make_unique<FramedView>(frame, capacity);
  }
  static void Settle(TextView& view) {
    auto& win = static_cast<win32ui::Win32TextView&>(view);
    win.Shown();
    EXPECT_TRUE(win.ControlFilled());
  }
  static void EditInPlace(TextView& view) {
    auto& win = static_cast<win32ui::Win32TextView&>(view);
    Settle(view);
    HWND edit = win.Control();
    const auto end = static_cast<WPARAM>(GetWindowTextLengthW(edit));
    SendMessageW(edit, EM_SETSEL, end, static_cast<LPARAM>(end));
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"x"));
    win.OnControlChanged();
    SendMessageW(edit, EM_SETSEL, end, static_cast<LPARAM>(end + 1));
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
    win.OnControlChanged();
  }
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, TextViewContract, Win32Views);
