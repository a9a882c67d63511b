// The multi-line text view behind every text pane. The view is the store of its
// text: bytes with CR LF line breaks, never holding a NUL. The program's window
// uses a Qt view (window/qt/qt_text_view.h); the tests use MemoryTextView
// (main/memory_text_view.h).
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// The largest text a view takes by default: 64 MiB. The Qt view still loads and
// scrolls a text of this size in a few seconds; far beyond it a plain-text widget
// needs gigabytes and long pauses.
inline constexpr size_t kDefaultTextCapacity = size_t{64} << 20;

class TextView {
 public:
  virtual ~TextView() = default;

  // The whole text, byte for byte.
  virtual std::string Text() const = 0;
  virtual size_t Size() const = 0;
  // Whether the whole text equals `text`; views override it to spare a copy.
  virtual bool TextEquals(std::string_view text) const { return Text() == text; }
  // Replaces the whole text (already CR LF and NUL-free). The caller keeps the text
  // within Capacity() (the pane reports "Text exceeds memo capacity"); a view given
  // more throws std::length_error and stays as it was. Notifies one change.
  virtual void SetText(std::string_view text) = 0;
  // Appends at the end (already CR LF and NUL-free), moves the insertion point to
  // the end and gives up any selection. Notifies one change. Over Capacity(): as
  // SetText.
  virtual void Append(std::string_view text) = 0;
  // The largest text the view takes, in bytes.
  virtual size_t Capacity() const = 0;

  // Line model: the pieces between CR LF pairs, a final empty piece not counted.
  virtual size_t LineCount() const = 0;
  // Line i (below LineCount()) without its CR LF, at most maxBytes bytes of it.
  virtual std::string LineAt(size_t i, size_t maxBytes) const = 0;
  virtual bool EndsWithLineBreak() const = 0;

  // Called once after every change of the text, the user's edits included, once
  // the change is in place.
  void SetOnChange(std::function<void()> handler) { onChange_ = std::move(handler); }

 protected:
  void NotifyChange() {
    if (onChange_) onChange_();
  }

 private:
  std::function<void()> onChange_;
};
