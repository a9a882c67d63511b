// A view whose control shows its text while the bytes stay in a store of their own:
// the base of the windows' views. The text is read from the store; after an edit by
// the user the view reads the bytes back from its control once (ReadBack) before the
// store answers again.
#pragma once

#include <limits>
#include <string>
#include <string_view>

#include "main/memory_text_view.h"
#include "main/text_view.h"

class StoredTextView : public TextView {
 public:
  // The store itself takes any size: the view keeps its texts within `capacity`.
  explicit StoredTextView(size_t capacity)
      : capacity_(capacity), bytes_(std::numeric_limits<size_t>::max()) {}

  std::string Text() const override {
    EnsureBytes();
    return bytes_.Text();
  }
  size_t Size() const override {
    EnsureBytes();
    return bytes_.Size();
  }
  bool TextEquals(std::string_view text) const override {
    EnsureBytes();
    return bytes_.TextEquals(text);
  }
  size_t Capacity() const override { return capacity_; }
  size_t LineCount() const override {
    EnsureBytes();
    return bytes_.LineCount();
  }
  std::string LineAt(size_t i, size_t maxBytes) const override {
    EnsureBytes();
    return bytes_.LineAt(i, maxBytes);
  }
  bool EndsWithLineBreak() const override {
    EnsureBytes();
    return bytes_.EndsWithLineBreak();
  }

 protected:
  // Reads the bytes back from the control into the store when an edit left it stale.
  void EnsureBytes() const {
    if (bytesValid_) return;
    ReadBack();
    bytesValid_ = true;
  }
  // Puts the control's text, as bytes in the encodings it is shown in, into bytes_.
  virtual void ReadBack() const = 0;

  const size_t capacity_;
  // The bytes of the text with their line index; stale (bytesValid_ false) after an
  // edit by the user until read back.
  mutable MemoryTextView bytes_;
  mutable bool bytesValid_ = true;
};
