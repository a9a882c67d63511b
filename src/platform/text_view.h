// The multi-line text view behind every text pane. The view is the store of its
// text: bytes with CR LF line breaks, never holding a NUL. The program's window
// uses a Qt view; tests and the command-line tool use MemoryTextView.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

class TextView {
 public:
  virtual ~TextView() = default;

  // The whole text, byte for byte.
  virtual std::string Text() const = 0;
  virtual size_t Size() const = 0;
  // Replaces the whole text (already CR LF and NUL-free). Throws EMemoCapacity when
  // it is over Capacity(), leaving the view as it was. Notifies one change.
  virtual void SetText(std::string_view text) = 0;
  // Appends at the end (already CR LF and NUL-free), moves the insertion point to
  // the end and gives up any selection. Notifies one change.
  virtual void Append(std::string_view text) = 0;
  // The largest text the view takes.
  virtual size_t Capacity() const = 0;

  // Line model: the pieces between CR LF pairs, a final empty piece not counted.
  virtual size_t LineCount() const = 0;
  // Line i without its CR LF, at most maxBytes bytes of it.
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

}  // namespace platform
