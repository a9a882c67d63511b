// The controls of the window, built from the window's description: the tool bar, the
// tab control with its eight pages and their panes, the settings rows and the status
// bar; and their placement, at the system's DPI, whenever the window's size changes.
#include <algorithm>

#include "main/window_description.h"
#include "platform/wide_win.h"
#include "window/win32/main_form.h"
#include "window/win32/win32_text_view.h"
#include "window/win32/window_classes.h"

using platform::win::Wide;

namespace {

// Where the face is missing, the system takes the nearest of the same pitch and family.
HFONT MakeFont(const wchar_t* face, int pixels, bool fixedPitch) {
  return CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     fixedPitch ? FIXED_PITCH | FF_MODERN : VARIABLE_PITCH | FF_SWISS, face);
}

void SetFont(HWND control, HFONT font) {
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

// The tool bar's item that the spacer panel takes.
int SpacerIndex() {
  const auto items = window::ToolBarItems();
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].kind == window::ToolBarItem::Kind::Spacer) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

void TMainForm::BuildFonts() {
  windowFont_ = MakeFont(L"MS Sans Serif", Scale(11), false);
  labelFont_ = MakeFont(L"MS Sans Serif", Scale(12), false);
  smallFixed_ = MakeFont(L"Courier New", Scale(window::kSmallFont), true);
  largeFixed_ = MakeFont(L"Courier New", Scale(window::kLargeFont), true);
  highlightBrush_ =
      CreateSolidBrush(RGB((window::kFocusHighlight >> 16) & 0xFF,
                           (window::kFocusHighlight >> 8) & 0xFF, window::kFocusHighlight & 0xFF));
}

void TMainForm::BuildLayout() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  BuildToolBar();
  tabRow_ = CreateWindowExW(0, WC_TABCONTROLW, L"PageControl",
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_MULTILINE, 0, 0, 0, 0,
                            hwnd_, nullptr, instance, nullptr);
  SetFont(tabRow_, windowFont_);
  BuildPages();
  statusBar_ = CreateWindowExW(
      0, STATUSCLASSNAMEW, L"",
      WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0,
      0, 0, 0, hwnd_, nullptr, instance, nullptr);
  SetFont(statusBar_, windowFont_);
  // One panel, which as the last one reaches to the bar's right end.
  int parts[] = {-1};
  SendMessageW(statusBar_, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
  Layout();
}

void TMainForm::BuildToolBar() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  toolBar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"ToolBar",
                             WS_CHILD | WS_VISIBLE | WS_BORDER | TBSTYLE_FLAT | CCS_NORESIZE |
                                 CCS_NOPARENTALIGN | CCS_NODIVIDER,
                             0, 0, 0, 0, hwnd_, nullptr, instance, nullptr);
  SendMessageW(toolBar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SetFont(toolBar_, windowFont_);
  SendMessageW(toolBar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(il4Default_));
  SendMessageW(toolBar_, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(il4Highlight_));
  SendMessageW(toolBar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 16));
  const int width = Scale(window::kButtonWidth);
  SendMessageW(toolBar_, TB_SETBUTTONWIDTH, 0, MAKELPARAM(width, width));

  for (const window::ToolBarItem& item : window::ToolBarItems()) {
    TBBUTTON button{};
    if (item.kind == window::ToolBarItem::Kind::Button) {
      const window::ActionInfo& action = window::ActionOf(item.action);
      std::wstring caption = Wide(item.Caption());
      caption += L'\0';
      button.iBitmap = action.image >= 0 ? action.image : I_IMAGENONE;
      button.idCommand = CommandOf(item.action);
      button.fsState = action.enabled ? TBSTATE_ENABLED : 0;
      button.fsStyle = BTNS_BUTTON;
      button.iString =
          SendMessageW(toolBar_, TB_ADDSTRINGW, 0, reinterpret_cast<LPARAM>(caption.c_str()));
    } else {
      button.iBitmap = item.kind == window::ToolBarItem::Kind::Separator
                           ? Scale(window::kSeparatorWidth)
                           : 0;  // the spacer's width follows the bar's (FormResize)
      button.fsStyle = BTNS_SEP;
    }
    SendMessageW(toolBar_, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
  }
  SendMessageW(toolBar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(width, Scale(window::kButtonHeight)));
  p4Separator_ = CreateWindowExW(0, kChildClass, L"p4Separator", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                 toolBar_, nullptr, instance, nullptr);
}

