// The window under a window manager that frames it only after it is shown, and says so
// in an event of its own.
#include <QtGui/qtguiglobal.h>
#include <QAbstractEventDispatcher>
#include <QScreen>

#include "window_harness.h"

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>

namespace gui_test {
namespace {

class WindowFrame : public WindowTest {
 protected:
  void SetUp() override {
    windowFrame = [this](const QWidget&) { return reported; };
    Start();
  }

  // What the X server sends when the window manager sets a window's frame extents (a
  // property notice) or moves it into its frame window (a reparent notice).
  void Report(uint8_t xEvent, WId window, const QMargins& frame) {
    reported = frame;
    xcb_generic_event_t event{};
    event.response_type = xEvent;
    if (xEvent == XCB_PROPERTY_NOTIFY) {
      reinterpret_cast<xcb_property_notify_event_t&>(event).window = window;
    } else {
      reinterpret_cast<xcb_reparent_notify_event_t&>(event).window = window;
    }
    qintptr result = 0;
    QAbstractEventDispatcher::instance()->filterNativeEvent("xcb_generic_event_t", &event, &result);
    Idle();
  }

  // The client rectangle of a window 640 x 480 outside, frame included, in the middle
  // of the screen.
  QRect Centred(const QMargins& frame) const {
    const QRect screen = form->screen()->geometry();
    const QPoint corner((screen.width() - 640) / 2, (screen.height() - 480) / 2);
    return QRect(corner, QSize(640, 480)).marginsRemoved(frame);
  }

  QMargins reported;
};

TEST_F(WindowFrame, AFrameReportedAfterTheShowGivesTheWindowItsOuterSizeAndPlace) {
  ASSERT_EQ(form->geometry(), Centred(QMargins()));
  const QMargins frame(1, 24, 1, 1);
  // News about another window changes nothing.
  Report(XCB_PROPERTY_NOTIFY, form->winId() + 1, frame);
  EXPECT_EQ(form->geometry(), Centred(QMargins()));
  EXPECT_EQ(form->minimumSize(), QSize(640, 480));

  Report(XCB_PROPERTY_NOTIFY, form->winId(), frame);
  EXPECT_EQ(form->geometry(), Centred(frame));
  EXPECT_EQ(form->minimumSize(), QSize(638, 455));
  // The window can now be made as small as 640 x 480 outside, and no smaller.
  form->resize(500, 300);
  EXPECT_EQ(form->size(), QSize(638, 455));
}

TEST_F(WindowFrame, AWindowTheUserHasMovedStaysWhenTheFrameChanges) {
  Report(XCB_REPARENT_NOTIFY, form->winId(), QMargins(1, 24, 1, 1));
  ASSERT_EQ(form->geometry(), Centred(QMargins(1, 24, 1, 1)));
  const QRect moved(30, 50, 700, 520);
  form->setGeometry(moved);
  Idle();
  Report(XCB_PROPERTY_NOTIFY, form->winId(), QMargins(4, 30, 4, 4));
  EXPECT_EQ(form->geometry(), moved);
  EXPECT_EQ(form->minimumSize(), QSize(632, 446));
}

}  // namespace
}  // namespace gui_test
#endif
