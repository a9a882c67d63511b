// The references of a code text as the merge keeps them between finding and building.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/internal/reference_scan.h"

namespace dialog_refs {

// The references of the code, one word each: the literal bytes since the previous
// reference and whom it refers to, first its slot and then its entry. A longer stretch,
// or a number from the short limit on, takes an escape word and two whole words;
// kFiller as the number stands for literal bytes alone. Kept in blocks that never
// move; an escape never spans two blocks.
class CodeReferences {
 public:
  static constexpr int kGapBits = 12;
  static constexpr uint32_t kGapMask = (uint32_t{1} << kGapBits) - 1;
  static constexpr uint32_t kEscape = 0xFFFFFFFFu >> kGapBits;
  static constexpr uint32_t kFiller = 0xFFFFFFFFu;

  // Numbers from `limit` (at most kEscape) on take the long form. Renumbering keeps
  // each reference's form, so it needs a limit every new number is below.
  void SetShortLimit(uint32_t limit) { shortLimit_ = std::min(limit, kEscape); }

  VASKAREL_INLINE void Add(size_t gap, uint32_t entry) {
    for (; gap > kFiller; gap -= kFiller) Escape(kFiller, kFiller);
    if (gap <= kGapMask && entry < shortLimit_) {
      if (next_ == end_) NewBlock();
      *next_++ = entry << kGapBits | static_cast<uint32_t>(gap);
    } else {
      Escape(static_cast<uint32_t>(gap), entry);
    }
  }

  // Reads the reference at r into gap and entry; returns the word after it.
  static const uint32_t* Read(const uint32_t* r, size_t& gap, uint32_t& entry) {
    gap = *r & kGapMask;
    entry = *r >> kGapBits;
    if (entry != kEscape) return r + 1;
    gap = r[1];
    entry = r[2];
    return r + 3;
  }

  // Replaces the number n of every reference by renumber(n), in the order of the code.
  template <typename F>
  VASKAREL_INLINE void Renumber(F&& renumber) {
    for (size_t b = 0; b < Blocks(); ++b) {
      uint32_t* r = blocks_[b].words.get();
      uint32_t* const end = r + (BlockEnd(b) - BlockBegin(b));
      while (r != end) {
        const uint32_t n = *r >> kGapBits;
        if (n != kEscape) {
          *r = renumber(n) << kGapBits | (*r & kGapMask);
          ++r;
          continue;
        }
        if (r[2] != kFiller) r[2] = renumber(r[2]);
        r += 3;
      }
    }
  }

  size_t Blocks() const { return blocks_.size(); }
  const uint32_t* BlockBegin(size_t b) const { return blocks_[b].words.get(); }
  const uint32_t* BlockEnd(size_t b) const {
    return b + 1 == blocks_.size() ? next_ : blocks_[b].words.get() + blocks_[b].used;
  }

 private:
  static constexpr size_t kBlock = size_t{1} << 17;
  struct Block {
    std::unique_ptr<uint32_t[]> words;
    size_t used;
  };
  void NewBlock() {
    if (!blocks_.empty())
      blocks_.back().used = static_cast<size_t>(next_ - BlockBegin(Blocks() - 1));
    blocks_.push_back({std::unique_ptr<uint32_t[]>(new uint32_t[kBlock]), 0});
    next_ = blocks_.back().words.get();
    end_ = next_ + kBlock;
  }
  void Escape(uint32_t gap, uint32_t entry) {
    if (end_ - next_ < 3) NewBlock();
    next_[0] = kEscape << kGapBits;
    next_[1] = gap;
    next_[2] = entry;
    next_ += 3;
  }
  std::vector<Block> blocks_;
  uint32_t* next_ = nullptr;
  uint32_t* end_ = nullptr;
  uint32_t shortLimit_ = kEscape;
};

}  // namespace dialog_refs
