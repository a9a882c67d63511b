#include "main/memory_text_view.h"

#include <algorithm>
#include <stdexcept>

MemoryTextView::MemoryTextView(size_t capacity) : capacity_(capacity) {}

void MemoryTextView::IndexFrom(size_t from) const {
  // A CR LF may straddle the old end and the appended text.
  size_t pos = from > 0 ? from - 1 : 0;
  while ((pos = text_.find("\r\n", pos)) != std::string::npos) {
    pos += 2;
    pieceStarts_.push_back(pos);
  }
}

const std::vector<size_t>& MemoryTextView::PieceStarts() const {
  if (pieceStarts_.empty()) {
    pieceStarts_.push_back(0);
    IndexFrom(0);
  }
  return pieceStarts_;
}

void MemoryTextView::Assign(std::string_view text) {
  text_.assign(text);
  pieceStarts_.clear();
  NotifyChange();
}

void MemoryTextView::SetText(std::string_view text) {
  if (text.size() > capacity_) throw std::length_error("text over the view's capacity");
  Assign(text);
}

void MemoryTextView::SetText(std::string&& text) {
  if (text.size() > capacity_) throw std::length_error("text over the view's capacity");
  text_ = std::move(text);
  pieceStarts_.clear();
  NotifyChange();
}

void MemoryTextView::UserEdit(std::string_view text) {
  Assign(text);
}

void MemoryTextView::Append(std::string_view text) {
  if (text.size() > capacity_ - std::min(capacity_, text_.size())) {
    throw std::length_error("text over the view's capacity");
  }
  const size_t oldSize = text_.size();
  text_.append(text);
  if (!pieceStarts_.empty()) IndexFrom(oldSize);
  NotifyChange();
}

size_t MemoryTextView::LineCount() const {
  const std::vector<size_t>& starts = PieceStarts();
  // The last piece is a line unless it is empty.
  return starts.back() == text_.size() ? starts.size() - 1 : starts.size();
}

std::string MemoryTextView::LineAt(size_t i, size_t maxBytes) const {
  const std::vector<size_t>& starts = PieceStarts();
  if (i >= starts.size()) return {};
  const size_t start = starts[i];
  const size_t end = i + 1 < starts.size() ? starts[i + 1] - 2 : text_.size();
  return text_.substr(start, std::min(end - start, maxBytes));
}

bool MemoryTextView::EndsWithLineBreak() const {
  return text_.size() >= 2 && text_.compare(text_.size() - 2, 2, "\r\n") == 0;
}
