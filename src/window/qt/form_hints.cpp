// Hints in the status bar and as tooltips, and the yellow focus highlight of the
// settings edits.
//
// A hint is "short|long" (or one text for both). The status bar shows the long part
// of the current hint: whenever the program runs out of events, that of the control
// under the mouse pointer (a control without a hint of its own lends the nearest
// enclosing control's); while a menu is open, that of the highlighted menu title or
// item. Tooltips show the short part.
#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

#include "window/qt/main_form.h"

namespace {

QString LongHint(const QString& hint) {
  return QString::fromUtf8(window::LongHint(hint.toStdString()));
}

QString HintOf(const QObject* object) {
  return object ? object->property("hint").toString() : QString();
}

// The hint of the control or of the nearest enclosing control that has one.
QString InheritedHint(const QWidget* widget) {
  for (; widget; widget = widget->isWindow() ? nullptr : widget->parentWidget()) {
    const QString hint = HintOf(widget);
    if (!hint.isEmpty()) return hint;
  }
  return {};
}

const QColor kHighlightColor = QColor::fromRgb(window::kFocusHighlight);

}  // namespace

void TMainForm::ConnectHints() {
  connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
          &TMainForm::IdleHint);
  for (QMenu* menu : menus_) {
    connect(menu, &QMenu::aboutToShow, this,
            [this, menu] { SetHint(LongHint(HintOf(menu->menuAction()))); });
    connect(menu, &QMenu::hovered, this,
            [this](QAction* item) { SetHint(LongHint(HintOf(item))); });
  }
  // Moving along the menu bar while a menu is open highlights the titles in turn.
  connect(MainMenu, &QMenuBar::hovered, this, [this](QAction* title) {
    if (QApplication::activePopupWidget()) SetHint(LongHint(HintOf(title)));
  });
}

void TMainForm::SetHint(const QString& hint) {
  if (hint == hint_) return;
  hint_ = hint;
  if (appHintInstalled_) OnAppHint(this);
}

void TMainForm::InstallAppHint() {
  appHintInstalled_ = true;
}

void TMainForm::OnAppHint(QObject*) {
  statusPanel_->setText(hint_);
}

void TMainForm::IdleHint() {
  // While a menu is open, its highlighted entries set the hint.
  if (QApplication::activePopupWidget()) return;
  SetHint(LongHint(InheritedHint(QApplication::widgetAt(QCursor::pos()))));
}

void TMainForm::FocusEvent(QWidget* watched, QEvent* event) {
  if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut) return;
  // Switching to another window or opening a menu moves no focus between controls.
  const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
  if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
  if (event->type() == QEvent::FocusIn) {
    e4TEditEnter(watched);
  } else {
    e4TEditExit(watched);
  }
}

void TMainForm::e4TEditEnter(QObject* sender) {
  auto* edit = qobject_cast<QLineEdit*>(sender);
  if (!edit) return;
  QPalette colours = edit->palette();
  colours.setColor(QPalette::Base, kHighlightColor);
  edit->setPalette(colours);
  highlightedEdit_ = edit;
}

// The highlighted edit, not the sender, gets its colour back: it is the one being left.
void TMainForm::e4TEditExit(QObject*) {
  if (!highlightedEdit_) return;
  QPalette colours = highlightedEdit_->palette();
  colours.setColor(QPalette::Base, QApplication::palette().color(QPalette::Base));
  highlightedEdit_->setPalette(colours);
}
