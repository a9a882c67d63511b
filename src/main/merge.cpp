// How the merge is built in one pass.
//
// The merged text is defined by one replacement pass per dialog text, in ascending
// order, each over the whole current text; pass n replaces DLG_TEXT[n] and then
// NAME[n] (the declared name). A reference never holds a double quote, and every
// inserted text stands between double quotes, so no reference can begin or end
// inside an inserted text or across its quotes. Every reference has exactly one "[",
// and names hold only identifier characters, so two references can only overlap
// when they share their "[": then they share the index too, and DLG_TEXT[n] goes
// first, being replaced first by pass n. So each "[" of the code is replaced by the
// pass of its index or not at all, and inside an inserted text only the passes after
// the one that inserted it apply: after DLG_TEXT[m], NAME[m] and every later text;
// after NAME[m], the later texts only. The expansion of text m is therefore the same
// wherever the same kind of reference inserts it, and the merged text is the code
// with every reference replaced by its expansion in quotes.
//
// Every reference is found once, by a byte search for "[", when the plan is made;
// the plan knows the result's length before anything is built. An expansion of up to
// about a kilobyte is copied from one compact table, which holds the expansion of each
// text the code refers to; a longer one from its text, or, when it holds references,
// written where it is first needed and copied from there afterwards.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "main/identifier.h"
#include "main/merge.h"
#include "main/reference_scan.h"

namespace {

using dialog_refs::FindReferences;
using dialog_refs::kByDlgText;
using dialog_refs::kByName;
using dialog_refs::Kind;
using dialog_refs::kMaxNameLength;
using dialog_refs::Reference;

constexpr size_t kNone = std::numeric_limits<size_t>::max();
// Bytes a small copy may move beyond its end; buffers keep this much room.
constexpr size_t kCopyWidth = 64;

size_t Add(size_t a, size_t b) {
  return a > kNone - b ? kNone : a + b;
}

// Whom a code reference refers to: text m by DLG_TEXT is slot m, by the declared name
// slot count + m. Each slot the code refers to has an entry of whole units of kEntry
// bytes, in the order of first use, when its quoted expansion is at most kMaxInline
// bytes and the reference shorter than 255: the expansion's length (two bytes), the
// reference's length (one) and the expansion. Otherwise the entry is kOutOfLine as the
// length, the slot and the reference's length. So nearly every reference costs the
// build one look-up and one copy of kCopyWidth bytes; the entries lie close together,
// and the two cache lines such a copy may touch are read ahead.
constexpr size_t kEntry = 16;
constexpr size_t kEntryHeader = 3;
constexpr size_t kMaxInline = 1024 - kEntryHeader;
constexpr uint16_t kOutOfLine = 0xFFFF;
// A slot's entry before its first use: this bit and the units it will take.
constexpr uint32_t kUnassigned = 0x80000000u;
constexpr uint32_t kKindBit = 0x40000000u;

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

// Copies n bytes to w and moves it on. Pieces up to a few widths, nearly all of them,
// go as whole wide copies when that many bytes can be read at p (up to sourceEnd) and
// written at w: the usual piece takes one, whatever its length.
inline void Put(char*& w, const char* p, size_t n, const char* sourceEnd) {
  if (n <= 4 * kCopyWidth && static_cast<size_t>(sourceEnd - p) >= n + kCopyWidth) {
    size_t done = 0;
    do {
      std::memcpy(w + done, p + done, kCopyWidth);
      done += kCopyWidth;
    } while (done < n);
  } else {
    std::memcpy(w, p, n);
  }
  w += n;
}

}  // namespace

// What a merge needs to know before it builds: the references of the code and of
// every text, and per text and kind the length of its quoted expansion and the
// references replaced and left inside it.
struct DialogMerge::Plan {
  std::string_view code;
  const std::vector<std::string>& texts;
  std::string_view name;
  CodeReferences codeRefs;
  size_t codeTail = 0;  // literal bytes after the last reference
  // The references of text m are textRefs[refStart[m] .. refStart[m + 1]). Those by
  // the declared name to m itself apply only where DLG_TEXT[m] inserted the text.
  std::vector<Reference> textRefs;
  std::vector<uint32_t> refStart;
  // Per kind and text: quoted expansion length, references replaced and left in it,
  // and whether it replaces none. The tables of the declared name's kind stay empty
  // when there is none.
  std::vector<size_t> length[2], replaced[2], left[2];
  std::vector<uint8_t> plain[2];
  size_t totalLength = 0, totalReplaced = 0, totalLeft = 0;
  // The entries of the slots the code refers to, cache-line aligned, and the units they
  // take.
  std::unique_ptr<char[]> entryBytes;
  const char* entries = nullptr;
  size_t entryUnits = 0;

