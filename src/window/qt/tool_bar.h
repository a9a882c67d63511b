// The window's tool bar: one row of fixed-width items (flat buttons, separators and a
// spacer panel) laid out left to right, and the flat button that shows a 16 x 16 image
// above its caption.
#pragma once

#include <QIcon>
#include <QList>
#include <QPointer>
#include <QToolButton>
#include <QWidget>

class QAction;

// A flat 64 x 36 button: the image at the top, the caption below it with its mnemonic
// underlined. Under the mouse it shows its highlight image. Bound to an action, it is
// enabled exactly when the action is and runs the action when clicked.
class TToolBarButton : public QToolButton {
  Q_OBJECT

 public:
  static constexpr int kWidth = 64;
  static constexpr int kHeight = 36;

  explicit TToolBarButton(QWidget* parent = nullptr);

  // The caption is the button's own; a null image shows none.
  void Bind(QAction* action, const QString& caption, const QIcon& image, const QIcon& highlight);
  QAction* BoundAction() const { return action_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPointer<QAction> action_;
  QIcon image_, highlight_;
};

// The bar: items keep their own widths and sit side by side from the left edge; the
// bar never asks the window for more width than it has. Resized() is raised after
// every change of the bar's size, before the items are placed.
class TToolBar : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kHeight = 46;

  explicit TToolBar(QWidget* parent = nullptr);

  // Appends an item at the right end of the row.
  void AddItem(QWidget* item);
  const QList<QWidget*>& Items() const { return items_; }
  // Every control on the bar, separators and the spacer included.
  int ItemCount() const { return static_cast<int>(items_.size()); }
  int ButtonWidth() const { return TToolBarButton::kWidth; }

  QSize sizeHint() const override { return {0, kHeight}; }
  QSize minimumSizeHint() const override { return {0, kHeight}; }

 signals:
  void Resized();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void PlaceItems();

  QList<QWidget*> items_;
};

// An 8-pixel gap between groups of buttons with an etched line in its middle.
QWidget* NewToolBarSeparator(const QString& name);