void TMainForm::BuildPages() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const auto pages = window::Pages();
  for (int i = 0; i < window::kPageCount; ++i) {
    const window::PageInfo& page = pages[static_cast<size_t>(i)];
    pages_[static_cast<size_t>(i)] =
        CreateWindowExW(WS_EX_CONTROLPARENT, kChildClass, Wide(page.name).c_str(),
                        WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (i == 0 ? WS_VISIBLE : 0), 0,
                        0, 0, 0, hwnd_, nullptr, instance, nullptr);
    if (*page.hint) hints_[pages_[static_cast<size_t>(i)]] = page.hint;
    if (!page.tabShown) continue;
    const std::wstring caption = Wide(page.caption);
    TCITEMW tab{};
    tab.mask = TCIF_TEXT | TCIF_PARAM;
    tab.pszText = const_cast<wchar_t*>(caption.c_str());
    tab.lParam = i;
    SendMessageW(tabRow_, TCM_INSERTITEMW, SendMessageW(tabRow_, TCM_GETITEMCOUNT, 0, 0),
                 reinterpret_cast<LPARAM>(&tab));
  }
  for (const window::PaneInfo& pane : window::Panes()) BuildTextPane(pane);
  BuildSettingsPage();
  SyncTabRow();
}

void TMainForm::BuildTextPane(const window::PaneInfo& pane) {
  DWORD style = WS_CHILD | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN |
                ES_NOHIDESEL;
  if (pane.visible) style |= WS_VISIBLE;
  if (!pane.wrap) style |= WS_HSCROLL | ES_AUTOHSCROLL;
  HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", style, 0, 0, 0, 0,
                              pages_[static_cast<size_t>(pane.page)], nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  SetFont(edit, pane.fontPixels == window::kSmallFont ? smallFixed_ : largeFixed_);
  const auto index = static_cast<size_t>(pane.id);
  paneControls_[index] = edit;
  using window::Pane;
  if (pane.id != Pane::Lists && pane.id != Pane::Member) {
    views_[index] = std::make_unique<win32ui::Win32TextView>(edit);
  }
}

void TMainForm::BuildSettingsPage() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  scrollBox_ = CreateWindowExW(WS_EX_CONTROLPARENT, kChildClass, L"ScrollBox1",
                               WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_CLIPCHILDREN, 0, 0, 0, 0,
                               pages_[1], nullptr, instance, nullptr);
  const auto rows = window::SettingsRows();
  for (size_t i = 0; i < rows.size(); ++i) {
    const DWORD shown = rows[i].shown ? WS_VISIBLE : 0;
    settingsLabels_[i] = CreateWindowExW(0, L"STATIC", Wide(rows[i].text).c_str(),
                                         WS_CHILD | SS_RIGHT | SS_NOPREFIX | shown, 0, 0, 0, 0,
                                         scrollBox_, nullptr, instance, nullptr);
    SetFont(settingsLabels_[i], labelFont_);
    settingsEdits_[i] =
        CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | shown,
                        0, 0, 0, 0, scrollBox_, nullptr, instance, nullptr);
    SetFont(settingsEdits_[i], largeFixed_);
  }
  panel1_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, scrollBox_,
                            nullptr, instance, nullptr);
}

