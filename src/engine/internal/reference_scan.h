// Finding the references of a text for the merge: each "[" found by a byte search,
// then the index after it and the name before it read in place.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "engine/identifier.h"
#include "engine/internal/byte_scan.h"

// The search runs once per "[" of a script: its steps are worth inlining whole.
#if defined(__GNUC__)
#define VASKAREL_INLINE __attribute__((always_inline)) inline
#define VASKAREL_INLINE_LAMBDA __attribute__((always_inline))
#else
#define VASKAREL_INLINE inline
#define VASKAREL_INLINE_LAMBDA
#endif

namespace dialog_refs {

// A reference's length fits its field: the declared names taken are short enough.
static_assert(kMaxDeclaredNameLength + 32 < UINT16_MAX);

inline bool EndsWithAt(const char* base, size_t end, std::string_view name) {
  return !name.empty() && end >= name.size() &&
         std::memcmp(base + end - name.size(), name.data(), name.size()) == 0;
}

// EndsWithAt(base, end, kReferenceName), as one comparison of two words.
inline bool EndsWithDlgText(const char* base, size_t end) {
  static_assert(kReferenceName.size() == sizeof(uint64_t));
  if (end < sizeof(uint64_t)) return false;
  uint64_t have, want;
  std::memcpy(&have, base + end - sizeof have, sizeof have);
  std::memcpy(&want, kReferenceName.data(), sizeof want);
  return have == want;
}

// Whether the identifier that ends at `end` begins with DLG_TEXT.
inline bool NameBeginsWithDlgText(const char* base, size_t end) {
  size_t start = end;
  while (start > 0 && IsIdentifierChar(base[start - 1])) --start;
  return end - start >= kReferenceName.size() &&
         std::memcmp(base + start, kReferenceName.data(), kReferenceName.size()) == 0;
}

// How many of the 8 bytes at p are decimal digits before the first that is not one;
// 8 when all are. A byte is a digit when its high half is 3 and adding 6 keeps it so.
inline size_t DigitsAt(const char* p) {
  if constexpr (std::endian::native != std::endian::little) return 8;
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  constexpr uint64_t kHigh = 0xF0F0F0F0F0F0F0F0u, kThree = 0x3030303030303030u;
  const uint64_t notDigit = ((v & kHigh) ^ kThree) | (((v + 0x0606060606060606u) & kHigh) ^ kThree);
  // Bytes are in memory order in the little-endian word; a carry out of a byte only
  // reaches bytes after a non-digit, which no longer count.
  return notDigit == 0 ? 8 : static_cast<size_t>(std::countr_zero(notDigit)) / 8;
}

// The value of the first `digits` (1 to 7) bytes at p, all decimal digits, read as
// one word: the digits moved to its top, then pairs, fours and eights of them summed.
inline size_t EightDigitsValue(const char* p, size_t digits) {
  if (digits == 0) return 0;
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  v <<= 8 * (8 - digits);  // the bytes below stand for leading zeros
  v = ((v & 0x0F0F0F0F0F0F0F0Fu) * 2561) >> 8;
  v = ((v & 0x00FF00FF00FF00FFu) * 6553601) >> 16;
  return static_cast<size_t>(((v & 0x0000FFFF0000FFFFu) * 42949672960001u) >> 32);
}

// Calls next = at(pos) for each "[" of s from its start on; the search goes on at next.
template <typename At>
void ForEachBracket(std::string_view s, At&& at) {
  const char* const base = s.data();
  const size_t n = s.size();
  size_t i = 0;
  size_t resume = 0;  // brackets before this position are passed over
  // 64 bytes at a time into one mask, whose bits are taken one by one. The work on
  // each "[" keeps the hardware from reading far enough ahead on its own.
  constexpr size_t kAhead = 2048;
  for (; i + 64 <= n; i += 64) {
    if (n - i > kAhead) Prefetch(base + i + kAhead);
    for (uint64_t mask = ByteMask64(base + i, '['); mask != 0; mask &= mask - 1) {
      const size_t pos = i + static_cast<size_t>(std::countr_zero(mask));
      if (pos >= resume) resume = at(pos);
    }
  }
  for (i = std::max(i, resume); i < n;) {
    const void* hit = std::memchr(base + i, '[', n - i);
    if (!hit) return;
    i = at(static_cast<size_t>(static_cast<const char*>(hit) - base));
  }
}

// The two kinds of reference; an expansion depends on the kind that inserted it.
enum Kind : uint8_t { kByDlgText = 0, kByName = 1 };

struct Reference {
  size_t pos;       // where its name begins
  uint32_t index;   // the text it refers to
  uint16_t length;  // name, "[", digits, "]"
  Kind kind;
};

// Looks at the "[" at `open`: whether a reference the merge replaces ends there (one
// of DLG_TEXT with an index in [lowDlgText, count), or else one of `name` with an
// index in [lowName, count)). Counts a reference-like name it passes over in `left`.
// Returns where the search goes on.
template <typename Found>
VASKAREL_INLINE size_t ReferenceAt(const char* base, size_t n, size_t open, std::string_view name,
                                   size_t count, size_t lowDlgText, size_t lowName, size_t& left,
                                   Found&& found) {
  size_t end = open + 1;
  size_t index = 0;
  bool fits = true;
  // The usual index has a few digits: with 8 bytes at hand, where the digits end is
  // found in one step, and so few digits cannot overflow.
  const size_t fast = n - end >= 8 ? DigitsAt(base + end) : 8;
  if (fast < 8) {
    index = EightDigitsValue(base + end, fast);
    end += fast;
    fits = index < count;
  } else {
    while (end < n && base[end] >= '0' && base[end] <= '9') {
      // Once the index reaches count it can only grow: stopping there keeps it from
      // overflowing.
      if (fits) {
        index = index * 10 + static_cast<size_t>(base[end] - '0');
        fits = index < count;
      }
      ++end;
    }
  }
  const size_t digits = end - open - 1;
  if (digits == 0 || end == n || base[end] != ']' || (digits > 1 && base[open + 1] == '0')) {
    return end;  // no "[" among the digits
  }
  // DLG_TEXT goes first; the declared name is looked at only when it did not match.
  const bool byDlgText = EndsWithDlgText(base, open);
  if (byDlgText && fits && index >= lowDlgText) {
    const size_t pos = open - kReferenceName.size();
    found(Reference{pos, static_cast<uint32_t>(index), static_cast<uint16_t>(end + 1 - pos),
                    kByDlgText});
    return end + 1;
  }
  const bool byName = EndsWithAt(base, open, name);
  if (byName && fits && index >= lowName) {
    const size_t pos = open - name.size();
    found(Reference{pos, static_cast<uint32_t>(index), static_cast<uint16_t>(end + 1 - pos),
                    kByName});
  } else if (byDlgText || byName || NameBeginsWithDlgText(base, open)) {
    ++left;
  }
  return end + 1;
}

template <typename Found>
void FindReferences(std::string_view s, std::string_view name, size_t count, size_t lowDlgText,
                    size_t lowName, size_t& left, Found&& found) {
  ForEachBracket(s, [&](size_t open) VASKAREL_INLINE_LAMBDA {
    return ReferenceAt(s.data(), s.size(), open, name, count, lowDlgText, lowName, left, found);
  });
}

}  // namespace dialog_refs
