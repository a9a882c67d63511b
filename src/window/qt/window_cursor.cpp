#include "window/qt/window_cursor.h"

#include <QApplication>
#include <QCursor>

TWindowCursor::~TWindowCursor() {
  if (overriding_) QApplication::restoreOverrideCursor();
}

void TWindowCursor::Hold(Reason reason) {
  ++held_[reason];
  Apply();
}

void TWindowCursor::Release(Reason reason) {
  if (held_[reason] > 0) --held_[reason];
  Apply();
}

void TWindowCursor::Apply() {
  // An open dialog shows the cursors of its own controls.
  Qt::CursorShape shape = Qt::ArrowCursor;
  const bool override = held_[kDialog] == 0 && (held_[kCommand] > 0 || held_[kBuilding] > 0);
  if (override) shape = held_[kCommand] > 0 ? Qt::WaitCursor : Qt::BusyCursor;
  if (!override) {
    if (overriding_) QApplication::restoreOverrideCursor();
  } else if (!overriding_) {
    QApplication::setOverrideCursor(shape);
  } else {
    QApplication::changeOverrideCursor(shape);
  }
  overriding_ = override;
}
