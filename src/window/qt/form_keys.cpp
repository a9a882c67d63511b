// Which command a key runs. Every key pressed in the window is offered here before the
// focused control sees it: the window's description claims it (the menu bar's items,
// then the action list), then the page control's Ctrl+Tab, then the mnemonic letters
// of the tool-bar buttons and the tabs. The first claimant wins, so a key that two
// items share never reaches Qt's own shortcut handling, which would run neither.
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>

#include <cctype>

#include "window/qt/main_form.h"
#include "window/qt/tool_bar.h"

namespace {

// The key and the modifiers held (Shift, Control, Alt), with Shift+Tab as Qt reports
// it (Backtab) written as Tab.
QKeyCombination KeyOf(const QKeyEvent& event) {
  Qt::KeyboardModifiers modifiers =
      event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  auto key = static_cast<Qt::Key>(event.key());
  if (key == Qt::Key_Backtab) {
    key = Qt::Key_Tab;
    modifiers |= Qt::ShiftModifier;
  }
  return QKeyCombination(modifiers, key);
}

bool IsModifierKey(int key) {
  return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
         key == Qt::Key_Meta || key == Qt::Key_AltGr || key == Qt::Key_unknown || key == 0;
}

// The key as the window's description names it; an empty key for one it never names.
window::Key DescribedKey(QKeyCombination key) {
  window::Key described;
  const Qt::KeyboardModifiers modifiers = key.keyboardModifiers();
  if (modifiers & Qt::ShiftModifier) described.modifiers |= window::Key::kShift;
  if (modifiers & Qt::ControlModifier) described.modifiers |= window::Key::kCtrl;
  if (modifiers & Qt::AltModifier) described.modifiers |= window::Key::kAlt;
  const int code = key.key();
  if ((code >= Qt::Key_A && code <= Qt::Key_Z) || (code >= Qt::Key_0 && code <= Qt::Key_9)) {
    described.code = code;  // Qt's codes of letters and digits are their ASCII codes
  } else if (code >= Qt::Key_F1 && code <= Qt::Key_F24) {
    described.code = window::Key::kF1 + (code - Qt::Key_F1);
  } else if (code == Qt::Key_Tab) {
    described.code = window::Key::kTab;
  }
  return described;
}

// Text panes and edits take typed characters; on any other control a plain letter
// works as a mnemonic.
bool TakesTypedCharacters(const QWidget* widget) {
  return widget->testAttribute(Qt::WA_InputMethodEnabled);
}

}  // namespace

TMainForm::Command TMainForm::ClaimMnemonic(window::Key key, QWidget* receiver) {
  const uint8_t modifiers = key.modifiers & ~window::Key::kShift;
  const bool withAlt = modifiers == window::Key::kAlt;
  const bool plain = modifiers == window::Key::kNone && !TakesTypedCharacters(receiver);
  const bool letter = key.code < 0x80 && std::isalnum(key.code);
  if (!letter || !(withAlt || plain)) return {};

  using Target = window::MnemonicTarget;
  const std::optional<Target> target =
      window::ClaimMnemonic(static_cast<char>(key.code), [this](Target t) {
        if (t.kind == Target::Kind::Page) return true;  // every shown tab is enabled
        QWidget* item = ToolBar->Items()[t.index];
        return item->isVisibleTo(this) && item->isEnabled();
      });
  if (!target) return {};  // Alt and a menu title's letter is left to the menu bar
  if (target->kind == Target::Kind::Page) {
    return [this, page = target->index] { ShowPage(page); };
  }
  auto* button = static_cast<TToolBarButton*>(ToolBar->Items()[target->index]);
  return [button] { button->click(); };
}

TMainForm::Command TMainForm::ClaimKey(const QKeyEvent& event, QWidget* receiver) {
  if (IsModifierKey(event.key())) return {};
  const window::Key key = DescribedKey(KeyOf(event));
  if (key.Empty()) return {};

  const std::optional<window::KeyClaim> claim =
      window::ClaimShortcut(key, [this](window::Action id) { return ActionFor(id)->isEnabled(); });
  if (claim) {
    if (!claim->action) return [] {};  // used up by a disabled item
    return [action = ActionFor(*claim->action)] { action->trigger(); };
  }
  if (key.code == window::Key::kTab &&
      (key.modifiers & ~window::Key::kShift) == window::Key::kCtrl &&
      (receiver == PageControl || PageControl->isAncestorOf(receiver))) {
    const bool forward = !(key.modifiers & window::Key::kShift);
    return [this, forward] { ShowPage(window::NextPageWithTab(activePage_, forward)); };
  }
  return ClaimMnemonic(key, receiver);
}

// Handles the two events a key press brings: the shortcut override, offered first,
// which keeps Qt's shortcut map away from a claimed key, and the key press itself,
// which runs the claimant.
bool TMainForm::RouteKey(QEvent* event, QWidget* receiver) {
  if (receiver->window() != this) return false;
  // Decided once, where the key arrives first: a key press that a control passes on to
  // its parent has been offered already.
  const QWidget* focus = QApplication::focusWidget();
  if (focus && focus != receiver) return false;
  Command command = ClaimKey(*static_cast<QKeyEvent*>(event), receiver);
  if (!command) return false;
  event->accept();
  if (event->type() == QEvent::KeyPress) command();
  return true;
}

// A close request that arrives while Alt is held came from Alt+F4, which the window
// manager turns into a close request before the window sees the key: it runs Exit, with
// its question. Any other close request (the close box, the system menu) closes the
// window without asking.
void TMainForm::closeEvent(QCloseEvent* event) {
  const Qt::KeyboardModifiers held = options_.keyboardModifiers
                                         ? options_.keyboardModifiers()
                                         : QGuiApplication::queryKeyboardModifiers();
  if (held & Qt::AltModifier) {
    event->ignore();
    ActionFor(window::Action::Exit)->trigger();
    return;
  }
  event->accept();
}