void TMainForm::Layout() {
  RECT client;
  GetClientRect(hwnd_, &client);
  const int width = client.right;
  const int barHeight = Scale(window::kToolBarHeight);
  const int statusHeight = Scale(window::kStatusBarHeight);
  MoveWindow(toolBar_, 0, 0, width, barHeight, TRUE);
  FormResize();
  MoveWindow(statusBar_, 0, client.bottom - statusHeight, width, statusHeight, TRUE);
  const int pagesHeight = std::max(0, static_cast<int>(client.bottom) - barHeight - statusHeight);
  MoveWindow(tabRow_, 0, barHeight, width, pagesHeight, TRUE);
  RECT area{0, barHeight, width, barHeight + pagesHeight};
  SendMessageW(tabRow_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  for (HWND page : pages_) {
    MoveWindow(page, area.left, area.top, std::max(0L, area.right - area.left),
               std::max(0L, area.bottom - area.top), TRUE);
    SetWindowPos(page, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  RECT pageArea;
  GetClientRect(pages_[0], &pageArea);
  for (HWND pane : paneControls_) MoveWindow(pane, 0, 0, pageArea.right, pageArea.bottom, TRUE);
  MoveWindow(scrollBox_, 0, 0, pageArea.right, pageArea.bottom, TRUE);
  LayoutSettings();
}

void TMainForm::LayoutSettings() {
  RECT box;
  GetClientRect(scrollBox_, &box);
  const int contentHeight = Scale(window::kPanel1.top + window::kPanel1.height);
  const int maxScroll = std::max(0, contentHeight - static_cast<int>(box.bottom));
  settingsScroll_ = std::clamp(settingsScroll_, 0, maxScroll);
  SCROLLINFO info{sizeof(info),
                  SIF_RANGE | SIF_PAGE | SIF_POS,
                  0,
                  contentHeight - 1,
                  static_cast<UINT>(box.bottom),
                  settingsScroll_,
                  0};
  SetScrollInfo(scrollBox_, SB_VERT, &info, TRUE);
  GetClientRect(scrollBox_, &box);
  // Anchored left and right: the edits lose as much width as the box's client area.
  const int editWidth = std::max(0, static_cast<int>(box.right) - Scale(window::kEditWidthLoss));
  const auto rows = window::SettingsRows();
  for (size_t i = 0; i < rows.size(); ++i) {
    const int top = Scale(rows[i].top) - settingsScroll_;
    MoveWindow(settingsEdits_[i], Scale(window::kEditLeft), top, editWidth,
               Scale(window::kEditHeight), TRUE);
    MoveWindow(settingsLabels_[i], 0, top + Scale(window::kLabelDrop), Scale(window::kLabelRight),
               Scale(window::kEditHeight - window::kLabelDrop), TRUE);
  }
  const window::Rect& p = window::kPanel1;
  MoveWindow(panel1_, Scale(p.left), Scale(p.top) - settingsScroll_, Scale(p.width),
             Scale(p.height), TRUE);
}

void TMainForm::ScrollSettings(int code) {
  SCROLLINFO info{sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(scrollBox_, SB_VERT, &info);
  const int line = Scale(window::kEditHeight);
  switch (code) {
    case SB_LINEUP:
      settingsScroll_ -= line;
      break;
    case SB_LINEDOWN:
      settingsScroll_ += line;
      break;
    case SB_PAGEUP:
      settingsScroll_ -= static_cast<int>(info.nPage);
      break;
    case SB_PAGEDOWN:
      settingsScroll_ += static_cast<int>(info.nPage);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      settingsScroll_ = info.nTrackPos;
      break;
    default:
      return;
  }
  LayoutSettings();
}

void TMainForm::FormResize() {
  RECT bar;
  GetClientRect(toolBar_, &bar);
  const int spacer = SpacerIndex();
  // The spacer takes what the row leaves, so that the last separator and the Exit
  // button sit at the bar's right end.
  TBBUTTONINFOW info{};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_SIZE | TBIF_BYINDEX;
  RECT outer;
  GetWindowRect(toolBar_, &outer);
  info.cx =
      static_cast<WORD>(Scale(window::SpacerWidth(MulDiv(outer.right - outer.left, 96, dpi_))));
  SendMessageW(toolBar_, TB_SETBUTTONINFOW, spacer, reinterpret_cast<LPARAM>(&info));
  RECT place;
  SendMessageW(toolBar_, TB_GETITEMRECT, spacer, reinterpret_cast<LPARAM>(&place));
  MoveWindow(p4Separator_, place.left, place.top, info.cx, Scale(window::kButtonHeight), TRUE);
}
