// The plan of one merge, shared by the part that makes it and the part that builds the
// merged text from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/internal/code_references.h"
#include "engine/internal/reference_scan.h"
#include "engine/merge.h"

namespace merge_plan {

inline constexpr size_t kNone = std::numeric_limits<size_t>::max();
// Bytes a small copy may move beyond its end; buffers keep this much room.
inline constexpr size_t kCopyWidth = 64;

// Whom a code reference refers to: text m by DLG_TEXT is slot m, by the declared name
// slot count + m. Each slot the code refers to has an entry of whole units of kEntry
// bytes, in the order of first use, when its quoted expansion is at most kMaxInline
// bytes and the reference shorter than 255: the expansion's length (two bytes), the
// reference's length (one) and the expansion. Otherwise the entry is kOutOfLine as the
// length, the slot and the reference's length. So nearly every reference costs the
// build one look-up and one copy of kCopyWidth bytes; the entries lie close together,
// and the two cache lines such a copy may touch are read ahead.
inline constexpr size_t kEntry = 16;
inline constexpr size_t kEntryHeader = 3;
inline constexpr size_t kMaxInline = 1024 - kEntryHeader;
inline constexpr uint16_t kOutOfLine = 0xFFFF;
// A slot's entry before its first use: this bit and the units it will take.
inline constexpr uint32_t kUnassigned = 0x80000000u;
inline constexpr uint32_t kKindBit = 0x40000000u;

}  // namespace merge_plan

// What a merge needs to know before it builds: the references of the code and of
// every text, and per text and kind the length of its quoted expansion and the
// references replaced and left inside it.
struct DialogMerge::Plan {
  using Kind = dialog_refs::Kind;
  using Reference = dialog_refs::Reference;
  using CodeReferences = dialog_refs::CodeReferences;

  std::string_view code;
  const std::vector<std::string>& texts;
  std::string_view name;
  CodeReferences codeRefs;
  size_t codeTail = 0;  // literal bytes after the last reference
  // The references of text m are textRefs[refStart[m] .. refStart[m + 1]). Those by
  // the declared name to m itself apply only where DLG_TEXT[m] inserted the text.
  std::vector<Reference> textRefs;
  std::vector<uint32_t> refStart;
  // Per kind and text: the quoted expansion's length, the references replaced and left
  // in it, and whether it replaces none. Most texts hold no reference and leave none:
  // their expansion is the text in quotes. Only the others have a record, numbered
  // from 1 in `special` (0 for none); the declared name's kind has no table when there
  // is no declared name.
  struct Expansion {
    size_t length, replaced, left;
    bool plain;
  };
  std::vector<uint32_t> special[2];
  std::vector<Expansion> expansions;
  size_t ExpansionLength(Kind kind, size_t m) const {
    const uint32_t s = special[kind][m];
    return s != 0 ? expansions[s - 1].length : texts[m].size() + 2;
  }
  size_t ReplacedIn(Kind kind, size_t m) const {
    const uint32_t s = special[kind][m];
    return s != 0 ? expansions[s - 1].replaced : 0;
  }
  size_t LeftIn(Kind kind, size_t m) const {
    const uint32_t s = special[kind][m];
    return s != 0 ? expansions[s - 1].left : 0;
  }
  bool IsPlain(Kind kind, size_t m) const {
    const uint32_t s = special[kind][m];
    return s == 0 || expansions[s - 1].plain;
  }
  size_t totalLength = 0, totalReplaced = 0, totalLeft = 0;
  bool Named() const { return !name.empty(); }
  // Whom slot s stands for: text s by DLG_TEXT, or text s - count by the declared name.
  Kind KindOfSlot(size_t s) const {
    return s < texts.size() ? dialog_refs::kByDlgText : dialog_refs::kByName;
  }
  size_t TextOfSlot(size_t s) const { return s < texts.size() ? s : s - texts.size(); }

  // Per slot: its entry (the units before it), and how often the code refers to it.
  // The entries themselves are written by the build: a plan whose result is refused
  // never makes them.
  struct SlotUse {
    uint32_t entry;
    uint32_t uses;
  };
  std::vector<SlotUse> slots;
  size_t entryUnits = 0;

  Plan(std::string_view codeText, const std::vector<std::string>& allTexts,
       std::string_view referenceName);

  // Adds `times` uses of the expansion of text m by `kind` to the totals.
  void Count(Kind kind, size_t m, uint32_t& times, size_t& inserted);
  size_t inserted_ = 0;

  // Calls f(slot, kind, m, reference length) for every slot in order, an index's
  // digits counted as it grows.
  template <typename F>
  void ForEachSlot(size_t slots, F&& f) const;

  // Whether the entry of text m by `kind` holds its expansion.
  bool Inline(Kind kind, size_t m, size_t referenceLength) const {
    return ExpansionLength(kind, m) <= merge_plan::kMaxInline && referenceLength < 0xFF;
  }

  // Writes the entries into new memory, cache-line aligned from `first` on, going
  // through the slots in order: the texts are read one after the other.
  std::unique_ptr<char[]> MakeEntries(char*& first) const;

  // Writes text m in double quotes.
  void PutQuoted(char*& w, size_t m) const {
    *w++ = '"';
    std::memcpy(w, texts[m].data(), texts[m].size());
    w += texts[m].size();
    *w++ = '"';
  }

  static bool IsSelf(const Reference& ref, size_t m) {
    return ref.kind == dialog_refs::kByName && ref.index == m;
  }

  // Where expansions with references went in the buffer at base, so that the next of
  // the same is a copy; filled as they are written.
  struct Written {
    const char* base;
    std::vector<size_t> at[2];
  };
  // Writes the quoted expansion of text m inserted by `kind`, which holds references,
  // through an explicit stack: a chain of texts each referring to the next may be as
  // deep as there are texts. With `written`, one written before is copied from there.
  void Expand(char*& w, Kind kind, size_t m, Written* written) const;

  MergedText Build() const;
};
