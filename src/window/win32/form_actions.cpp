// The menu bar and the accelerator table, both built from the window's description,
// and the command each action runs. Menu items, tool-bar buttons and accelerators send
// an action's command number; the window runs the action's handler for it.
#include <vector>

#include "platform/wide_win.h"
#include "window/win32/main_form.h"

using platform::win::Wide;

namespace {

constexpr int kFirstCommand = 1000;
// Sent by a key that a disabled menu item uses up: it runs nothing.
constexpr int kUsedUpCommand = 999;

// The virtual key of a key of the description.
WORD VirtualKey(int code) {
  if (code >= window::Key::kF1) return static_cast<WORD>(VK_F1 + code - window::Key::kF1);
  if (code == window::Key::kTab) return VK_TAB;
  return static_cast<WORD>(code);  // letters and digits are their own virtual keys
}

}  // namespace

int TMainForm::CommandOf(window::Action id) {
  return kFirstCommand + static_cast<int>(id);
}

void TMainForm::BuildMenus() {
  menu_ = CreateMenu();
  for (const window::Menu& def : window::Menus()) {
    HMENU popup = CreatePopupMenu();
    for (const window::MenuItem& item : def.items) {
      if (!item.action) {
        AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
        continue;
      }
      const window::ActionInfo& action = window::ActionOf(*item.action);
      // The key beside the caption, after a tab, as Windows' menus show it.
      std::string text = action.caption;
      if (!action.key.Empty()) text += "\t" + window::KeyText(action.key);
      AppendMenuW(popup, MF_STRING | (action.enabled ? 0 : MF_GRAYED),
                  static_cast<UINT_PTR>(CommandOf(action.id)), Wide(text).c_str());
    }
    AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), Wide(def.title).c_str());
  }
}

// One accelerator for every key an action has, sending the command of whatever the
// description says the key runs: the menu bar's items first, then the action list. No
// action changes its enabled state, so the claims made here hold for the window's life.
void TMainForm::BuildAccelerators() {
  std::vector<ACCEL> table;
  std::vector<window::Key> done;
  for (const window::ActionInfo& action : window::Actions()) {
    const window::Key key = action.key;
    if (key.Empty() || std::find(done.begin(), done.end(), key) != done.end()) continue;
    done.push_back(key);
    const std::optional<window::KeyClaim> claim =
        window::ClaimShortcut(key, [](window::Action id) { return window::ActionOf(id).enabled; });
    if (!claim) continue;
    ACCEL accel{};
    accel.fVirt = FVIRTKEY;
    if (key.modifiers & window::Key::kCtrl) accel.fVirt |= FCONTROL;
    if (key.modifiers & window::Key::kAlt) accel.fVirt |= FALT;
    if (key.modifiers & window::Key::kShift) accel.fVirt |= FSHIFT;
    accel.key = VirtualKey(key.code);
    accel.cmd = static_cast<WORD>(claim->action ? CommandOf(*claim->action) : kUsedUpCommand);
    table.push_back(accel);
  }
  accelerators_ = CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
}

void TMainForm::RunAction(window::Action id) {
  using A = window::Action;
  if (!window::ActionOf(id).enabled) return;
  if (const std::optional<int> page = window::PageShownBy(id)) {
    ShowPage(*page);
    return;
  }
  switch (id) {
    case A::Exit:
      a4ExitExecute();
      break;
    case A::LoadConfig:
      a4LoadConfigExecute();
      break;
    case A::SaveConfig:
      a4SaveConfigExecute();
      break;
    case A::DefaultSize:
      a4DefaultSizeExecute();
      break;
    case A::MinSize:
      a4MinSizeExecute();
      break;
    case A::LoadCodeFile:
      a4LoadCodeFileExecute();
      break;
    case A::LoadHeaderFile:
      a4LoadHeaderFileExecute();
      break;
    case A::MergeFiles:
      a4MergeFilesExecute();
      break;
    case A::SaveMergedFile:
      a4SaveMergedFileExecute();
      break;
    default:
      break;
  }
}
