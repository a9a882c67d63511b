// The Qt text view's document, built behind its bytes: nothing while the view is
// hidden, a big text slice by slice with every pane operation exact meanwhile and no
// edits taken, and each line of a view with one encoding per line shown in its own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTextDocument>
#include <algorithm>
#include <vector>

#include "window/qt/qt_text_view.h"

namespace {

using qtui::QtTextView;

// Numbered CR LF lines, about `bytes` in all.
std::string Lines(size_t bytes) {
  std::string text;
  for (int n = 0; text.size() < bytes; ++n) text += "line " + std::to_string(n) + "\r\n";
  return text;
}

// The document's characters for a text of ASCII lines.
QString AsShown(const std::string& text) {
  return QString::fromLatin1(text).replace(QStringLiteral("\r\n"),
                                           QString(QChar::ParagraphSeparator));
}

const std::string& BigText() {
  static const std::string text = Lines(1500 * 1000);
  return text;
}

// A view on a page that the test shows and hides, with its changes and the document
// sizes it reported progress at.
struct Page {
  Page() {
    page.resize(400, 300);
    view.resize(400, 300);
    view.SetOnChange([this] { ++changes; });
    QObject::connect(&view, &QtTextView::DocumentProgress,
                     [this] { progress.push_back(view.DocumentBytes()); });
  }
  void Show() {
    page.show();
    view.setFocus();
  }
  // Until the first slice is in (a pass may go to choosing the encoding first).
  void BuildFirstSlice() {
    while (view.DocumentBytes() == 0) QApplication::processEvents();
  }
  void BuildUntilComplete() {
    while (!view.DocumentComplete()) QApplication::processEvents();
  }
  QString Shown() const { return view.document()->toRawText(); }

