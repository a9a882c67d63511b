// The text-view contract on the Qt view: shown, its document built, and read back from
// the document after a key press that leaves the text as it was.
#include <QTest>

#include "main/text_view_contract.h"
#include "window/qt/qt_text_view.h"

namespace {

struct QtViews {
  static std::unique_ptr<TextView> Make(size_t capacity) {
    auto view = std::make_unique<qtui::QtTextView>(nullptr, capacity);
    view->resize(400, 300);
    view->show();
    return view;
  }
  static void Settle(TextView& view) {
    auto& qt = static_cast<qtui::QtTextView&>(view);
    EXPECT_TRUE(QTest::qWaitFor([&] { return qt.DocumentComplete(); }));
  }
  static void EditInPlace(TextView& view) {
    auto& qt = static_cast<qtui::QtTextView&>(view);
    Settle(view);
    qt.setFocus();
    QTest::keyClick(&qt, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(&qt, Qt::Key_X);
    QTest::keyClick(&qt, Qt::Key_Backspace);
  }
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Qt, TextViewContract, QtViews);
