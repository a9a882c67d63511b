// A text view that holds its text in memory and shows it nowhere: the view of the
// command-line tool and of the tests, and the store of the window's Qt view. It keeps
// the start of every line once lines are asked for, so line access and appending stay
// cheap on a log of many lines, and a text whose lines nobody reads costs no index.
#pragma once

#include <vector>

#include "main/text_view.h"

class MemoryTextView : public TextView {
 public:
  explicit MemoryTextView(size_t capacity = kDefaultTextCapacity);

  std::string Text() const override { return text_; }
  // The text without a copy; valid until the next change.
  const std::string& Bytes() const { return text_; }
  size_t Size() const override { return text_.size(); }
  bool TextEquals(std::string_view text) const override { return text_ == text; }
  void SetText(std::string_view text) override;
  // The same, taking the bytes over without a copy.
  void SetText(std::string&& text);
  void Append(std::string_view text) override;
  size_t Capacity() const override { return capacity_; }

  size_t LineCount() const override;
  std::string LineAt(size_t i, size_t maxBytes) const override;
  bool EndsWithLineBreak() const override;

  // Stands for an edit by the user: replaces the text and notifies one change,
  // whatever the capacity (the user's typing is not limited).
  void UserEdit(std::string_view text);

 private:
  void Assign(std::string_view text);
  // Records the starts of the pieces that follow each CR LF at or after `from`.
  void IndexFrom(size_t from) const;
  // The index of the whole text, made when first needed.
  const std::vector<size_t>& PieceStarts() const;

  size_t capacity_;
  std::string text_;
  // Offset of every piece between CR LF pairs; the first piece starts at 0. Empty
  // until lines are first asked for.
  mutable std::vector<size_t> pieceStarts_;
};
