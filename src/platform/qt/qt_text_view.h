// The text view of the window: a QPlainTextEdit that is at the same time the
// platform::TextView of one text pane. The class derives from both, so the window
// places the object itself on its page and sets its font and wrap mode there.
//
// The pane's bytes are shown through a display encoding: UTF-8 while the text is
// valid UTF-8, the user's legacy code page otherwise (every byte is a character
// there, so nothing is lost). Text that is not UTF-8 arriving in a UTF-8 view
// switches the whole view to the legacy code page; the bytes stay as they are. The
// bytes are kept beside the document, so reading an unchanged text costs a copy;
// after an edit by the user they are read back from the document once, with every
// kind of line break made CR LF.
//
// Appended text reaches the document in batches: Append updates the bytes at once
// (Text, LineCount and LineAt see it) and notifies, and the document receives
// everything appended meanwhile in one insertion when control returns to the event
// loop, before the widget handles any input, or on Flush(). So adding many log
// lines costs one insertion, not one layout per line. Code that reads the widget's
// document directly right after an Append calls Flush() first.
#pragma once

#include <QPlainTextEdit>

#include "platform/encoding.h"
#include "platform/memory_text_view.h"
#include "platform/text_view.h"

namespace platform {

class QtTextView : public QPlainTextEdit, public TextView {
  Q_OBJECT

 public:
  explicit QtTextView(QWidget* parent = nullptr, size_t capacity = kDefaultTextCapacity);
  ~QtTextView() override;

  QPlainTextEdit* Widget() { return this; }

  std::string Text() const override;
  size_t Size() const override;
  bool TextEquals(std::string_view text) const override;
  // Loads the document in one piece with drawing suspended.
  void SetText(std::string_view text) override;
  void Append(std::string_view text) override;
  size_t Capacity() const override { return capacity_; }
  size_t LineCount() const override;
  std::string LineAt(size_t i, size_t maxBytes) const override;
  bool EndsWithLineBreak() const override;

  // The encoding the document shows the bytes in.
  TextEncoding DisplayEncoding() const { return encoding_; }
  // Puts appended text that is still waiting into the document now.
  void Flush();

 protected:
  bool event(QEvent* e) override;
  bool viewportEvent(QEvent* e) override;

 private:
  const Codec& DisplayCodec() const;
  // Shows all of bytes_ again, in the display encoding.
  void ShowWholeText();
  void MoveCursorToEnd();
  void OnContentsChange(int position, int charsRemoved, int charsAdded);
  // Reads the bytes back from the document after an edit by the user.
  void EnsureBytes() const;

  size_t capacity_;
  TextEncoding encoding_ = TextEncoding::Utf8;
  // The bytes of the text with their line index; stale after an edit by the user.
  mutable MemoryTextView bytes_;
  mutable bool bytesValid_ = true;
  // Appended bytes that the document has not received yet.
  std::string pending_;
  bool flushScheduled_ = false;
  // Set while the view itself changes the document, whose change reports are then
  // not edits by the user.
  bool ownChange_ = false;
};

}  // namespace platform
