// Construction of the main window, its window procedures and its command handlers:
// each runs the logic of TMainCore inside the one failure guard. No exception leaves a
// window procedure: whatever escapes a handler is shown in an error box there.
#include "window/win32/main_form.h"

#include "main/main_core.h"
#include "main/source_files.h"
#include "platform/process.h"
#include "platform/wide_win.h"
#include "window/win32/win32_dialogs.h"
#include "window/win32/win32_text_view.h"
#include "window/win32/window_classes.h"

using platform::win::Wide;

TMainForm::TMainForm(TMainFormOptions options) : options_(std::move(options)) {
  RegisterWindowClasses(&TMainForm::FormProc, &TMainForm::ChildProc);
  {
    HDC screen = GetDC(nullptr);
    dpi_ = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
  }
  BuildFonts();
  BuildImageLists();
  icon_ = BuildIcon();
  BuildMenus();
  BuildAccelerators();
  hwnd_ = CreateWindowExW(0, kFormClass, Wide(window::kCaption).c_str(),
                          WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                          Scale(window::kOuterSize.width), Scale(window::kOuterSize.height),
                          nullptr, menu_, GetModuleHandleW(nullptr), this);
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  BuildLayout();
  BuildToolTips();
  lastFocus_ = p4Separator_;
  BuildCore();
  core_->FormCreate(options_.exePath.empty() ? platform::ExecutablePath() : options_.exePath);
}

TMainForm::~TMainForm() {
  // The window goes first, while its logic is whole: its controls report their last
  // changes and focus moves meanwhile.
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  if (accelerators_) DestroyAcceleratorTable(accelerators_);
  for (HFONT font : {windowFont_, smallFixed_, largeFixed_, labelFont_}) {
    if (font) DeleteObject(font);
  }
  if (highlightBrush_) DeleteObject(highlightBrush_);
  if (il4Default_) ImageList_Destroy(il4Default_);
  if (il4Highlight_) ImageList_Destroy(il4Highlight_);
  if (icon_) DestroyIcon(icon_);
}

void TMainForm::BuildCore() {
  using win32ui::Win32FileDialog;
  if (!options_.openDialog) {
    ownOpenDialog_ = std::make_unique<Win32FileDialog>(hwnd_, Win32FileDialog::Mode::Open);
  }
  if (!options_.saveDialog) {
    ownSaveDialog_ = std::make_unique<Win32FileDialog>(hwnd_, Win32FileDialog::Mode::Save);
  }
  if (!options_.boxes) ownBoxes_ = std::make_unique<win32ui::Win32MessageBoxes>(hwnd_);
  FileDialog& openDialog = options_.openDialog ? *options_.openDialog : *ownOpenDialog_;
  FileDialog& saveDialog = options_.saveDialog ? *options_.saveDialog : *ownSaveDialog_;
  saveDialog.SetDefaultExt(kSaveDefaultExt);
  saveDialog.SetFilter(kSaveFileFilter);
  using window::Pane;
  core_ = std::make_unique<TMainCore>(MainServices{
      .logView = View(Pane::Log),
      .codeView = View(Pane::CodeFile),
      .headerView = View(Pane::HeaderFile),
      .mergedView = View(Pane::MergedFile),
      .dokuView = View(Pane::Doku),
      .openDialog = openDialog,
      .saveDialog = saveDialog,
      .boxes = options_.boxes ? *options_.boxes : *ownBoxes_,
      .clock = options_.clock ? *options_.clock : platform::SystemClock(),
      .formats = options_.formats ? *options_.formats : platform::UserLocaleFormats(),
      .showPage = [this](int index) { ShowPage(index); },
      .installAppHint = [this] { appHintInstalled_ = true; },
      .terminate = options_.terminate ? options_.terminate : [] { PostQuitMessage(0); },
  });
}

HWND TMainForm::PaneControl(window::Pane pane) const {
  return paneControls_[static_cast<size_t>(pane)];
}

win32ui::Win32TextView& TMainForm::View(window::Pane pane) const {
  return *views_[static_cast<size_t>(pane)];
}

int TMainForm::Scale(int pixels) const {
  return MulDiv(pixels, dpi_, 96);
}

LRESULT CALLBACK TMainForm::FormProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* form = static_cast<TMainForm*>(create->lpCreateParams);
    form->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<TMainForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!form) return DefWindowProcW(hwnd, msg, wParam, lParam);
  try {
    return form->HandleMessage(msg, wParam, lParam);
  } catch (const std::exception& e) {
    MessageBoxW(hwnd, Wide(ErrorBoxText(e)).c_str(), Wide(form->core_->applicationTitle).c_str(),
                MB_OK | MB_ICONERROR);
  } catch (...) {
    MessageBoxW(hwnd, L"Unknown error.", L"Vaskarel", MB_OK | MB_ICONERROR);
  }
  return 0;
}

