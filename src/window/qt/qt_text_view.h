// The text view of the window: a QPlainTextEdit that is at the same time the
// TextView of one text pane. The class derives from both, so the window
// places the object itself on its page and sets its font and wrap mode there.
//
// The view's bytes are the store of the text, and the Qt document only shows them.
// Every TextView operation (Text, LineCount, LineAt, the change notifications) works
// on the bytes at once and never waits for the document. The document is built
// behind them, only while the view is shown: a view on a hidden page keeps just its
// bytes. A big text goes into the document in slices, one per pass of the event loop
// (kSliceTime each), so the window keeps answering meanwhile; DocumentProgress tells
// how far it is. While more than a moment's work remains the view takes no edits (the
// user can still scroll, select and copy what is there). Whatever little remains
// (appended log lines, say) goes in before the widget handles any input, so a key
// always lands in the whole text. After an edit by the user the bytes are read back
// from the document once, with every kind of line break made CR LF.
//
// Display encoding: a text is shown as UTF-8 when its bytes are valid UTF-8, in the
// user's legacy code page otherwise (every byte is a character there, so nothing is
// lost). A view set to one encoding per line (the log pane, whose lines come from
// files in different encodings) decides it for each line on its own, and a line the
// user edits keeps the encoding it was shown in: its bytes are read back in that
// encoding, and a line the user splits off it or joins to it takes the same. The
// bytes themselves are never converted.
#pragma once

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTimer>

#include "main/stored_text_view.h"
#include "platform/encoding.h"

namespace qtui {

class QtTextView : public QPlainTextEdit, public StoredTextView {
  Q_OBJECT

 public:
  // The longest a slice of the document's build keeps the event loop waiting, in ms.
  static constexpr int kSliceTime = 40;
  // A remainder up to this many bytes is built at once, before any input.
  static constexpr size_t kAtOnceBytes = 256 * 1024;

  explicit QtTextView(QWidget* parent = nullptr, size_t capacity = kDefaultTextCapacity);
  ~QtTextView() override;

  QPlainTextEdit* Widget() { return this; }

  void SetText(std::string_view text) override;
  void Append(std::string_view text) override;

  // One display encoding per line rather than one for the whole text.
  void SetEncodingPerLine(bool perLine);
  // The encoding the whole text is shown in (a view with one encoding per line: UTF-8).
  platform::TextEncoding DisplayEncoding() const;

  // How many bytes of the text the document holds; all of them once it is complete.
  size_t DocumentBytes() const;
  bool DocumentComplete() const;
  // Whether the document is being built slice by slice now: the view is shown and
  // more than kAtOnceBytes remain. The view takes no edits meanwhile.
  bool Building() const;
  // Builds whatever the document still lacks, now, whether the view is shown or not.
  void Flush();

 signals:
  // Building started, took one more slice, or stopped (complete, or the view hidden).
  void DocumentProgress();

 protected:
  bool event(QEvent* e) override;
  bool viewportEvent(QEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void hideEvent(QHideEvent* e) override;

 private:
  size_t Remaining() const;
  const platform::Codec& DisplayCodec() const;
  // A fresh, empty document in place of the current one, which goes when control
  // returns to the event loop (taking down a big document takes a while).
  void ReplaceDocument();
  // The end of the next piece to insert: whole lines, about kPieceBytes.
  size_t PieceEnd() const;
  // Puts bytes [DocumentBytes(), end) into the document.
  void InsertPiece(size_t end);
  // Marks the document's last block as a line shown in encoding.
  void MarkLastBlock(QTextCursor& cursor, platform::TextEncoding encoding);
  // Takes the document's last line back out when it lacks its end, so that text
  // appended to it is shown with the whole line (in the encoding the whole line needs).
  void TakeBackPartialLine();
  // Inserts pieces while more remain and keepGoing() allows.
  template <class KeepGoing>
  void BuildWhile(KeepGoing keepGoing);
  void BuildSlice();
  void BuildSmallRemainder();
  void AfterChange();
  void UpdateEditable();
  void MoveCursorToEnd();
  void OnContentsChange(int position, int charsRemoved, int charsAdded);
  // The codec a block of the document shows its bytes in.
  const platform::Codec& BlockCodec(const QTextBlock& block) const;
  void ReadBack() const override;

  bool perLine_ = false;
  // The whole text's display encoding, decided when the document is first built.
  mutable platform::TextEncoding encoding_ = platform::TextEncoding::Utf8;
  mutable bool encodingKnown_ = false;
  // How many bytes the document shows: always whole lines but for the text's last.
  mutable size_t shown_ = 0;
  // The block format index of lines shown in the legacy code page; -1 while none is.
  int legacyFormat_ = -1;
  // Text was appended since the document last reached the end: the insertion point
  // goes to the end when it does.
  bool cursorToEnd_ = false;
  // The document a shown view replaced, taken down in the view's next pass.
  QTextDocument* retired_ = nullptr;
  bool editable_ = true;
  bool building_ = false;
  // Set while the view itself changes the document, whose change reports are then
  // not edits by the user.
  bool ownChange_ = false;
  QTimer buildTimer_;
};

}  // namespace qtui
