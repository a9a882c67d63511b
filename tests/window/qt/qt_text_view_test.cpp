// The Qt text view with real key events: bytes through the display encoding and back
// unchanged, every kind of line break read back as CR LF, one change per edit, and
// batched appends.
#include "window/qt/qt_text_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QTextDocument>
#include <stdexcept>

#include "main/text_pane.h"

namespace {

using platform::TextEncoding;
using qtui::QtTextView;
using namespace std::string_literals;

// A shown view with a change counter; the handler records the text it saw.
struct View {
  View() {
    view.resize(400, 300);
    view.show();
    view.setFocus();
    view.SetOnChange([this] {
      ++changes;
      seen = view.Text();
    });
  }
  QString Shown() {
    view.Flush();
    return view.document()->toRawText();
  }
  // A user edit that leaves the text as it was: the bytes are read back from the document.
  void TypeAndUndoAtEnd() {
    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_X);
    QTest::keyClick(&view, Qt::Key_Backspace);
  }
  QtTextView view;
  int changes = 0;
  std::string seen;
};

std::string AllBytesButBreaksAndNul() {
  std::string s;
  for (int b = 1; b < 256; ++b) {
    if (b != '\r' && b != '\n') s += static_cast<char>(b);
  }
  return s;
}

TEST(QtTextView, BytesComeBackUnchangedAfterTheDocumentHeldThem) {
  const struct {
    const char* what;
    std::string bytes;
    TextEncoding shown;
  } cases[] = {
      {"empty", "", TextEncoding::Utf8},
      {"lines", "one\r\ntwo\r\n\r\nlast", TextEncoding::Utf8},
      {"UTF-8 with no-break space and emoji", "Gr\xC3\xBC\xC3\x9F\x65\xC2\xA0\xF0\x9F\x98\x80\r\n",
       TextEncoding::Utf8},
      {"every byte but CR, LF and NUL", AllBytesButBreaksAndNul(), TextEncoding::Legacy},
      {"legacy umlauts", "Gr\xFC\xDF\x65 \xA0\r\n", TextEncoding::Legacy},
      {"UTF-8 paragraph separator",
       "a\xE2\x80\xA9"
       "b\xE2\x80\xA8",
       TextEncoding::Legacy},
      {"byte-order mark first", "\xEF\xBB\xBFint x;\r\n", TextEncoding::Utf8},
      {"noncharacters", "\xEF\xBF\xBE\xEF\xBF\xBF\xEF\xB7\x92", TextEncoding::Utf8},
      {"controls and tabs", "\t\v\f\x01\x1B\x7F end", TextEncoding::Utf8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    View v;
    v.view.SetText(c.bytes);
    EXPECT_EQ(v.view.DisplayEncoding(), c.shown);
    v.TypeAndUndoAtEnd();
    EXPECT_EQ(v.view.Text(), c.bytes);
  }
}

TEST(QtTextView, ShowsUtf8OrTheLegacyCodePageAndSwitchesForLegacyLines) {
  View v;
  v.view.SetText("\xEF\xBB\xBF!\r\n");
  v.view.Append("\xEF\xBB\xBF\r\n");  // a byte-order mark at the start of a batch
  EXPECT_EQ(v.Shown(), QStringView(u"\uFEFF!\u2029\uFEFF\u2029").toString());
  v.view.SetText("\xC3\xA4\r\n");  // a-umlaut in UTF-8
  EXPECT_EQ(v.Shown(), QString::fromUtf8("\xC3\xA4\xE2\x80\xA9"));
  v.view.Append("\xE4\r\n");  // a-umlaut in the legacy code page
  EXPECT_EQ(v.view.DisplayEncoding(), TextEncoding::Legacy);
  EXPECT_EQ(v.Shown(), QString::fromUtf8("\xC3\x83\xC2\xA4\xE2\x80\xA9\xC3\xA4\xE2\x80\xA9"));
  EXPECT_EQ(v.view.Text(), "\xC3\xA4\r\n\xE4\r\n");
  v.view.SetText("back to UTF-8");
  EXPECT_EQ(v.view.DisplayEncoding(), TextEncoding::Utf8);

  // Typed characters are stored in the pane's encoding.
  for (auto [text, stored] : {std::pair{"plain", "\xC3\xBC"}, std::pair{"\xFF", "\xFC"}}) {
    SCOPED_TRACE(stored);
    v.view.SetText(text);
    QTest::keyClick(&v.view, Qt::Key_Home, Qt::ControlModifier);
    QTest::sendKeyEvent(QTest::Click, &v.view, Qt::Key_Udiaeresis, QString::fromUtf8("\xC3\xBC"),
                        Qt::NoModifier);
    EXPECT_EQ(v.view.Text(), stored + std::string(text));
  }
}

TEST(QtTextView, EachUserEditIsOneChangeSeenAfterItIsInPlace) {
  View v;
  v.view.SetText("ab");
  v.changes = 0;
  QTest::keyClick(&v.view, Qt::Key_End);
  QTest::keyClick(&v.view, Qt::Key_C);
  EXPECT_EQ(v.changes, 1);
  EXPECT_EQ(v.seen, "abc");
  QTest::keyClick(&v.view, Qt::Key_Return);
  QTest::keyClick(&v.view, Qt::Key_D);
  QTest::keyClick(&v.view, Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(v.changes, 4);
  EXPECT_EQ(v.seen, "abc\r\nd\r\n");
  EXPECT_EQ(v.view.LineCount(), 2u);

  QApplication::clipboard()->setText(QString::fromUtf8("p\rq\nr\r\ns"));
  v.view.selectAll();
  QTest::keyClick(&v.view, Qt::Key_V, Qt::ControlModifier);  // paste over a selection
  EXPECT_EQ(v.changes, 5);
  EXPECT_EQ(v.seen, "p\r\nq\r\nr\r\ns");
  QTest::keyClick(&v.view, Qt::Key_Home, Qt::ControlModifier);
  QTest::keyClick(&v.view, Qt::Key_Delete);
  EXPECT_EQ(v.changes, 6);
  EXPECT_EQ(v.seen, "\r\nq\r\nr\r\ns");
  EXPECT_EQ(v.view.LineAt(0, 4096), "");
  EXPECT_EQ(v.view.LineAt(3, 4096), "s");
}

TEST(QtTextView, OwnChangesNotifyOnceAndTheCapacityHolds) {
  View v;
  QtTextView small(nullptr, 4);
  int smallChanges = 0;
  small.SetOnChange([&] { ++smallChanges; });
  small.SetText("1234");
  EXPECT_THROW(small.SetText("12345"), std::length_error);
  EXPECT_THROW(small.Append("5"), std::length_error);
  EXPECT_EQ(small.Text(), "1234");
  EXPECT_EQ(smallChanges, 1);

  v.view.SetText("x\r\ny");
  v.view.SetText("");
  v.view.Append("line\r\n");
  EXPECT_EQ(v.changes, 3);
  EXPECT_EQ(v.seen, "line\r\n");
}

TEST(QtTextView, AppendsReachTheDocumentInOneBatchAtTheEnd) {
  View v;
  v.view.SetText("first\r\n");
  v.view.selectAll();
  for (int i = 0; i < 1000; ++i) v.view.Append("line " + std::to_string(i) + "\r\n");
  EXPECT_EQ(v.view.LineCount(), 1001u);  // the bytes know at once
  EXPECT_EQ(v.view.LineAt(1000, 4096), "line 999");
  QApplication::processEvents();  // the document follows when the event loop runs
  EXPECT_EQ(v.view.document()->blockCount(), 1002);
  EXPECT_FALSE(v.view.textCursor().hasSelection());
  EXPECT_TRUE(v.view.textCursor().atEnd());

  // A key right after an append lands behind the appended text.
  v.view.Append("tail\r\n");
  QTest::keyClicks(&v.view, "typed");
  EXPECT_EQ(v.view.LineAt(v.view.LineCount() - 1, 4096), "typed");
  EXPECT_EQ(v.view.LineAt(v.view.LineCount() - 2, 4096), "tail");

  // Undo never takes back appended text.
  v.view.Append("\r\nadded");
  QTest::keyClick(&v.view, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(v.view.LineAt(v.view.LineCount() - 1, 4096), "added");
}

TEST(QtTextView, APaneOnTheViewAddsALineWithABreakInOneChange) {
  View v;
  TextPane pane(v.view);
  int changes = 0;
  std::string last;
  pane.SetOnChange([&] {
    ++changes;
    last = pane.LineAt(pane.LineCount() - 1);
  });
  pane.AddLine("start");
  pane.AddLine("upper\r\nlower");
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(last, "lower");
  pane.SetWholeText("start\nupper\r\nlower\r\n");  // the same text once normalised
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(v.Shown(), QString::fromUtf8("start\xE2\x80\xA9upper\xE2\x80\xA9lower\xE2\x80\xA9"));
}

}  // namespace
