#include "window/qt/tool_bar.h"

#include <QAction>
#include <QEvent>
#include <QFrame>
#include <QPainter>
#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace {

constexpr int kImageSize = 16;
constexpr int kImageTop = 3;
constexpr int kCaptionTop = kImageTop + kImageSize + 1;
constexpr int kSeparatorWidth = 8;
// The row starts behind the bar's 1-pixel border and is centred vertically.
constexpr int kRowLeft = 1;

}  // namespace

TToolBarButton::TToolBarButton(QWidget* parent) : QToolButton(parent) {
  setFixedSize(kWidth, kHeight);
  setAutoRaise(true);
  setFocusPolicy(Qt::NoFocus);
}

void TToolBarButton::Bind(QAction* action, const QString& caption, const QIcon& image,
                          const QIcon& highlight) {
  action_ = action;
  image_ = image;
  highlight_ = highlight;
  setText(caption);
  setEnabled(action->isEnabled());
  connect(action, &QAction::changed, this, [this] {
    if (action_) setEnabled(action_->isEnabled());
  });
  connect(this, &QToolButton::clicked, action, &QAction::trigger);
}

void TToolBarButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionToolButton option;
  initStyleOption(&option);
  const bool enabled = isEnabled();
  const bool hot = enabled && underMouse();
  // Flat: the frame shows only while the mouse is over the button or it is pressed.
  if (enabled && (option.state & (QStyle::State_MouseOver | QStyle::State_Sunken))) {
    option.state |= QStyle::State_Raised;
    painter.drawPrimitive(QStyle::PE_PanelButtonTool, option);
  }
  const QIcon& icon = hot && !highlight_.isNull() ? highlight_ : image_;
  if (!icon.isNull()) {
    const QPixmap pixmap =
        icon.pixmap(QSize(kImageSize, kImageSize), enabled ? QIcon::Normal : QIcon::Disabled);
    const int shift = isDown() ? 1 : 0;
    painter.drawPixmap((width() - kImageSize) / 2 + shift, kImageTop + shift, kImageSize,
                       kImageSize, pixmap);
  }
  const QRect captionRect(0, kCaptionTop, width(), height() - kCaptionTop);
  painter.drawItemText(captionRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic,
                       palette(), enabled, text(), QPalette::ButtonText);
}

TToolBar::TToolBar(QWidget* parent) : QWidget(parent) {
  setFixedHeight(kHeight);
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void TToolBar::AddItem(QWidget* item) {
  item->setParent(this);
  item->installEventFilter(this);
  items_.append(item);
  PlaceItems();
}

void TToolBar::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  emit Resized();
  PlaceItems();
}

void TToolBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

bool TToolBar::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
      PlaceItems();
      break;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

void TToolBar::PlaceItems() {
  int x = kRowLeft;
  for (QWidget* item : items_) {
    if (item->isHidden()) continue;
    item->move(x, (height() - TToolBarButton::kHeight) / 2);
    x += item->width();
  }
}

QWidget* NewToolBarSeparator(const QString& name) {
  auto* separator = new QFrame;
  separator->setObjectName(name);
  separator->setFrameShape(QFrame::VLine);
  separator->setFrameShadow(QFrame::Sunken);
  separator->setFixedSize(kSeparatorWidth, TToolBarButton::kHeight);
  return separator;
}