// The pages, the spacer and the scroll box pass what their controls report on to the
// window, which handles every control's notices in one place.
LRESULT CALLBACK TMainForm::ChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return SendMessageW(GetAncestor(hwnd, GA_ROOT), msg, wParam, lParam);
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
      if (auto* form = reinterpret_cast<TMainForm*>(
              GetWindowLongPtrW(GetAncestor(hwnd, GA_ROOT), GWLP_USERDATA));
          form && hwnd == form->scrollBox_) {
        const int code = msg == WM_VSCROLL                    ? LOWORD(wParam)
                         : GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? SB_LINEUP
                                                              : SB_LINEDOWN;
        form->ScrollSettings(code);
        return 0;
      }
      break;
    case WM_LBUTTONDOWN:
      // The spacer panel and the pages take the focus when clicked, as panels do.
      SetFocus(hwnd);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT TMainForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SIZE:
      Layout();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = {Scale(window::kOuterSize.width), Scale(window::kOuterSize.height)};
      return 0;
    }
    case WM_COMMAND:
      OnCommand(wParam, lParam);
      return 0;
    case WM_NOTIFY:
      if (reinterpret_cast<NMHDR*>(lParam)->hwndFrom == tabRow_ &&
          reinterpret_cast<NMHDR*>(lParam)->code == TCN_SELCHANGE) {
        OnTabChanged();
      }
      return 0;
    case WM_ENTERMENULOOP:
      menuOpen_ = true;
      return 0;
    case WM_EXITMENULOOP:
      menuOpen_ = false;
      return 0;
    case WM_MENUSELECT:
      OnMenuSelect(wParam, lParam);
      return 0;
    case WM_CTLCOLOREDIT:
      return EditColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        if (HWND focus = GetFocus(); focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
        return 0;
      }
      [[fallthrough]];
    case WM_SETFOCUS:
      // Back on the control that had the focus, the spacer panel at first.
      if (lastFocus_ && IsWindow(lastFocus_)) SetFocus(lastFocus_);
      return 0;
    case WM_CLOSE:
      // The close box and the system menu's Close end the program without asking.
      if (options_.terminate) {
        options_.terminate();
      } else {
        PostQuitMessage(0);
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

void TMainForm::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  const auto control = reinterpret_cast<HWND>(lParam);
  if (control && control != toolBar_) {
    for (const auto& view : views_) {
      if (view && view->Control() == control && code == EN_CHANGE) view->OnControlChanged();
    }
    for (size_t row = 0; row < settingsEdits_.size(); ++row) {
      if (settingsEdits_[row] != control) continue;
      if (code == EN_SETFOCUS) e4TEditEnter(control);
      if (code == EN_KILLFOCUS) e4TEditExit(control);
      if (code == EN_CHANGE && window::SettingsRows()[row].reportsChange) {
        RunCommand([this] { core_->OnConfigChange(); });
      }
    }
    return;
  }
  for (const window::ActionInfo& action : window::Actions()) {
    if (CommandOf(action.id) == id) RunAction(action.id);
  }
}

void TMainForm::RunCommand(const Command& command) {
  core_->RunCommand(command);
  FlushViews();
}

void TMainForm::FlushViews() {
  for (const auto& view : views_) {
    if (view) view->FlushAppended();
  }
}

void TMainForm::OpenFileArguments(const std::vector<std::string>& args) {
  RunCommand([&] { core_->OpenFileArguments(args); });
}

void TMainForm::a4ExitExecute() {
  RunCommand([this] { core_->Exit(); });
}
void TMainForm::a4LoadConfigExecute() {
  RunCommand([this] { core_->ReadConfig(); });
}
void TMainForm::a4SaveConfigExecute() {
  RunCommand([this] { core_->WriteConfig(); });
}
void TMainForm::a4LoadCodeFileExecute() {
  RunCommand([this] { core_->LoadCodeFile(); });
}
void TMainForm::a4LoadHeaderFileExecute() {
  RunCommand([this] { core_->LoadHeaderFile(); });
}
void TMainForm::a4MergeFilesExecute() {
  RunCommand([this] { core_->MergeFiles(); });
}
void TMainForm::a4SaveMergedFileExecute() {
  RunCommand([this] { core_->SaveMergedFile(); });
}