  bool Named() const { return !name.empty(); }

  // Per slot: its entry, and how often the code refers to it.
  struct SlotUse {
    uint32_t entry;
    uint32_t uses;
  };

  Plan(std::string_view codeText, const std::vector<std::string>& allTexts,
       std::string_view referenceName)
      : code(codeText), texts(allTexts), name(referenceName) {
    const size_t count = texts.size();
    if (name == kReferenceName || !IsIdentifier(name) || name.size() > kMaxNameLength) name = {};
    if (count >= kKindBit) throw std::length_error("too many dialog texts");
    for (const Kind kind : {kByDlgText, kByName}) {
      const size_t size = kind == kByName && !Named() ? 0 : count;
      length[kind].assign(size, 0);
      replaced[kind].assign(size, 0);
      left[kind].assign(size, 0);
      plain[kind].assign(size, 0);
    }

    // The left references of a text itself go where its totals will be.
    refStart.resize(count + 1, 0);
    for (size_t m = 0; m < count; ++m) {
      refStart[m] = static_cast<uint32_t>(textRefs.size());
      FindReferences(texts[m], name, count, m + 1, m, left[kByDlgText][m],
                     [this](const Reference& r) { textRefs.push_back(r); });
      if (Named()) left[kByName][m] = left[kByDlgText][m];
      if (textRefs.size() >= kKindBit) throw std::length_error("too many references in texts");
    }
    refStart[count] = static_cast<uint32_t>(textRefs.size());

    // A text refers only to later texts (and, by name, to itself): from the last down.
    for (size_t m = count; m-- > 0;) {
      for (const Kind kind : {kByName, kByDlgText}) {
        if (kind == kByName && !Named()) continue;
        // The text's own bytes less its references never underflow; what goes in
        // their place saturates.
        size_t literal = texts[m].size() + 2, inserted = 0, rep = 0, lft = left[kind][m];
        for (size_t r = refStart[m]; r < refStart[m + 1]; ++r) {
          const Reference& ref = textRefs[r];
          if (kind == kByName && IsSelf(ref, m)) {
            ++lft;
            continue;
          }
          literal -= ref.length;
          inserted = Add(inserted, length[ref.kind][ref.index]);
          rep = Add(rep, Add(1, replaced[ref.kind][ref.index]));
          lft = Add(lft, left[ref.kind][ref.index]);
        }
        length[kind][m] = Add(literal, inserted);
        replaced[kind][m] = rep;
        left[kind][m] = lft;
        plain[kind][m] = rep == 0;
      }
    }

    // Per slot: its entry, and how often the code refers to it. The code's references
    // are stored by slot, then renumbered by entry in one pass over the slot table; the
    // tables above are consulted once per slot afterwards.
    std::vector<SlotUse> slots(Named() ? 2 * count : count);
    size_t allUnits = 0;
    ForEachSlot(slots.size(), [&](size_t slot, Kind kind, size_t m, size_t referenceLength) {
      const size_t units = Inline(kind, m, referenceLength)
                               ? (kEntryHeader + length[kind][m] + kEntry - 1) / kEntry
                               : 1;
      slots[slot] = {kUnassigned | static_cast<uint32_t>(units), 0};
      allUnits += units;
    });
    // Entries are numbered by the units before them: when those might not fit the short
    // form, no reference takes it.
    codeRefs.SetShortLimit(allUnits < CodeReferences::kEscape ? CodeReferences::kEscape : 0);
    size_t literal = code.size(), end = 0;
    FindReferences(code, name, count, 0, 0, totalLeft,
                   [&](const Reference& ref) VASKAREL_INLINE_LAMBDA {
                     const size_t slot = ref.kind == kByName ? count + ref.index : ref.index;
                     codeRefs.Add(ref.pos - end, static_cast<uint32_t>(slot));
                     end = ref.pos + ref.length;
                     literal -= ref.length;
                   });
    codeRefs.Renumber([&](uint32_t slot) VASKAREL_INLINE_LAMBDA {
      SlotUse& use = slots[slot];
      if (use.entry & kUnassigned) {
        const size_t units = use.entry & ~kUnassigned;
        if (entryUnits + units >= kUnassigned) throw std::length_error("too many dialog texts");
        use.entry = static_cast<uint32_t>(entryUnits);
        entryUnits += units;
      }
      // A count about to overflow goes into the totals now.
      if (use.uses == std::numeric_limits<uint32_t>::max()) {
        Count(slot < count ? kByDlgText : kByName, slot < count ? slot : slot - count, use.uses,
              inserted_);
      }
      ++use.uses;
      return use.entry;
    });
    for (size_t slot = 0; slot < slots.size(); ++slot) {
      Count(slot < count ? kByDlgText : kByName, slot < count ? slot : slot - count,
            slots[slot].uses, inserted_);
    }
    MakeEntries(slots);
    codeTail = code.size() - end;
    totalLength = Add(literal, inserted_);
  }

