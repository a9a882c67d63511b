// What the window shows: its caption, sizes at the system's DPI, the tool bar's items,
// the tabs, the pages reached by their commands, hints in the status bar and the
// settings edits with their focus highlight.
#include <algorithm>
#include <vector>

#include "window_harness.h"

namespace win32_test {
namespace {

using WindowLayout = WindowTest;

RECT ClientRectIn(HWND control, HWND window) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST_F(WindowLayout, CaptionSizesAndTheBarsStack) {
  EXPECT_EQ(TextOf(form->Handle()), "Merge dialog strings");
  SIZE outer = OuterSize(form->Handle());
  EXPECT_EQ(outer.cx, form->Scale(640));
  EXPECT_EQ(outer.cy, form->Scale(480));
  RECT client;
  GetClientRect(form->Handle(), &client);
  const RECT bar = ClientRectIn(form->ToolBar(), form->Handle());
  const RECT tabs = ClientRectIn(form->TabRow(), form->Handle());
  const RECT status = ClientRectIn(form->StatusBar(), form->Handle());
  EXPECT_EQ(bar.top, 0);
  EXPECT_EQ(bar.bottom - bar.top, form->Scale(46));
  EXPECT_EQ(bar.right - bar.left, client.right);
  EXPECT_EQ(tabs.top, bar.bottom);
  EXPECT_EQ(tabs.bottom, status.top);
  EXPECT_EQ(status.bottom - status.top, form->Scale(19));
  EXPECT_EQ(status.bottom, client.bottom);

  // The window cannot be made smaller than its creation size.
  MINMAXINFO limits{};
  SendMessageW(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMinTrackSize.x, form->Scale(640));
  EXPECT_EQ(limits.ptMinTrackSize.y, form->Scale(480));

  // Default size, then minimum size: back at 640 x 480, the top-left corner unmoved.
  RECT before;
  GetWindowRect(form->Handle(), &before);
  form->a4DefaultSizeExecute();
  outer = OuterSize(form->Handle());
  EXPECT_EQ(outer.cx, form->Scale(768));
  EXPECT_EQ(outer.cy, form->Scale(568));
  form->a4MinSizeExecute();
  RECT after;
  GetWindowRect(form->Handle(), &after);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(after.right - after.left, form->Scale(640));
  EXPECT_EQ(after.bottom - after.top, form->Scale(480));
}

TEST_F(WindowLayout, StartsCentredWithTheFocusOnTheSpacer) {
  EXPECT_EQ(GetFocus(), form->Spacer());
  EXPECT_EQ(form->ActivePageIndex(), 0);
  RECT outer;
  GetWindowRect(form->Handle(), &outer);
  EXPECT_EQ(outer.left,
            std::max(0L, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2));
  EXPECT_EQ(outer.top,
            std::max(0L, (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2));
}

TEST_F(WindowLayout, TheMenusShowTheirItemsWithTheirKeys) {
  const std::vector<std::vector<std::string>> menus = {
      {"&File", "Load &code file\tCtrl+L", "Load &header file\tCtrl+H", "&Save merged file\tCtrl+S",
       "", "E&xit\tAlt+F4"},
      {"&Edit", "&Merge files\tCtrl+M"},
      {"&Window", "&Default size\tCtrl+N", "&Minimale Größe\tCtrl+M"},
  };
  HMENU bar = form->Menu();
  ASSERT_EQ(GetMenuItemCount(bar), 3);
  const auto text = [](HMENU menu, int i) {
    wchar_t buffer[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), buffer, 128, MF_BYPOSITION);
    return platform::win::Utf8(buffer);
  };
  for (size_t m = 0; m < menus.size(); ++m) {
    SCOPED_TRACE(menus[m][0]);
    EXPECT_EQ(text(bar, static_cast<int>(m)), menus[m][0]);
    HMENU popup = GetSubMenu(bar, static_cast<int>(m));
    ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(menus[m].size() - 1));
    for (size_t i = 1; i < menus[m].size(); ++i) {
      EXPECT_EQ(text(popup, static_cast<int>(i - 1)), menus[m][i]);
    }
  }
}

TEST_F(WindowLayout, TheToolBarKeepsExitAtItsRightEndAtEveryWidth) {
  HWND bar = form->ToolBar();
  ASSERT_EQ(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0), 11);
  RECT first;
  SendMessageW(bar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  EXPECT_EQ(first.right - first.left, form->Scale(64));
  EXPECT_EQ(first.bottom - first.top, form->Scale(36));
  // The captions as the buttons show them; the two fillers blank and disabled.
  const char* const captions[] = {
      "&Code file", "&Header file", "", "&Merge", "", "&Save", " ", " ", "", "", "E&xit"};
  for (int i = 0; i < 11; ++i) {
    SCOPED_TRACE(i);
    TBBUTTON button{};
    SendMessageW(bar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
    wchar_t text[64] = {};
    if (!(button.fsStyle & BTNS_SEP)) {
      SendMessageW(bar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(button.idCommand),
                   reinterpret_cast<LPARAM>(text));
    }
    EXPECT_EQ(platform::win::Utf8(text), captions[i]);
    EXPECT_EQ((button.fsState & TBSTATE_ENABLED) != 0,
              i != 6 && i != 7 && !(button.fsStyle & BTNS_SEP));
  }
  for (int width : {640, 800, 1000}) {
    SCOPED_TRACE(width);
    SetWindowPos(form->Handle(), nullptr, 0, 0, form->Scale(width), form->Scale(480),
                 SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    RECT barRect, spacer, exit;
    GetWindowRect(bar, &barRect);
    GetWindowRect(form->Spacer(), &spacer);
    SendMessageW(bar, TB_GETITEMRECT, 10, reinterpret_cast<LPARAM>(&exit));
    const int barWidth = MulDiv(barRect.right - barRect.left, 96, form->Scale(96));
    EXPECT_EQ(spacer.right - spacer.left, form->Scale(window::SpacerWidth(barWidth)));
    // The row ends 6 pixels short of the bar's outer width.
    EXPECT_NEAR(exit.right, (barRect.right - barRect.left) - form->Scale(6), 2);
  }
}

TEST_F(WindowLayout, TheTabRowShowsFiveTabsAndHiddenPagesSelectNone) {
  HWND tabs = form->TabRow();
  ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 5);
  const char* const captions[] = {"&Protocol", "Code file", "Header file", "Merged file", "&Help"};
  for (int i = 0; i < 5; ++i) {
    wchar_t text[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(platform::win::Utf8(text), captions[i]);
  }
  struct Case {
    int page, selectedTab;
  };
  for (const Case c : {Case{4, 1}, Case{1, -1}, Case{3, -1}, Case{7, 4}, Case{0, 0}}) {
    SCOPED_TRACE(c.page);
    form->ShowPage(c.page);
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), c.selectedTab);
    for (int p = 0; p < window::kPageCount; ++p) {
      EXPECT_EQ(IsWindowVisible(form->Page(p)) != FALSE, p == c.page) << p;
    }
  }
  // Clicking a tab shows its page.
  SendMessageW(tabs, TCM_SETCURSEL, 2, 0);
  NMHDR notice{tabs, 0, static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageW(form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notice));
  EXPECT_EQ(form->ActivePageIndex(), 5);
}

TEST_F(WindowLayout, APageCommandMovesTheFocusOnlyWhenItWasInThePageLeft) {
  SetFocus(form->PaneControl(window::Pane::Log));
  Key('2', kCtrl);
  EXPECT_EQ(GetFocus(), form->SettingsEdit(0));
  Key('5', kCtrl);  // "Personen": nothing on it takes the focus
  EXPECT_EQ(GetFocus(), form->Page(3));
  Key('4', kCtrl);
  EXPECT_EQ(GetFocus(), form->PaneControl(window::Pane::CodeFile));
  SetFocus(form->Spacer());
  Key('1', kCtrl);
  EXPECT_EQ(GetFocus(), form->Spacer());
}

TEST_F(WindowLayout, TheSettingsEditLogsAChangeOnceAndShowsTheFocusHighlight) {
  SetFocus(form->PaneControl(window::Pane::Log));
  Key('2', kCtrl);
  const COLORREF yellow = RGB(255, 255, 0);
  EXPECT_EQ(Background(form->SettingsEdit(0)), yellow);
  Type(L"ab");
  const std::string changed = "    Configuration changed ...\r\n";
  size_t first = Log().find(changed);
  ASSERT_NE(first, std::string::npos) << Log();
  EXPECT_EQ(Log().find(changed, first + 1), std::string::npos);
  EXPECT_TRUE(form->Core().configChanged);
  // Tab goes on to the next edit in tab order, which takes the highlight.
  Key(VK_TAB);
  EXPECT_EQ(GetFocus(), form->SettingsEdit(1));
  EXPECT_EQ(Background(form->SettingsEdit(0)), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(Background(form->SettingsEdit(1)), yellow);
  // Only six rows are shown, and none of the edits has a width at ordinary sizes.
  int shown = 0;
  for (int row = 0; row < 16; ++row) {
    RECT r;
    GetWindowRect(form->SettingsEdit(row), &r);
    EXPECT_EQ(r.right - r.left, 0) << row;
    shown += IsWindowVisible(form->SettingsEdit(row)) ? 1 : 0;
  }
  EXPECT_EQ(shown, 6);
}

TEST_F(WindowLayout, TheDistributionListsEditChangesNoConfiguration) {
  SetFocus(form->PaneControl(window::Pane::Log));
  Key('2', kCtrl);
  Key(VK_TAB);
  ASSERT_EQ(GetFocus(), form->SettingsEdit(1));
  Type(L"x");
  EXPECT_FALSE(form->Core().configChanged);
  EXPECT_EQ(Log().find("Configuration changed"), std::string::npos);
}

TEST_F(WindowLayout, TheStatusBarShowsTheHintOfMenusAndOfTheProtocolPage) {
  struct Case {
    const char* what;
    UINT item;
    UINT flags;
    HMENU menu;
    const char* status;
  };
  HMENU bar = form->Menu();
  const Case cases[] = {
      {"File menu", 0, MF_POPUP, bar,
       "Laden und Speichern der Konfiguration, Beenden des Programms"},
      {"Edit menu", 1, MF_POPUP, bar, ""},
      {"Window menu", 2, MF_POPUP, bar,
       "Einstellen der Größe des Programmfensters und von Einzelnen Fensterelementen"},
      {"Default size", static_cast<UINT>(TMainForm::CommandOf(window::Action::DefaultSize)), 0,
       GetSubMenu(bar, 2),
       "Resize the program window to the default size (Suitable for screen resolution of "
       "1024x768 and above)"},
      {"Minimale Größe", static_cast<UINT>(TMainForm::CommandOf(window::Action::MinSize)), 0,
       GetSubMenu(bar, 2),
       "Resize the program window to the minimum size (Suitable for screen resolution of "
       "800x600)"},
      {"Load code file", static_cast<UINT>(TMainForm::CommandOf(window::Action::LoadCodeFile)), 0,
       GetSubMenu(bar, 0), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // Something else first, so that each hint is a change.
    SendMessageW(form->Handle(), WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP),
                 reinterpret_cast<LPARAM>(bar));
    SendMessageW(form->Handle(), WM_MENUSELECT, MAKEWPARAM(c.item, c.flags),
                 reinterpret_cast<LPARAM>(c.menu));
    EXPECT_EQ(Status(), c.status);
  }
  // The mouse over the log pane lends the page's hint; over the tool bar nothing.
  RECT log;
  GetWindowRect(form->PaneControl(window::Pane::Log), &log);
  SetCursorPos((log.left + log.right) / 2, (log.top + log.bottom) / 2);
  Pump();
  EXPECT_EQ(Status(), "Protokoll aller bisher ausgeführten Funktionen");
  RECT tools;
  GetWindowRect(form->ToolBar(), &tools);
  SetCursorPos(tools.left + 5, tools.top + 5);
  Pump();
  EXPECT_EQ(Status(), "");
}

}  // namespace
}  // namespace win32_test
