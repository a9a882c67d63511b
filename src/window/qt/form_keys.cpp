// Which command a key runs. Every key pressed in the window is offered here before the
// focused control sees it: first the menu bar's items, depth first in menu order, then
// the action list in list order, then the page control's Ctrl+Tab, then the mnemonic
// letters of the tool-bar buttons and the tabs. The first claimant wins, so a key that
// two items share never reaches Qt's own shortcut handling, which would run neither.
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>

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

// The letter marked by "&" in a caption ("E&xit" -> X), or a null character.
QChar MnemonicOf(const QString& caption) {
  for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != QLatin1Char('&')) continue;
    if (caption[i + 1] != QLatin1Char('&')) return caption[i + 1].toUpper();
    ++i;  // "&&" stands for "&"
  }
  return {};
}

// Text panes and edits take typed characters; on any other control a plain letter
// works as a mnemonic.
bool TakesTypedCharacters(const QWidget* widget) {
  return widget->testAttribute(Qt::WA_InputMethodEnabled);
}

}  // namespace

TMainForm::Command TMainForm::ClaimMenuKey(const QList<QAction*>& items, const QKeySequence& key,
                                           bool enabledAbove) const {
  for (QAction* item : items) {
    if (item->isSeparator()) continue;
    const bool enabled = enabledAbove && item->isEnabled();
    if (QAction* action = menuBindings_.value(item); action && action->shortcut() == key) {
      // The key is used up; the action runs only when the item and its menus are enabled.
      if (!enabled) return [] {};
      return [action] { action->trigger(); };
    }
    if (item->menu()) {
      if (Command command = ClaimMenuKey(item->menu()->actions(), key, enabled)) return command;
    }
  }
  return {};
}

TMainForm::Command TMainForm::ClaimMnemonic(QKeyCombination key, QWidget* receiver) {
  const Qt::KeyboardModifiers modifiers = key.keyboardModifiers() & ~Qt::ShiftModifier;
  const bool withAlt = modifiers == Qt::AltModifier;
  const bool plain = modifiers == Qt::NoModifier && !TakesTypedCharacters(receiver);
  const int code = key.key();
  const bool letter =
      (code >= Qt::Key_A && code <= Qt::Key_Z) || (code >= Qt::Key_0 && code <= Qt::Key_9);
  if (!letter || !(withAlt || plain)) return {};
  const QChar wanted(code);

  for (QWidget* item : ToolBar->Items()) {
    auto* button = qobject_cast<TToolBarButton*>(item);
    if (button && button->isVisibleTo(this) && button->isEnabled() &&
        MnemonicOf(button->text()) == wanted) {
      return [button] { button->click(); };
    }
  }
  for (int tab = 0; tab < tabRow_->count(); ++tab) {
    if (tabRow_->isTabVisible(tab) && tabRow_->isTabEnabled(tab) &&
        MnemonicOf(tabRow_->tabText(tab)) == wanted) {
      return [this, tab] { tabRow_->setCurrentIndex(tab); };
    }
  }
  // Alt and the letter of a menu title is left to the menu bar, which opens the menu.
  return {};
}

TMainForm::Command TMainForm::ClaimKey(const QKeyEvent& event, QWidget* receiver) {
  if (IsModifierKey(event.key())) return {};
  const QKeyCombination key = KeyOf(event);
  const QKeySequence sequence(key);

  if (Command command = ClaimMenuKey(MainMenu->actions(), sequence, true)) return command;
  for (QAction* action : actionList_) {
    if (action->shortcut() == sequence) return [action] { action->trigger(); };
  }
  if (key.key() == Qt::Key_Tab &&
      (key.keyboardModifiers() & ~Qt::ShiftModifier) == Qt::ControlModifier &&
      (receiver == PageControl || PageControl->isAncestorOf(receiver))) {
    const bool forward = !(key.keyboardModifiers() & Qt::ShiftModifier);
    return [this, forward] { SelectNextPage(forward); };
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
    a4Exit->trigger();
    return;
  }
  event->accept();
}