  // Adds `times` uses of the expansion of text m by `kind` to the totals.
  void Count(Kind kind, size_t m, uint32_t& times, size_t& inserted) {
    if (times == 0) return;
    const auto product = [times](size_t value) {
      return value > kNone / times ? kNone : value * times;
    };
    inserted = Add(inserted, product(length[kind][m]));
    totalReplaced = Add(totalReplaced, product(Add(1, replaced[kind][m])));
    totalLeft = Add(totalLeft, product(left[kind][m]));
    times = 0;
  }
  size_t inserted_ = 0;

  // Calls f(slot, kind, m, reference length) for every slot in order, an index's
  // digits counted as it grows.
  template <typename F>
  void ForEachSlot(size_t slots, F&& f) const {
    const size_t count = texts.size();
    size_t digits = 1, nextPower = 10;
    for (size_t slot = 0; slot < slots; ++slot) {
      const size_t m = slot < count ? slot : slot - count;
      if (m == 0) {
        digits = 1;
        nextPower = 10;
      } else if (m == nextPower) {
        ++digits;
        nextPower = nextPower > kNone / 10 ? kNone : nextPower * 10;
      }
      const Kind kind = slot < count ? kByDlgText : kByName;
      f(slot, kind, m, (kind == kByName ? name.size() : kReferenceName.size()) + 2 + digits);
    }
  }

  // Whether the entry of text m by `kind` holds its expansion.
  bool Inline(Kind kind, size_t m, size_t referenceLength) const {
    return length[kind][m] <= kMaxInline && referenceLength < 0xFF;
  }

  // Writes the entries, going through the slots in order: the texts are read one after
  // the other.
  void MakeEntries(const std::vector<SlotUse>& slots) {
    // Room for the alignment and for the widest copy beyond the last entry.
    entryBytes.reset(new char[entryUnits * kEntry + 3 * kCopyWidth]);
    char* const first =
        entryBytes.get() +
        (kCopyWidth - reinterpret_cast<uintptr_t>(entryBytes.get()) % kCopyWidth) % kCopyWidth;
    entries = first;
    ForEachSlot(slots.size(), [&](size_t slot, Kind kind, size_t m, size_t referenceLength) {
      if (slots[slot].entry & kUnassigned) return;
      char* const at = first + size_t{slots[slot].entry} * kEntry;
      if (Inline(kind, m, referenceLength)) {
        const auto quoted = static_cast<uint16_t>(length[kind][m]);
        char* w = at + kEntryHeader;
        if (plain[kind][m]) {
          PutQuoted(w, m);
        } else {
          Expand(w, kind, m, nullptr);
        }
        std::memcpy(at, &quoted, sizeof quoted);
        at[2] = static_cast<char>(referenceLength);
      } else {
        const uint32_t fields[2] = {static_cast<uint32_t>(slot),
                                    static_cast<uint32_t>(referenceLength)};
        std::memcpy(at + 4, fields, sizeof fields);
        std::memcpy(at, &kOutOfLine, sizeof kOutOfLine);
      }
    });
  }

  // Writes text m in double quotes.
  void PutQuoted(char*& w, size_t m) const {
    *w++ = '"';
    std::memcpy(w, texts[m].data(), texts[m].size());
    w += texts[m].size();
    *w++ = '"';
  }

