// The page commands, the size commands, the tool-bar spacer and the window's show and
// placement.
#include <QApplication>
#include <QMoveEvent>
#include <QScreen>
#include <QShowEvent>
#include <QTabBar>

#include "main/window/main_form.h"
#include "main/window/tool_bar.h"

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

// Ctrl+Tab and Ctrl+Shift+Tab: the next or previous page with a shown tab, wrapping
// around at either end.
void TMainForm::SelectNextPage(bool forward) {
  auto hasTab = [this](int page) {
    for (int tab = 0; tab < tabRow_->count(); ++tab) {
      if (tabRow_->tabData(tab).toInt() == page) return tabRow_->isTabVisible(tab);
    }
    return false;
  };
  int page = activePage_;
  do {
    page = (page + (forward ? 1 : kPageCount - 1)) % kPageCount;
  } while (page != activePage_ && !hasTab(page));
  ShowPage(page);
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

// The window's outer size counts its frame; the frame is what the window system adds
// around the client area (nothing before the window is first shown).
QSize TMainForm::FrameExtra() const {
  const QSize extra = frameGeometry().size() - size();
  return extra.expandedTo(QSize(0, 0));
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

// 640 x 480 outside, frame included.
void TMainForm::UpdateMinimumSize() {
  setMinimumSize(QSize(640, 480) - FrameExtra());
}

void TMainForm::a4DefaultSizeExecute(QObject*) {
  SetOuterHeight(568);
  SetOuterWidth(768);
}

void TMainForm::a4MinSizeExecute(QObject*) {
  SetOuterHeight(480);
  SetOuterWidth(640);
}

// The spacer takes what the bar's row leaves, so that the last separator and the Exit
// button sit at the bar's right end.
void TMainForm::FormResize(QObject*) {
  const int width = ToolBar->width() - (ToolBar->ItemCount() - 4) * ToolBar->ButtonWidth() - 30;
  p4Separator->setFixedWidth(std::max(0, width));
}

// Runs the layout again (and with it the spacer) without changing the size.
void TMainForm::FormShow(QObject*) {
  resize(width() + 1, height());
  resize(width() - 1, height());
}

void TMainForm::CenterOnScreen() {
  const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->geometry();
  const QSize outer = size() + FrameExtra();
  const int left = std::max(0, (area.width() - outer.width()) / 2);
  const int top = std::max(0, (area.height() - outer.height()) / 2);
  move(area.left() + left, area.top() + top);
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (event->spontaneous()) return;  // restored from the task bar, not shown
  if (!shownOnce_) {
    // The size when created and the minimum size count the frame known so far.
    knownFrame_ = FrameExtra();
    framePlaced_ = !knownFrame_.isNull();
    UpdateMinimumSize();
    resize(QSize(640, 480) - knownFrame_);
  }
  FormShow(this);
  if (!shownOnce_) {
    shownOnce_ = true;
    CenterOnScreen();
  }
}

void TMainForm::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  TrackFrame();
}

// A window manager puts its frame around the window only after the window is shown,
// and the frame's size arrives with no move or resize of the window: it is looked at
// again each time the program runs out of events. A changed frame changes the minimum
// size; the first frame also gives a window still at its creation size that size and
// its centred place again, frame included.
void TMainForm::TrackFrame() {
  if (!shownOnce_) return;
  const QSize frame = FrameExtra();
  if (frame == knownFrame_) return;
  const QSize creationSize = QSize(640, 480) - knownFrame_;
  knownFrame_ = frame;
  UpdateMinimumSize();
  if (framePlaced_ || frame.isNull()) return;
  framePlaced_ = true;
  if (size() == creationSize) {
    resize(QSize(640, 480) - frame);
    CenterOnScreen();
  }
}
