#include "platform/qt/qt_text_view.h"

#include <QEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>
#include <limits>
#include <stdexcept>

namespace platform {
namespace {

// Characters the document turns into block breaks or swallows on loading (the
// paragraph and line separators U+2029 and U+2028, the frame markers U+FDD0 and
// U+FDD1). A UTF-8 text holding one is shown in the legacy code page instead, so
// its bytes come back unchanged.
bool HoldsDocumentControls(std::string_view bytes) {
  for (size_t i = 0; i + 2 < bytes.size(); ++i) {
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    if (b0 != 0xE2 && b0 != 0xEF) continue;
    const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
    const auto b2 = static_cast<unsigned char>(bytes[i + 2]);
    if (b0 == 0xE2 && b1 == 0x80 && (b2 == 0xA8 || b2 == 0xA9)) return true;
    if (b0 == 0xEF && b1 == 0xB7 && (b2 == 0x90 || b2 == 0x91)) return true;
  }
  return false;
}

bool ShowsAsUtf8(std::string_view bytes) {
  return IsValidUtf8(bytes) && !HoldsDocumentControls(bytes);
}

// Drops the CR of every CR LF, so each line break is one LF (the document's block
// break), in place.
void CrLfToLf(QString& chars) {
  QChar* const begin = chars.data();
  QChar* const end = begin + chars.size();
  QChar* out = begin;
  for (const QChar* in = begin; in != end; ++in) {
    if (*in == u'\r' && in + 1 != end && in[1] == u'\n') continue;
    *out++ = *in;
  }
  chars.truncate(out - begin);
}

// The characters for the document. Valid UTF-8 has one decoding, which Qt's own
// converter finds fastest; a legacy code page maps each byte to one character.
QString ForDocument(const Codec& codec, std::string_view bytes) {
  QString chars;
  if (codec.CodePage() == Codec::Utf8().CodePage()) {
    // Qt's converter drops a byte-order mark at the start; it is a character here.
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    const bool bom = bytes.substr(0, kBom.size()) == kBom;
    if (bom) bytes.remove_prefix(kBom.size());
    chars = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (bom) chars.prepend(QChar(0xFEFF));
  } else {
    std::string all(256, '\0');
    for (int b = 0; b < 256; ++b) all[static_cast<size_t>(b)] = static_cast<char>(b);
    const std::u16string table = codec.Decode(all);
    chars.resize(static_cast<qsizetype>(bytes.size()));
    QChar* out = chars.data();
    for (char byte : bytes) *out++ = QChar(table[static_cast<unsigned char>(byte)]);
  }
  CrLfToLf(chars);
  return chars;
}

}  // namespace

QtTextView::QtTextView(QWidget* parent, size_t capacity)
    : QPlainTextEdit(parent), capacity_(capacity), bytes_(std::numeric_limits<size_t>::max()) {
  connect(document(), &QTextDocument::contentsChange, this, &QtTextView::OnContentsChange);
}

QtTextView::~QtTextView() = default;

const Codec& QtTextView::DisplayCodec() const {
  return encoding_ == TextEncoding::Utf8 ? Codec::Utf8() : Codec::Legacy(UserLegacyCodePage());
}

std::string QtTextView::Text() const {
  EnsureBytes();
  return bytes_.Text();
}

size_t QtTextView::Size() const {
  EnsureBytes();
  return bytes_.Size();
}

bool QtTextView::TextEquals(std::string_view text) const {
  EnsureBytes();
  return bytes_.TextEquals(text);
}

size_t QtTextView::LineCount() const {
  EnsureBytes();
  return bytes_.LineCount();
}

std::string QtTextView::LineAt(size_t i, size_t maxBytes) const {
  EnsureBytes();
  return bytes_.LineAt(i, maxBytes);
}

bool QtTextView::EndsWithLineBreak() const {
  EnsureBytes();
  return bytes_.EndsWithLineBreak();
}

void QtTextView::SetText(std::string_view text) {
  if (text.size() > capacity_) throw std::length_error("text over the view's capacity");
  bytes_.SetText(text);
  bytesValid_ = true;
  pending_.clear();
  encoding_ = ShowsAsUtf8(text) ? TextEncoding::Utf8 : TextEncoding::Legacy;
  ShowWholeText();
  NotifyChange();
}

void QtTextView::ShowWholeText() {
  const QString chars = ForDocument(DisplayCodec(), bytes_.Bytes());
  const bool updates = updatesEnabled();
  setUpdatesEnabled(false);
  ownChange_ = true;
  setPlainText(chars);
  ownChange_ = false;
  setUpdatesEnabled(updates);
}

void QtTextView::Append(std::string_view text) {
  EnsureBytes();
  if (text.size() > capacity_ - std::min(capacity_, bytes_.Size())) {
    throw std::length_error("text over the view's capacity");
  }
  bytes_.Append(text);
  // A valid UTF-8 text followed by a valid UTF-8 piece stays valid, so only the
  // piece needs looking at.
  if (encoding_ == TextEncoding::Utf8 && !ShowsAsUtf8(text)) {
    // Rare (once in a view's life at most): the whole text is shown anew at once.
    encoding_ = TextEncoding::Legacy;
    pending_.clear();
    ShowWholeText();
    MoveCursorToEnd();
  } else {
    pending_.append(text);
    if (!flushScheduled_) {
      flushScheduled_ = true;
      QTimer::singleShot(0, this, &QtTextView::Flush);
    }
  }
  NotifyChange();
}

void QtTextView::Flush() {
  flushScheduled_ = false;
  if (pending_.empty()) return;
  const QString chars = ForDocument(DisplayCodec(), pending_);
  pending_.clear();
  ownChange_ = true;
  // Appended text is the program's, not an edit the user can undo; the edits before it
  // cannot be undone either, as after SetText.
  document()->setUndoRedoEnabled(false);
  QTextCursor end(document());
  end.movePosition(QTextCursor::End);
  end.insertText(chars);
  document()->setUndoRedoEnabled(true);
  ownChange_ = false;
  MoveCursorToEnd();
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
  if (e->type() != QEvent::Paint) Flush();
  return QPlainTextEdit::event(e);
}

bool QtTextView::viewportEvent(QEvent* e) {
  if (e->type() != QEvent::Paint) Flush();
  return QPlainTextEdit::viewportEvent(e);
}

void QtTextView::OnContentsChange(int, int charsRemoved, int charsAdded) {
  if (ownChange_ || (charsRemoved == 0 && charsAdded == 0)) return;
  // An edit by the user (or by the widget on the user's behalf: undo, paste, drop).
  // Text still waiting goes in behind it, so the document holds all of it again.
  Flush();
  bytesValid_ = false;
  NotifyChange();
}

void QtTextView::EnsureBytes() const {
  if (bytesValid_) return;
  const QString raw = document()->toRawText();
  // Every break the document can hold becomes CR LF: its block breaks (U+2029),
  // Shift+Enter's line separator (U+2028), and CR, LF or CR LF brought in by a paste.
  QString chars;
  chars.reserve(raw.size() + document()->blockCount());
  const QChar* p = raw.constData();
  const QChar* const end = p + raw.size();
  while (p < end) {
    const QChar* run = p;
    while (p < end && *p != u'\r' && *p != u'\n' && *p != QChar::LineSeparator &&
           *p != QChar::ParagraphSeparator && *p != QChar::Null) {
      ++p;
    }
    chars.append(run, p - run);
    if (p == end) break;
    if (*p != QChar::Null) chars.append(u"\r\n");  // a pane never holds a NUL
    p += (*p == u'\r' && p + 1 < end && p[1] == u'\n') ? 2 : 1;
  }
  if (encoding_ == TextEncoding::Utf8) {
    const QByteArray utf8 = chars.toUtf8();
    bytes_.SetText(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
  } else {
    bytes_.SetText(DisplayCodec().Encode(std::u16string_view(
        reinterpret_cast<const char16_t*>(chars.utf16()), static_cast<size_t>(chars.size()))));
  }
  bytesValid_ = true;
}

}  // namespace platform
