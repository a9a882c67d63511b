// The page commands, the size commands, the tool-bar spacer and the window's show and
// placement.
#include <QShowEvent>
#include <QTabBar>

#include "window/qt/main_form.h"
#include "window/qt/qt_window_frame.h"
#include "window/qt/tool_bar.h"

void TMainForm::ShowPage(int index) {
  if (index < 0 || index >= kPageCount || index == activePage_) return;
  QWidget* left = pages_[activePage_];
  QWidget* page = pages_[index];
  QWidget* focus = focusWidget();
  const bool focusWasInside = focus && (focus == left || left->isAncestorOf(focus));
  if (focusWasInside) left->setFocus(Qt::OtherFocusReason);
  page->raise();
  page->show();
  // The focus moves on before the page left is hidden, so that it never passes through
  // another control on the way.
  if (focusWasInside) FocusFirstControl(page);
  left->hide();
  activePage_ = index;
  SyncTabRow();
}

void TMainForm::FocusFirstControl(QWidget* page) {
  // The first control in tab order that can take the focus, tab stops first.
  QWidget* firstTabStop = nullptr;
  QWidget* firstFocusable = nullptr;
  for (QWidget* w = nextInFocusChain(); w != this; w = w->nextInFocusChain()) {
    if (!page->isAncestorOf(w) || !w->isVisibleTo(page) || !w->isEnabled() || w->focusProxy()) {
      continue;
    }
    if (!firstTabStop && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus) firstTabStop = w;
    if (!firstFocusable && w->focusPolicy() != Qt::NoFocus) firstFocusable = w;
  }
  QWidget* target = firstTabStop ? firstTabStop : firstFocusable ? firstFocusable : page;
  target->setFocus(Qt::TabFocusReason);
}

void TMainForm::SyncTabRow() {
  int selected = -1;
  int noTab = -1;
  for (int tab = 0; tab < tabRow_->count(); ++tab) {
    const int page = tabRow_->tabData(tab).toInt();
    if (page == activePage_) selected = tab;
    if (page < 0) noTab = tab;
  }
  const QSignalBlocker quiet(tabRow_);
  tabRow_->setCurrentIndex(selected >= 0 ? selected : noTab);
}

void TMainForm::OnTabChanged(int tab) {
  const int page = tabRow_->tabData(tab).toInt();
  if (page >= 0) ShowPage(page);
}

void TMainForm::a4ShowProtocollPageExecute(QObject*) {
  ShowPage(0);
}
void TMainForm::a4ShowPage1Execute(QObject*) {
  ShowPage(1);
}
void TMainForm::a4ShowPage2Execute(QObject*) {
  ShowPage(2);
}
void TMainForm::a4ShowPage3Execute(QObject*) {
  ShowPage(3);
}
void TMainForm::a4ShowPage4Execute(QObject*) {
  ShowPage(4);
}
void TMainForm::a4ShowDebugPageExecute(QObject*) {
  ShowPage(5);
}

// The window's outer size counts its frame: what the window system adds around the
// client area (nothing before the window manager has framed the window).
QSize TMainForm::FrameExtra() const {
  return frame_->Extra();
}

void TMainForm::SetOuterHeight(int height) {
  // The size commands are not bound by the minimum size.
  const QSize minimum = minimumSize();
  setMinimumSize(0, 0);
  resize(width(), height - FrameExtra().height());
  setMinimumSize(minimum);
}

void TMainForm::SetOuterWidth(int width) {
  const QSize minimum = minimumSize();
  setMinimumSize(0, 0);
  resize(width - FrameExtra().width(), height());
  setMinimumSize(minimum);
}

namespace {
// The window's size when created and its smallest size, outside: frame included.
constexpr QSize kOuterSize(window::kOuterSize.width, window::kOuterSize.height);
}  // namespace

void TMainForm::UpdateMinimumSize(const QMargins& frame) {
  setMinimumSize(kOuterSize.shrunkBy(frame));
}

void TMainForm::a4DefaultSizeExecute(QObject*) {
  SetOuterHeight(window::kDefaultOuterSize.height);
  SetOuterWidth(window::kDefaultOuterSize.width);
}

void TMainForm::a4MinSizeExecute(QObject*) {
  SetOuterHeight(kOuterSize.height());
  SetOuterWidth(kOuterSize.width());
}

// The spacer takes what the bar's row leaves, so that the last separator and the Exit
// button sit at the bar's right end.
void TMainForm::FormResize(QObject*) {
  p4Separator->setFixedWidth(window::SpacerWidth(ToolBar->width()));
}

// Runs the layout again (and with it the spacer) without changing the size.
void TMainForm::FormShow(QObject*) {
  resize(width() + 1, height());
  resize(width() - 1, height());
}

// Created at its smallest size in the middle of the screen; the window takes that size
// and place again when the window manager reports its frame (frame_ runs this).
void TMainForm::PlaceWindow(const QMargins& frame) {
  setGeometry(qtui::CentredOnScreen(*this, frame, kOuterSize.shrunkBy(frame)));
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (event->spontaneous()) return;  // restored from the task bar, not shown
  if (!shownOnce_) {
    shownOnce_ = true;
    frame_->Place([this](const QMargins& frame) { PlaceWindow(frame); });
  }
  FormShow(this);
}