  static bool IsSelf(const Reference& ref, size_t m) {
    return ref.kind == kByName && ref.index == m;
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

void DialogMerge::Plan::Expand(char*& w, Kind kind, size_t m, Written* written) const {
  const auto writtenAt = [&](Kind k, size_t t) -> size_t& {
    std::vector<size_t>& at = written->at[k];
    if (at.empty()) at.assign(length[k].size(), kNone);
    return at[t];
  };
  // Copies the expansion of text t by k from where it was written, if it was.
  const auto copyWritten = [&](Kind k, size_t t) {
    if (written == nullptr || writtenAt(k, t) == kNone) return false;
    std::memcpy(w, written->base + writtenAt(k, t), length[k][t]);
    w += length[k][t];
    return true;
  };
  if (copyWritten(kind, m)) return;

  struct Frame {
    const std::string* text;
    const Reference* next;  // the next reference of the text
    const Reference* end;
    size_t pos;
    size_t index;
    Kind kind;
  };
  std::vector<Frame> stack;
  const auto open = [&](Kind k, size_t t) {
    if (written != nullptr) writtenAt(k, t) = static_cast<size_t>(w - written->base);
    *w++ = '"';
    stack.push_back(
        {&texts[t], textRefs.data() + refStart[t], textRefs.data() + refStart[t + 1], 0, t, k});
  };
  open(kind, m);
  while (!stack.empty()) {
    Frame& f = stack.back();
    // A reference to the text itself by name applies only where DLG_TEXT inserted it.
    while (f.next != f.end && f.kind == kByName && IsSelf(*f.next, f.index)) ++f.next;
    const char* const text = f.text->data();
    if (f.next == f.end) {
      std::memcpy(w, text + f.pos, f.text->size() - f.pos);
      w += f.text->size() - f.pos;
      *w++ = '"';
      stack.pop_back();
      continue;
    }
    const Reference& ref = *f.next++;
    std::memcpy(w, text + f.pos, ref.pos - f.pos);
    w += ref.pos - f.pos;
    f.pos = ref.pos + ref.length;
    if (plain[ref.kind][ref.index]) {
      PutQuoted(w, ref.index);
    } else if (!copyWritten(ref.kind, ref.index)) {
      open(ref.kind, ref.index);
    }
  }
}

MergedText DialogMerge::Plan::Build() const {
  if (totalLength > kNone - kCopyWidth) throw std::length_error("merged text too long");
  const size_t count = texts.size();
  std::unique_ptr<char[]> bytes(new char[totalLength + kCopyWidth]);
  char* w = bytes.get();
  Written written{bytes.get(), {}};

  const char* source = code.data();
  const char* const codeEnd = code.data() + code.size();
  // The entries references bring in lie anywhere in their table: reading them some
  // references ahead hides most of the wait. The word looked at ahead may be part of
  // an escape; then it only reads some other entry, harmlessly.
  constexpr ptrdiff_t kAhead = 8;
  for (size_t b = 0; b < codeRefs.Blocks(); ++b) {
    const uint32_t* r = codeRefs.BlockBegin(b);
    const uint32_t* const end = codeRefs.BlockEnd(b);
    const uint32_t* const stop = entryUnits > 0 && end - r > kAhead ? end - kAhead : r;
    while (r != end) {
      if (r < stop) {
        const size_t ahead =
            std::min<size_t>(r[kAhead] >> CodeReferences::kGapBits, entryUnits - 1);
        Prefetch(entries + ahead * kEntry);
        Prefetch(entries + ahead * kEntry + kCopyWidth);
      }
      size_t gap;
      uint32_t entry;
      r = CodeReferences::Read(r, gap, entry);
      Put(w, source, gap, codeEnd);
      source += gap;
      if (entry == CodeReferences::kFiller) continue;
      const char* const at = entries + size_t{entry} * kEntry;
      uint16_t quoted;
      std::memcpy(&quoted, at, sizeof quoted);
      if (quoted != kOutOfLine) {
        size_t done = 0;
        do {
          std::memcpy(w + done, at + kEntryHeader + done, kCopyWidth);
          done += kCopyWidth;
        } while (done < quoted);
        w += quoted;
        source += static_cast<unsigned char>(at[2]);
        continue;
      }
      uint32_t fields[2];
      std::memcpy(fields, at + 4, sizeof fields);
      source += fields[1];
      const Kind kind = fields[0] < count ? kByDlgText : kByName;
      const size_t m = fields[0] < count ? fields[0] : fields[0] - count;
      if (plain[kind][m]) {
        PutQuoted(w, m);
      } else {
        Expand(w, kind, m, &written);
      }
    }
  }
  std::memcpy(w, source, codeTail);
  return MergedText(std::move(bytes), totalLength);
}

DialogMerge::DialogMerge(std::string_view codeText, const std::vector<std::string>& texts,
                         std::string_view referenceName)
    : plan_(std::make_unique<Plan>(codeText, texts, referenceName)) {}

DialogMerge::~DialogMerge() = default;

size_t DialogMerge::Length() const {
  return plan_->totalLength;
}

size_t DialogMerge::Replaced() const {
  return plan_->totalReplaced;
}

size_t DialogMerge::Left() const {
  return plan_->totalLeft;
}

MergedText DialogMerge::Build() const {
  return plan_->Build();
}

std::string MergeTexts(std::string_view codeText, const std::vector<std::string>& texts,
                       std::string_view referenceName) {
  return std::string(DialogMerge(codeText, texts, referenceName).Build().View());
}

size_t MergedLength(std::string_view codeText, const std::vector<std::string>& texts,
                    std::string_view referenceName) {
  return DialogMerge(codeText, texts, referenceName).Length();
}

std::optional<MergedText> MergeTextsWithin(std::string_view codeText,
                                           const std::vector<std::string>& texts, size_t maxLength,
                                           std::string_view referenceName) {
  const DialogMerge merge(codeText, texts, referenceName);
  if (merge.Length() > maxLength) return std::nullopt;
  return merge.Build();
}
