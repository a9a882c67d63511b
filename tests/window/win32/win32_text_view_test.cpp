// The Windows text view: its bytes come back exactly as set, whatever the control
// shows; each line is shown in its own encoding and keeps it when the user edits it;
// a control is filled only once it is shown; and the view's capacity holds.
#include <stdexcept>

#include "_4str32/exceptions.h"
#include "main/text_pane.h"
#include "window_harness.h"

namespace win32_test {
namespace {

// A shown window with one multi-line edit, the view's control.
class ViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_ = CreateWindowExW(0, L"STATIC", L"view", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(frame_, nullptr);
    edit = CreateWindowExW(0, L"EDIT", L"",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                               ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN,
                           0, 0, 380, 260, frame_, nullptr, GetModuleHandleW(nullptr), nullptr);
    view = std::make_unique<win32ui::Win32TextView>(edit, 64);
    view->SetOnChange([this] { ++changes; });
  }
  void TearDown() override { DestroyWindow(frame_); }

  void Show(bool shown) {
    ShowWindow(frame_, shown ? SW_SHOWNOACTIVATE : SW_HIDE);
    if (shown) view->Shown();
  }
  // An edit as the user makes it: the selection replaced, the view told as the
  // control's parent would tell it.
  void UserReplaces(int from, int to, const wchar_t* text) {
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(from), to);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
    view->OnControlChanged();
  }
  std::wstring Shown() const {
    const int length = GetWindowTextLengthW(edit);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(edit, text.data(), length + 1)));
    return text;
  }

  HWND frame_ = nullptr;
  HWND edit = nullptr;
  std::unique_ptr<win32ui::Win32TextView> view;
  int changes = 0;
};

// The character of a legacy byte in the user's ANSI code page.
wchar_t Ansi(char byte) {
  wchar_t c = 0;
  MultiByteToWideChar(GetACP(), 0, &byte, 1, &c, 1);
  return c;
}

TEST_F(ViewTest, GivesBackTheBytesItWasGivenShownOrNot) {
  const std::string texts[] = {
      "",
      "one line",
      "two\r\nlines\r\n",
      "\r\n\r\n",
      "caf\xE9\r\nna\xC3\xAFve\r\n",  // a legacy line and a UTF-8 line
      "\xEF\xBB\xBF"
      "bom\r\n",                   // a byte-order mark is a character of its own
      "\x80\x81\x8D\x8F\x90\x9D",  // bytes the code page leaves undefined
  };
  for (bool shown : {true, false}) {
    Show(shown);
    for (const std::string& text : texts) {
      SCOPED_TRACE(testing::PrintToString(text) + (shown ? " shown" : " hidden"));
      changes = 0;
      view->SetText(text);
      EXPECT_EQ(view->Text(), text);
      EXPECT_EQ(view->Size(), text.size());
      EXPECT_EQ(changes, 1);
      // What the control shows reads back as the same bytes.
      Show(true);
      view->OnControlChanged();
      EXPECT_EQ(view->Text(), text);
      Show(shown);
    }
  }
}

TEST_F(ViewTest, ShowsEachLineInItsOwnEncodingAndAnEditedLineKeepsIt) {
  Show(true);
  view->SetText("caf\xE9\r\nna\xC3\xAFve\r\n");
  EXPECT_EQ(Shown(), std::wstring(L"caf") + Ansi('\xE9') + L"\r\nna\u00EFve\r\n");
  EXPECT_EQ(view->LineEncoding(0), platform::TextEncoding::Legacy);
  EXPECT_EQ(view->LineEncoding(1), platform::TextEncoding::Utf8);

  changes = 0;
  UserReplaces(4, 4, L"s");  // "café" becomes "cafés", still in the code page
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(view->Text(), "caf\xE9s\r\nna\xC3\xAFve\r\n");
  UserReplaces(12, 12, L"\u00FC");  // "naïve" becomes "naïveü", still UTF-8
  EXPECT_EQ(view->Text(), "caf\xE9s\r\nna\xC3\xAFve\xC3\xBC\r\n");
  // A line split off a legacy line stays legacy.
  UserReplaces(2, 2, L"\r\n");
  EXPECT_EQ(view->Text(), "ca\r\nf\xE9s\r\nna\xC3\xAFve\xC3\xBC\r\n");
}

TEST_F(ViewTest, AHiddenControlIsFilledWhenFirstShown) {
  Show(false);
  view->SetText("hidden\r\n");
  EXPECT_EQ(Shown(), L"");
  EXPECT_FALSE(view->ControlFilled());
  Show(true);
  EXPECT_EQ(Shown(), L"hidden\r\n");
  EXPECT_TRUE(view->ControlFilled());
}

TEST_F(ViewTest, AppendedLinesGoToTheEndWithTheInsertionPoint) {
  Show(true);
  view->SetText("first\r\n");
  SendMessageW(edit, EM_SETSEL, 0, 3);  // a selection the user made
  changes = 0;
  view->Append("caf\xE9\r\n");
  view->Append("ok");
  view->Append("\r\nlast");
  EXPECT_EQ(changes, 3);
  // The control takes them in at once, when the window says.
  EXPECT_EQ(Shown(), L"first\r\n");
  view->FlushAppended();
  EXPECT_EQ(view->Text(), "first\r\ncaf\xE9\r\nok\r\nlast");
  EXPECT_EQ(Shown(), std::wstring(L"first\r\ncaf") + Ansi('\xE9') + L"\r\nok\r\nlast");
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, Shown().size());
  EXPECT_EQ(end, Shown().size());
  EXPECT_EQ(view->LineCount(), 4u);
  EXPECT_EQ(view->LineAt(1, 4096), "caf\xE9");
}

TEST_F(ViewTest, APaneReportsATextOverTheViewsCapacity) {
  TextPane pane(*view);
  pane.SetWholeText("small");
  const std::string big(65, 'x');
  try {
    pane.SetWholeText(big);
    ADD_FAILURE() << "no failure";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "Text exceeds memo capacity");
  }
  EXPECT_EQ(pane.GetWholeText(), "small");
  EXPECT_THROW(view->SetText(big), std::length_error);
  EXPECT_EQ(view->Text(), "small");
}

}  // namespace
}  // namespace win32_test
