#include "window/qt/qt_text_view.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <limits>
#include <stdexcept>
#include <utility>

#include "window/qt/document_text.h"

namespace qtui {
namespace {

// About this many bytes go into the document in one insertion: small enough that a
// slice stops close to its time, large enough that the insertions cost little.
constexpr size_t kPieceBytes = 64 * 1024;

// Marks a block whose line is shown in the legacy code page.
constexpr int kLegacyLineProperty = QTextFormat::UserProperty + 1;

// Changes of the document made by the view itself: not edits by the user, and not
// undoable (the edits before them cannot be undone either).
class OwnChange {
 public:
  OwnChange(bool& flag, QTextDocument* document) : flag_(flag), document_(document) {
    flag_ = true;
    document_->setUndoRedoEnabled(false);
  }
  ~OwnChange() {
    document_->setUndoRedoEnabled(true);
    flag_ = false;
  }
  OwnChange(const OwnChange&) = delete;
  OwnChange& operator=(const OwnChange&) = delete;

 private:
  bool& flag_;
  QTextDocument* document_;
};

}  // namespace

QtTextView::QtTextView(QWidget* parent, size_t capacity)
    : QPlainTextEdit(parent), StoredTextView(capacity) {
  buildTimer_.setSingleShot(true);
  buildTimer_.setInterval(0);
  connect(&buildTimer_, &QTimer::timeout, this, &QtTextView::BuildSlice);
  // The view's documents are its own from the start, so that each one it replaces is
  // taken down by the view alone.
  ReplaceDocument();
}

QtTextView::~QtTextView() = default;

size_t QtTextView::DocumentBytes() const {
  EnsureBytes();
  return shown_;
}

size_t QtTextView::Remaining() const {
  // After an edit by the user the document is the text, whole.
  return bytesValid_ ? bytes_.Size() - shown_ : 0;
}

bool QtTextView::DocumentComplete() const {
  return Remaining() == 0;
}

bool QtTextView::Building() const {
  return isVisible() && !editable_;
}

void QtTextView::SetEncodingPerLine(bool perLine) {
  if (perLine == perLine_) return;
  EnsureBytes();
  perLine_ = perLine;
  // Text appended while each line chose its own was never looked at as a whole.
  encodingKnown_ = false;
  ReplaceDocument();
  AfterChange();
}

platform::TextEncoding QtTextView::DisplayEncoding() const {
  if (perLine_) return platform::TextEncoding::Utf8;
  if (!encodingKnown_) {
    EnsureBytes();
    encoding_ =
        ShowsAsUtf8(bytes_.Bytes()) ? platform::TextEncoding::Utf8 : platform::TextEncoding::Legacy;
    encodingKnown_ = true;
  }
  return encoding_;
}

const platform::Codec& QtTextView::DisplayCodec() const {
  return CodecOf(DisplayEncoding());
}

void QtTextView::SetText(std::string_view text) {
  if (text.size() > capacity_) throw std::length_error("text over the view's capacity");
  bytes_.SetText(text);
  bytesValid_ = true;
  encodingKnown_ = false;
  cursorToEnd_ = false;
  ReplaceDocument();
  AfterChange();
  NotifyChange();
}

void QtTextView::Append(std::string_view text) {
  EnsureBytes();
  if (text.size() > capacity_ - std::min(capacity_, bytes_.Size())) {
    throw std::length_error("text over the view's capacity");
  }
  TakeBackPartialLine();
  bytes_.Append(text);
  // A valid UTF-8 text followed by a valid UTF-8 piece stays valid, so only the
  // piece needs looking at. Rare (once in a view's life at most): the whole text is
  // shown anew.
  if (!perLine_ && encodingKnown_ && encoding_ == platform::TextEncoding::Utf8 &&
      !ShowsAsUtf8(text)) {
    encoding_ = platform::TextEncoding::Legacy;
    ReplaceDocument();
  }
  cursorToEnd_ = true;
  AfterChange();
  NotifyChange();
}

void QtTextView::ReplaceDocument() {
  QTextDocument* old = document();
  // The first document is the widget's own, which the widget takes down itself when it
  // is replaced.
  const bool ownsOld = old && old->parent() == this;
  auto* fresh = new QTextDocument(this);
  fresh->setDocumentLayout(new QPlainTextDocumentLayout(fresh));
  if (old) {
    fresh->setDefaultFont(old->defaultFont());
    fresh->setDefaultTextOption(old->defaultTextOption());
    fresh->setDocumentMargin(old->documentMargin());
    disconnect(old, nullptr, this, nullptr);
  }
  {
    // The widget handles events while it takes the new document; none of them may
    // build into either document meanwhile.
    const OwnChange own(ownChange_, fresh);
    building_ = true;
    setDocument(fresh);
    building_ = false;
  }
  shown_ = 0;
  legacyFormat_ = -1;
  connect(fresh, &QTextDocument::contentsChange, this, &QtTextView::OnContentsChange);
  if (!ownsOld) return;
  // A shown view takes the old document down in its next pass, instead of building;
  // a hidden one when control returns to the event loop.
  delete retired_;
  retired_ = nullptr;
  if (isVisible()) {
    retired_ = old;
  } else {
    old->deleteLater();
  }
}

void QtTextView::TakeBackPartialLine() {
  const size_t size = bytes_.Size();
  if (shown_ == 0 || shown_ != size || bytes_.EndsWithLineBreak()) return;
  // The document's last block holds the bytes behind the last CR LF, or more after an
  // edit by the user (a line break typed with Shift+Enter stays inside its block).
  const QTextBlock last = document()->lastBlock();
  const size_t blockBytes = FromDocumentChars(BlockCodec(last), last.text()).size();
  const OwnChange own(ownChange_, document());
  QTextCursor cursor(last);
  cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
  shown_ = size - std::min(size, blockBytes);
}

size_t QtTextView::PieceEnd() const {
  const std::string& bytes = bytes_.Bytes();
  if (bytes.size() - shown_ <= kPieceBytes) return bytes.size();
  const size_t crlf = bytes.find("\r\n", shown_ + kPieceBytes - 2);
  return crlf == std::string::npos ? bytes.size() : crlf + 2;
}

void QtTextView::MarkLastBlock(QTextCursor& cursor, platform::TextEncoding encoding) {
  const bool legacy = encoding == platform::TextEncoding::Legacy;
  if (!legacy && legacyFormat_ < 0) return;
  if ((cursor.block().blockFormatIndex() == legacyFormat_) == legacy) return;
  QTextBlockFormat format;
  if (legacy) format.setProperty(kLegacyLineProperty, true);
  cursor.setBlockFormat(format);
  if (legacy) legacyFormat_ = cursor.block().blockFormatIndex();
}

void QtTextView::InsertPiece(size_t end) {
  const std::string_view piece(bytes_.Bytes().data() + shown_, end - shown_);
  const OwnChange own(ownChange_, document());
  QTextCursor cursor(document());
  cursor.movePosition(QTextCursor::End);
  if (perLine_) {
    ForEachEncodingRun(piece, [&](platform::TextEncoding encoding, std::string_view run) {
      MarkLastBlock(cursor, encoding);
      cursor.insertText(ToDocumentChars(CodecOf(encoding), run));
    });
  } else {
    cursor.insertText(ToDocumentChars(DisplayCodec(), piece));
  }
  shown_ = end;
}

template <class KeepGoing>
void QtTextView::BuildWhile(KeepGoing keepGoing) {
  // The document's own change reports during an insertion may come back here.
  if (building_) return;
  building_ = true;
  while (Remaining() > 0 && keepGoing()) InsertPiece(PieceEnd());
  building_ = false;
  if (Remaining() == 0 && cursorToEnd_) {
    cursorToEnd_ = false;
    MoveCursorToEnd();
  }
  UpdateEditable();
  if (Remaining() > 0 && isVisible() && !buildTimer_.isActive()) buildTimer_.start();
}

void QtTextView::BuildSlice() {
  // A hidden view waits until it is shown again.
  if (!isVisible()) return;
  // Taking down a replaced document, and reading a big text through to choose its
  // encoding, are each the work of a pass of their own.
  if (retired_) {
    delete retired_;
    retired_ = nullptr;
    if (Remaining() > 0) buildTimer_.start();
    return;
  }
  if (!perLine_ && !encodingKnown_ && Remaining() > kAtOnceBytes) {
    DisplayEncoding();
    buildTimer_.start();
    return;
  }
  QElapsedTimer clock;
  clock.start();
  BuildWhile([&] { return clock.elapsed() < kSliceTime; });
  emit DocumentProgress();
}

void QtTextView::Flush() {
  BuildWhile([] { return true; });
}

void QtTextView::BuildSmallRemainder() {
  if (!building_ && isVisible() && Remaining() > 0 && Remaining() <= kAtOnceBytes) Flush();
}

void QtTextView::AfterChange() {
  UpdateEditable();
  if ((Remaining() > 0 || retired_) && isVisible() && !buildTimer_.isActive()) {
    buildTimer_.start();
  }
}

void QtTextView::UpdateEditable() {
  const bool editable = Remaining() <= kAtOnceBytes;
  if (editable == editable_) return;
  editable_ = editable;
  setTextInteractionFlags(editable ? Qt::TextEditorInteraction
                                   : Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  emit DocumentProgress();
}

void QtTextView::MoveCursorToEnd() {
  // The insertion point goes to the end; a selection is given up.
  QTextCursor cursor = textCursor();
  cursor.movePosition(QTextCursor::End);
  setTextCursor(cursor);
}

bool QtTextView::event(QEvent* e) {
  // Whatever the widget does next (a key, a click, a drop) works on the whole text.
  // A paint may show the text a moment early without it.
  if (e->type() == QEvent::InputMethod && !editable_) return true;
  if (e->type() != QEvent::Paint) BuildSmallRemainder();
  return QPlainTextEdit::event(e);
}

bool QtTextView::viewportEvent(QEvent* e) {
  if (e->type() != QEvent::Paint) BuildSmallRemainder();
  return QPlainTextEdit::viewportEvent(e);
}

void QtTextView::showEvent(QShowEvent* e) {
  QPlainTextEdit::showEvent(e);
  if (Remaining() > 0) buildTimer_.start();
  emit DocumentProgress();
}

void QtTextView::hideEvent(QHideEvent* e) {
  QPlainTextEdit::hideEvent(e);
  buildTimer_.stop();
  if (retired_) retired_->deleteLater();
  retired_ = nullptr;
  emit DocumentProgress();
}

void QtTextView::OnContentsChange(int, int charsRemoved, int charsAdded) {
  if (ownChange_ || (charsRemoved == 0 && charsAdded == 0)) return;
  // An edit by the user (or by the widget on the user's behalf: undo, paste, drop).
  // Text still waiting goes in behind it, so the document holds all of it again.
  Flush();
  DisplayEncoding();  // decided from the bytes while they are still the text
  bytesValid_ = false;
  NotifyChange();
}

const platform::Codec& QtTextView::BlockCodec(const QTextBlock& block) const {
  if (!perLine_) return CodecOf(encoding_);
  const bool legacy = legacyFormat_ >= 0 && block.blockFormatIndex() == legacyFormat_;
  return CodecOf(legacy ? platform::TextEncoding::Legacy : platform::TextEncoding::Utf8);
}

void QtTextView::ReadBack() const {
  // The whole text's encoding was decided before the user's first edit.
  std::string bytes;
  if (legacyFormat_ < 0) {
    bytes = FromDocumentChars(BlockCodec(document()->firstBlock()), document()->toRawText());
  } else {
    // Each line in the encoding it is shown in.
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
      bytes += FromDocumentChars(BlockCodec(block), block.text());
      if (block.next().isValid()) bytes += "\r\n";
    }
  }
  bytes_.SetText(std::move(bytes));
  shown_ = bytes_.Size();
}

}  // namespace qtui
