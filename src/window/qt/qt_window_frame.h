// The frame a window system draws around a top-level window (title bar and borders),
// followed as the window system reports it.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QMargins>
#include <QObject>
#include <QRect>
#include <QSize>
#include <functional>

class QWidget;

namespace qtui {

// The frame around a top-level window as the window system reports it at this moment:
// none before the window has a native window, and under X11 none until the window
// manager has framed the window, which it does only after the window is shown.
QMargins ReportedFrame(const QWidget& window);

// The client rectangle of size `client` whose outer rectangle, `frame` included, lies in
// the middle of the window's screen (never above or left of the screen's corner).
QRect CentredOnScreen(const QWidget& window, const QMargins& frame, QSize client);

// Follows the frame around one top-level window.
//
// A window manager frames a window after it is shown and says so in its own events
// (under X11 the window's _NET_FRAME_EXTENTS property, its reparenting, a configure
// notice), often with no move or resize of the window, while Qt's widgets keep the frame
// they saw at the window's last move or resize. The frame is therefore read anew from
// the window system after each of those events, once Qt has handled it, and after each
// move, resize and show of the window.
class QtWindowFrame : public QObject, public QAbstractNativeEventFilter {
 public:
  using Source = std::function<QMargins(const QWidget&)>;
  using Handler = std::function<void(const QMargins&)>;

  // source: where the frame is read; ReportedFrame when empty.
  explicit QtWindowFrame(QWidget& window, Source source = {});
  ~QtWindowFrame() override;
  QtWindowFrame(const QtWindowFrame&) = delete;
  QtWindowFrame& operator=(const QtWindowFrame&) = delete;

  // The frame as the window system reports it now, and the size it adds to the window.
  QMargins Margins() const;
  QSize Extra() const;

  // changed runs with the new frame whenever the frame differs from the one last seen.
  void OnChange(Handler changed);

  // Runs place with the frame known now, and again with each different frame reported
  // later: always for the first frame the window gets, after that only while the window
  // keeps the geometry place gave it. A window the user has moved or resized stays.
  void Place(Handler place);

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void customEvent(QEvent* event) override;

 private:
  void LookAgain();
  void Check();
  void RunPlace();

  QWidget& window_;
  Source source_;
  Handler changed_, place_;
  QMargins known_;
  bool framed_ = false;
  QRect placed_;
  bool lookPending_ = false;
};

}  // namespace qtui