  QWidget page;
  QtTextView view{&page};
  int changes = 0;
  std::vector<size_t> progress;
};

TEST(QtTextViewBuild, AHiddenViewKeepsOnlyItsBytesUntilItIsShown) {
  Page p;
  p.view.SetText("a\r\nb\r\n");
  p.view.Append("c");
  QApplication::processEvents();
  EXPECT_TRUE(p.view.document()->isEmpty());
  EXPECT_EQ(p.view.DocumentBytes(), 0u);
  EXPECT_EQ(p.view.Text(), "a\r\nb\r\nc");
  EXPECT_EQ(p.view.LineCount(), 3u);
  EXPECT_EQ(p.view.LineAt(2, 10), "c");
  EXPECT_EQ(p.changes, 2);

  p.Show();
  QApplication::processEvents();
  EXPECT_TRUE(p.view.DocumentComplete());
  EXPECT_EQ(p.Shown(), QStringView(u"a\u2029b\u2029c").toString());
  EXPECT_TRUE(p.view.textCursor().atEnd());  // where the appended text ends
  EXPECT_EQ(p.changes, 2);                   // building is no change of the text
}

TEST(QtTextViewBuild, ABigTextIsBuiltInSlicesAndTakesNoEditsMeanwhile) {
  const std::string& text = BigText();
  Page p;
  p.Show();
  p.view.SetText(text);
  EXPECT_TRUE(p.view.Building());
  EXPECT_TRUE(p.view.isReadOnly());
  p.BuildFirstSlice();
  ASSERT_LT(p.view.DocumentBytes(), text.size());

  // Keys that would edit do nothing; the pane's operations see the whole text.
  QTest::keyClick(&p.view, Qt::Key_End, Qt::ControlModifier);
  QTest::keyClick(&p.view, Qt::Key_X);
  QTest::keyClick(&p.view, Qt::Key_Backspace);
  QTest::keyClick(&p.view, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(p.changes, 1);
  EXPECT_TRUE(p.view.TextEquals(text));
  const size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
  EXPECT_EQ(p.view.LineCount(), lines);
  EXPECT_EQ(p.view.LineAt(lines - 1, 100), "line " + std::to_string(lines - 1));

  p.BuildUntilComplete();
  EXPECT_GE(p.progress.size(), 3u);  // started, at least two slices, done
  EXPECT_TRUE(std::is_sorted(p.progress.begin(), p.progress.end()));
  EXPECT_FALSE(p.view.Building());
  EXPECT_FALSE(p.view.isReadOnly());
  EXPECT_EQ(p.view.document()->blockCount(), static_cast<int>(lines) + 1);

  // Now the user edits again, and the bytes are read back from the whole document.
  QTest::keyClick(&p.view, Qt::Key_Home, Qt::ControlModifier);
  QTest::keyClick(&p.view, Qt::Key_X);
  EXPECT_EQ(p.changes, 2);
  EXPECT_EQ(p.view.Text(), "x" + text);
}

TEST(QtTextViewBuild, HidingPausesTheBuildAndNewTextGoesInWhereItBelongs) {
  const std::string& text = BigText();
  Page p;
  p.Show();
  p.view.SetText(text);
  p.BuildFirstSlice();
  p.page.hide();
  const size_t paused = p.view.DocumentBytes();
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
  EXPECT_EQ(p.view.DocumentBytes(), paused);
  EXPECT_FALSE(p.view.Building());

  // Appended while the build waits: it comes after the rest.
  p.view.Append("appended\r\n");
  p.Show();
  p.BuildUntilComplete();
  EXPECT_EQ(p.Shown(), AsShown(text + "appended\r\n"));

  // A new text in the middle of a build replaces all of it.
  p.view.SetText(text);
  QApplication::processEvents();
  p.view.SetText("short\r\n");
  p.BuildUntilComplete();
  EXPECT_EQ(p.Shown(), QStringView(u"short\u2029").toString());
  EXPECT_EQ(p.view.Text(), "short\r\n");
}

TEST(QtTextViewBuild, TextAppendedToALineTheUserBrokeInsideShowsWithAllOfIt) {
  Page p;
  p.Show();
  p.view.SetText("ab");
  QApplication::processEvents();
  QTest::keyClick(&p.view, Qt::Key_End);
  QTest::keyClick(&p.view, Qt::Key_Return, Qt::ShiftModifier);  // a break inside the block
  QTest::keyClick(&p.view, Qt::Key_C);
  p.view.Append("d\r\n");
  QApplication::processEvents();
  EXPECT_EQ(p.Shown(), QStringView(u"ab\u2029cd\u2029").toString());
  QTest::keyClick(&p.view, Qt::Key_E);
  EXPECT_EQ(p.view.Text(), "ab\r\ncd\r\ne");
}

void TypeUUmlaut(QtTextView& view) {
  QTest::sendKeyEvent(QTest::Click, &view, Qt::Key_Udiaeresis, QString::fromUtf8("\xC3\xBC"),
                      Qt::NoModifier);
}

TEST(QtTextViewBuild, EachLineOfAViewWithOneEncodingPerLineShowsRight) {
  Page p;
  p.view.SetEncodingPerLine(true);
  p.Show();
  p.view.Append(
      "Gr\xC3\xBC\xC3\x9F"
      "e\r\n");  // UTF-8
  p.view.Append(
      "Gr\xFC\xDF"
      "e\r\n");                  // the legacy code page (1252 here)
  p.view.Append("caf\xC3\xA9");  // UTF-8 so far, with no line end yet
  QApplication::processEvents();
  p.view.Append(" \xE9\r\n");  // the same line, now legacy as a whole
  p.view.Append("\xE2\x82\xAC 5\r\n");
  QApplication::processEvents();
  EXPECT_EQ(p.Shown(), QString::fromUtf8("Grüße\u2029Grüße\u2029cafÃ© é\u2029€ 5\u2029"));

  // An edit elsewhere leaves every line's bytes as they were; each line the user edits
  // keeps the encoding it is shown in, and so does a line split off it.
  QTest::keyClick(&p.view, Qt::Key_Home, Qt::ControlModifier);
  QTest::keyClick(&p.view, Qt::Key_Down);
  QTest::keyClick(&p.view, Qt::Key_Right);
  QTest::keyClick(&p.view, Qt::Key_Right);
  QTest::keyClick(&p.view, Qt::Key_Return);  // "Gr" and "üße", both legacy
  TypeUUmlaut(p.view);
  QTest::keyClick(&p.view, Qt::Key_End, Qt::ControlModifier);
  QTest::keyClick(&p.view, Qt::Key_Up);
  TypeUUmlaut(p.view);  // at the start of the UTF-8 line of the euro sign
  EXPECT_EQ(p.view.Text(),
            "Gr\xC3\xBC\xC3\x9F"
            "e\r\nGr\r\n\xFC\xFC\xDF"
            "e\r\ncaf\xC3\xA9 \xE9\r\n"
            "\xC3\xBC\xE2\x82\xAC 5\r\n");
}

TEST(QtTextViewBuild, LegacyTextAppendedWhileEachLineChoseItsOwnDecidesTheWholeViewAfter) {
  Page p;
  p.view.SetText("caf\xC3\xA9\r\n");
  p.Show();
  EXPECT_EQ(p.view.DisplayEncoding(), platform::TextEncoding::Utf8);
  p.view.SetEncodingPerLine(true);
  p.view.Append("caf\xE9\r\n");
  p.view.SetEncodingPerLine(false);
  EXPECT_EQ(p.view.DisplayEncoding(), platform::TextEncoding::Legacy);
  EXPECT_EQ(p.view.Text(), "caf\xC3\xA9\r\ncaf\xE9\r\n");
}

}  // namespace
