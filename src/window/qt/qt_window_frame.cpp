// The frame around a top-level window, read from the window system after each of its
// events about the window.
#include "window/qt/qt_window_frame.h"

#include <QtGui/qtguiglobal.h>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

namespace qtui {
namespace {

// Posted to the follower itself: the frame is read once the window system's event that
// caused it has been handled.
QEvent::Type LookAgainEvent() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

#if QT_CONFIG(xcb)
// The connection Qt holds to the X server; none on other window systems.
xcb_connection_t* X11Connection() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->connection() : nullptr;
}

xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name) {
  const xcb_intern_atom_cookie_t cookie =
      xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
  const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
      xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The property in which a window manager states a window's frame.
xcb_atom_t FrameExtentsAtom(xcb_connection_t* connection) {
  static const xcb_atom_t atom = InternAtom(connection, "_NET_FRAME_EXTENTS");
  return atom;
}

// A property of 32-bit values of the given type; empty where it is not set.
std::vector<uint32_t> Property32(xcb_connection_t* connection, xcb_window_t window,
                                 xcb_atom_t property, xcb_atom_t type, uint32_t maxValues) {
  const xcb_get_property_cookie_t cookie =
      xcb_get_property(connection, 0, window, property, type, 0, maxValues);
  const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
      xcb_get_property_reply(connection, cookie, nullptr), &std::free);
  if (!reply || reply->type != type || reply->format != 32) return {};
  const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
  return std::vector<uint32_t>(values, values + reply->value_len);
}

// The frame as a window manager that follows the desktop conventions states it in the
// window's _NET_FRAME_EXTENTS property: none until it has set the property. Nothing (no
// answer) off X11 or under a window manager that does not state frames.
std::optional<QMargins> NetFrameExtents(const QWidget& window) {
  xcb_connection_t* connection = X11Connection();
  if (!connection) return std::nullopt;
  const xcb_atom_t extents = FrameExtentsAtom(connection);
  static const xcb_atom_t supported = InternAtom(connection, "_NET_SUPPORTED");
  const xcb_window_t id = static_cast<xcb_window_t>(window.internalWinId());
  if (id == XCB_WINDOW_NONE) return QMargins();
  // Left, right, top, bottom, in the screen's pixels.
  const std::vector<uint32_t> sides = Property32(connection, id, extents, XCB_ATOM_CARDINAL, 4);
  if (sides.size() == 4) {
    const qreal ratio = window.devicePixelRatioF();
    auto side = [ratio](uint32_t pixels) { return qRound(pixels / ratio); };
    return QMargins(side(sides[0]), side(sides[2]), side(sides[1]), side(sides[3]));
  }
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
  const std::vector<uint32_t> atoms = Property32(connection, root, supported, XCB_ATOM_ATOM, 4096);
  if (std::find(atoms.begin(), atoms.end(), extents) != atoms.end()) return QMargins();
  return std::nullopt;
}

// The window an X event tells of, when it is one that can come with a new frame. Of the
// properties only the frame's own counts: Qt sets others on every key press.
xcb_window_t FrameNewsAbout(const xcb_generic_event_t& event) {
  switch (event.response_type & ~0x80) {
    case XCB_PROPERTY_NOTIFY: {
      // Where the frame's property cannot be named, any property may be it.
      const auto& notice = reinterpret_cast<const xcb_property_notify_event_t&>(event);
      xcb_connection_t* connection = X11Connection();
      if (connection && notice.atom != FrameExtentsAtom(connection)) return XCB_WINDOW_NONE;
      return notice.window;
    }
    case XCB_CONFIGURE_NOTIFY:
      return reinterpret_cast<const xcb_configure_notify_event_t&>(event).window;
    case XCB_REPARENT_NOTIFY:
      return reinterpret_cast<const xcb_reparent_notify_event_t&>(event).window;
    default:
      return XCB_WINDOW_NONE;
  }
}
#endif

}  // namespace

QMargins ReportedFrame(const QWidget& window) {
#if QT_CONFIG(xcb)
  // Qt would work the frame out from the window tree until the window manager has set
  // the extents, which caught between the manager's steps gives frames of any size.
  if (const std::optional<QMargins> extents = NetFrameExtents(window)) return *extents;
#endif
  const QWindow* handle = window.windowHandle();
  const QMargins frame = handle ? handle->frameMargins() : QMargins();
  // Worked out from the window tree, a frame window not yet grown to its size gives sides
  // below zero: no frame yet.
  const bool possible =
      frame.left() >= 0 && frame.top() >= 0 && frame.right() >= 0 && frame.bottom() >= 0;
  return possible ? frame : QMargins();
}

QRect CentredOnScreen(const QWidget& window, const QMargins& frame, QSize client) {
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  if (!screen) return QRect(window.geometry().topLeft(), client);
  const QRect area = screen->geometry();
  const QSize outer = client.grownBy(frame);
  const int left = std::max(0, (area.width() - outer.width()) / 2);
  const int top = std::max(0, (area.height() - outer.height()) / 2);
  return QRect(area.topLeft() + QPoint(left + frame.left(), top + frame.top()), client);
}

QtWindowFrame::QtWindowFrame(QWidget& window, Source source)
    : window_(window), source_(source ? std::move(source) : Source(ReportedFrame)) {
  window_.installEventFilter(this);
  QCoreApplication::instance()->installNativeEventFilter(this);
}

QtWindowFrame::~QtWindowFrame() {
  QCoreApplication::instance()->removeNativeEventFilter(this);
  window_.removeEventFilter(this);
}

QMargins QtWindowFrame::Margins() const {
  return source_(window_);
}

QSize QtWindowFrame::Extra() const {
  return QSize(0, 0).grownBy(Margins());
}

void QtWindowFrame::OnChange(Handler changed) {
  changed_ = std::move(changed);
}

void QtWindowFrame::Place(Handler place) {
  place_ = std::move(place);
  known_ = Margins();
  framed_ = !known_.isNull();
  if (changed_) changed_(known_);
  RunPlace();
}

void QtWindowFrame::RunPlace() {
  place_(known_);
  placed_ = window_.geometry();
}

void QtWindowFrame::Check() {
  const QMargins frame = Margins();
  if (frame == known_) return;
  known_ = frame;
  const bool firstFrame = !framed_ && !frame.isNull();
  framed_ = framed_ || firstFrame;
  if (changed_) changed_(frame);
  if (place_ && (firstFrame || window_.geometry() == placed_)) RunPlace();
}

void QtWindowFrame::LookAgain() {
  if (lookPending_) return;
  lookPending_ = true;
  QCoreApplication::postEvent(this, new QEvent(LookAgainEvent()));
}

void QtWindowFrame::customEvent(QEvent* event) {
  if (event->type() != LookAgainEvent()) return;
  lookPending_ = false;
  Check();
}

bool QtWindowFrame::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &window_) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show) LookAgain();
  }
  return false;
}

bool QtWindowFrame::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
#if QT_CONFIG(xcb)
  const WId window = window_.internalWinId();
  if (window != 0 && eventType == "xcb_generic_event_t" &&
      FrameNewsAbout(*static_cast<const xcb_generic_event_t*>(message)) == window) {
    LookAgain();
  }
#else
  (void)eventType;
  (void)message;
#endif
  return false;
}

}  // namespace qtui
