// The progress of the panes' documents: while the pane on the shown page builds its
// document slice by slice, a progress bar at the right end of the status bar shows how
// much of its text is in, and the busy cursor shows that the window works on.
#include <QProgressBar>
#include <QStatusBar>

#include "window/qt/main_form.h"
#include "window/qt/qt_text_view.h"
#include "window/qt/window_cursor.h"

std::array<qtui::QtTextView*, 5> TMainForm::TextViews() const {
  return {m4Log, m4CodeFile, m4HeaderFile, m4MergedFile, m4Doku};
}

void TMainForm::ConnectDocumentProgress() {
  documentProgress_ = new QProgressBar;
  documentProgress_->setObjectName(QStringLiteral("DocumentProgress"));
  documentProgress_->setRange(0, 1000);
  documentProgress_->setTextVisible(false);
  documentProgress_->setFixedSize(160, StatusBar->height() - 4);
  documentProgress_->hide();
  StatusBar->addPermanentWidget(documentProgress_);
  for (qtui::QtTextView* view : TextViews()) {
    connect(view, &qtui::QtTextView::DocumentProgress, this, &TMainForm::ShowDocumentProgress);
  }
}

void TMainForm::DisconnectDocumentProgress() {
  for (qtui::QtTextView* view : TextViews()) disconnect(view, nullptr, this, nullptr);
  if (buildingCursorHeld_) cursor_->Release(TWindowCursor::kBuilding);
  buildingCursorHeld_ = false;
}

void TMainForm::ShowDocumentProgress() {
  // Only a shown pane builds, and only one page is shown at a time.
  const qtui::QtTextView* building = nullptr;
  for (const qtui::QtTextView* view : TextViews()) {
    if (view->Building()) building = view;
  }
  if (building) {
    const double part = static_cast<double>(building->DocumentBytes()) /
                        static_cast<double>(std::max<size_t>(1, building->Size()));
    documentProgress_->setValue(static_cast<int>(part * 1000));
  }
  documentProgress_->setVisible(building != nullptr);
  if ((building != nullptr) != buildingCursorHeld_) {
    buildingCursorHeld_ = building != nullptr;
    if (buildingCursorHeld_) {
      cursor_->Hold(TWindowCursor::kBuilding);
    } else {
      cursor_->Release(TWindowCursor::kBuilding);
    }
  }
}
