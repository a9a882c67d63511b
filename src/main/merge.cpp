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
// the plan knows the result's length before anything is built. An expansion without
// references is copied from one compact block of quoted texts; one with references
// is written where it is first needed and copied from there afterwards.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "main/byte_scan.h"
#include "main/identifier.h"
#include "main/merge.h"

namespace {

constexpr std::string_view kReferenceName = "DLG_TEXT";
constexpr size_t kNone = std::numeric_limits<size_t>::max();
// The longest declared name taken, so that a reference's length fits its field.
constexpr size_t kMaxNameLength = 1000;
// Bytes a small copy may move beyond its end; buffers keep this much room.
constexpr size_t kCopyWidth = 64;

size_t Add(size_t a, size_t b) {
  return a > kNone - b ? kNone : a + b;
}

bool EndsWithAt(const char* base, size_t end, std::string_view name) {
  return !name.empty() && end >= name.size() &&
         std::memcmp(base + end - name.size(), name.data(), name.size()) == 0;
}

// Whether the identifier that ends at `end` begins with DLG_TEXT.
bool NameBeginsWithDlgText(const char* base, size_t end) {
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
  // 64 bytes at a time into one mask, whose bits are taken one by one.
  for (; i + 64 <= n; i += 64) {
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
size_t ReferenceAt(const char* base, size_t n, size_t open, std::string_view name, size_t count,
                   size_t lowDlgText, size_t lowName, size_t& left, Found&& found) {
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
  const bool byDlgText = EndsWithAt(base, open, kReferenceName);
  const bool byName = EndsWithAt(base, open, name);
  if (fits && byDlgText && index >= lowDlgText) {
    const size_t pos = open - kReferenceName.size();
    found(Reference{pos, static_cast<uint32_t>(index), static_cast<uint16_t>(end + 1 - pos),
                    kByDlgText});
  } else if (fits && byName && index >= lowName) {
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
  ForEachBracket(s, [&](size_t open) {
    return ReferenceAt(s.data(), s.size(), open, name, count, lowDlgText, lowName, left, found);
  });
}

// The references of the code, kept small: the literal bytes before each and whom it
// refers to, in blocks that never move.
struct CodeReference {
  uint32_t span;  // literal bytes since the previous reference, and this one's length
  // Where its quoted text stands in the block of plain texts; or, with kComposite set,
  // the kind (kKindBit) and text whose expansion holds references; kFiller for literal
  // bytes alone.
  uint32_t target;
};
constexpr uint32_t kComposite = 0x80000000u;
constexpr uint32_t kKindBit = 0x40000000u;
constexpr uint32_t kIndexMask = kKindBit - 1;
constexpr uint32_t kFiller = 0xFFFFFFFFu;
constexpr uint32_t kNoBlock = 0xFFFFFFFFu;
constexpr int kLengthBits = 10;  // a reference is at most kMaxNameLength + 12 bytes long
constexpr uint32_t kMaxGap = (uint32_t{1} << (32 - kLengthBits)) - 1;
static_assert(kMaxNameLength + 12 < (size_t{1} << kLengthBits));

class CodeReferences {
 public:
  void Add(size_t gap, size_t length, uint32_t target) {
    // A literal run longer than the field holds goes in pieces.
    for (; gap > kMaxGap; gap -= kMaxGap) Push({kMaxGap << kLengthBits, kFiller});
    Push({static_cast<uint32_t>(gap) << kLengthBits | static_cast<uint32_t>(length), target});
  }
  static size_t Gap(const CodeReference& r) { return r.span >> kLengthBits; }
  static size_t Length(const CodeReference& r) { return r.span & ((1u << kLengthBits) - 1); }

  size_t Blocks() const { return blocks_.size(); }
  const CodeReference* BlockBegin(size_t b) const { return blocks_[b].get(); }
  const CodeReference* BlockEnd(size_t b) const {
    return b + 1 == blocks_.size() ? next_ : blocks_[b].get() + kBlock;
  }

 private:
  static constexpr size_t kBlock = size_t{1} << 16;
  void Push(CodeReference r) {
    if (next_ == end_) {
      blocks_.emplace_back(new CodeReference[kBlock]);
      next_ = blocks_.back().get();
      end_ = next_ + kBlock;
    }
    *next_++ = r;
  }
  std::vector<std::unique_ptr<CodeReference[]>> blocks_;
  CodeReference* next_ = nullptr;
  CodeReference* end_ = nullptr;
};

// Copies n bytes to w and moves it on. Short pieces, the usual case, go as one wide
// copy when kCopyWidth bytes can be read at p (up to sourceEnd) and written at w.
inline void Put(char*& w, const char* p, size_t n, const char* sourceEnd) {
  if (n <= kCopyWidth && static_cast<size_t>(sourceEnd - p) >= kCopyWidth) {
    // Half the width when that is enough: every byte stored costs.
    if (n <= kCopyWidth / 2) {
      std::memcpy(w, p, kCopyWidth / 2);
    } else {
      std::memcpy(w, p, kCopyWidth);
    }
  } else {
    std::memcpy(w, p, n);
  }
  w += n;
}

void Prefetch(const void* p) {
#if defined(__GNUC__)
  __builtin_prefetch(p);
#else
  (void)p;
#endif
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
  // Every text that some kind inserts as it is, quoted, each behind its length (4
  // bytes), in one block; blockAt[m]: where text m's entry begins, or kNoBlock.
  std::string block;
  std::vector<uint32_t> blockAt;

  bool Named() const { return !name.empty(); }

  Plan(std::string_view codeText, const std::vector<std::string>& allTexts,
       std::string_view referenceName)
      : code(codeText), texts(allTexts), name(referenceName) {
    const size_t count = texts.size();
    if (name == kReferenceName || !IsIdentifier(name) || name.size() > kMaxNameLength) name = {};
    if (count >= kIndexMask) throw std::length_error("too many dialog texts");
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

    BuildBlock();

    // Per kind and text, side by side: what a code reference to it records, and how
    // often the code refers to it. A reference costs one look-up; the tables above are
    // consulted once per text afterwards, not once per reference.
    struct Slot {
      uint32_t target;
      uint32_t uses;
    };
    std::vector<Slot> slots[2];
    for (const Kind kind : {kByDlgText, kByName}) {
      if (kind == kByName && !Named()) continue;
      slots[kind].resize(count);
      for (size_t m = 0; m < count; ++m) {
        slots[kind][m].target = plain[kind][m] ? blockAt[m]
                                               : kComposite | (kind == kByName ? kKindBit : 0) |
                                                     static_cast<uint32_t>(m);
        slots[kind][m].uses = 0;
      }
    }
    size_t literal = code.size(), end = 0;
    FindReferences(code, name, count, 0, 0, totalLeft, [&](const Reference& ref) {
      Slot& slot = slots[ref.kind][ref.index];
      codeRefs.Add(ref.pos - end, ref.length, slot.target);
      end = ref.pos + ref.length;
      literal -= ref.length;
      // A count about to overflow goes into the totals now.
      if (slot.uses == std::numeric_limits<uint32_t>::max()) {
        Count(ref.kind, ref.index, slot.uses, inserted_);
      }
      ++slot.uses;
    });
    for (const Kind kind : {kByDlgText, kByName}) {
      for (size_t m = 0; m < slots[kind].size(); ++m)
        Count(kind, m, slots[kind][m].uses, inserted_);
    }
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

  void BuildBlock() {
    const size_t count = texts.size();
    auto inBlock = [&](size_t m) { return plain[kByDlgText][m] || (Named() && plain[kByName][m]); };
    size_t size = kCopyWidth;
    for (size_t m = 0; m < count; ++m) {
      if (inBlock(m)) size += sizeof(uint32_t) + texts[m].size() + 2;
    }
    // Its places are 31-bit numbers.
    if (size >= kComposite) throw std::length_error("dialog texts too long");
    block.reserve(size);
    blockAt.assign(count, kNoBlock);
    for (size_t m = 0; m < count; ++m) {
      if (!inBlock(m)) continue;
      blockAt[m] = static_cast<uint32_t>(block.size());
      const uint32_t quoted = static_cast<uint32_t>(texts[m].size() + 2);
      block.append(reinterpret_cast<const char*>(&quoted), sizeof quoted);
      block.append(1, '"').append(texts[m]).append(1, '"');
    }
    block.append(kCopyWidth, '\0');
  }

  // Copies the quoted text whose block entry begins at `at`.
  void PutPlain(char*& w, uint32_t at) const {
    uint32_t quoted;
    std::memcpy(&quoted, block.data() + at, sizeof quoted);
    Put(w, block.data() + at + sizeof quoted, quoted, block.data() + block.size());
  }

  static bool IsSelf(const Reference& ref, size_t m) {
    return ref.kind == kByName && ref.index == m;
  }

  MergedText Build() const;
};

MergedText DialogMerge::Plan::Build() const {
  if (totalLength > kNone - kCopyWidth) throw std::length_error("merged text too long");
  const size_t count = texts.size();
  std::unique_ptr<char[]> bytes(new char[totalLength + kCopyWidth]);
  char* const base = bytes.get();
  char* w = base;
  // Where an expansion with references stands in the result once written.
  std::vector<size_t> writtenAt[2] = {std::vector<size_t>(count, kNone),
                                      std::vector<size_t>(Named() ? count : 0, kNone)};

  struct Frame {
    const std::string* text;
    const Reference* next;  // the next reference of the text
    const Reference* end;
    size_t pos;
    size_t index;
    Kind kind;
  };
  std::vector<Frame> stack;
  // Writes the quoted expansion of text m inserted by `kind`, which holds references:
  // the first time through an explicit stack (a chain of texts each referring to the
  // next may be as deep as there are texts), later copied from where it was written.
  auto expand = [&](Kind kind, size_t m) {
    if (writtenAt[kind][m] != kNone) {
      std::memcpy(w, base + writtenAt[kind][m], length[kind][m]);
      w += length[kind][m];
      return;
    }
    auto open = [&](Kind k, size_t t) {
      writtenAt[k][t] = static_cast<size_t>(w - base);
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
        PutPlain(w, blockAt[ref.index]);
      } else if (writtenAt[ref.kind][ref.index] != kNone) {
        std::memcpy(w, base + writtenAt[ref.kind][ref.index], length[ref.kind][ref.index]);
        w += length[ref.kind][ref.index];
      } else {
        open(ref.kind, ref.index);
      }
    }
  };

  const char* source = code.data();
  const char* const codeEnd = code.data() + code.size();
  // The texts a reference brings in lie anywhere in the block: reading them a few
  // references ahead hides most of the wait.
  constexpr ptrdiff_t kAhead = 8;
  for (size_t b = 0; b < codeRefs.Blocks(); ++b) {
    const CodeReference* const end = codeRefs.BlockEnd(b);
    for (const CodeReference* r = codeRefs.BlockBegin(b); r != end; ++r) {
      if (end - r > kAhead && !(r[kAhead].target & kComposite)) {
        Prefetch(block.data() + r[kAhead].target);
      }
      const size_t gap = CodeReferences::Gap(*r);
      Put(w, source, gap, codeEnd);
      source += gap;
      if (r->target == kFiller) continue;
      if (!(r->target & kComposite)) {
        PutPlain(w, r->target);
      } else {
        expand((r->target & kKindBit) ? kByName : kByDlgText, r->target & kIndexMask);
      }
      source += CodeReferences::Length(*r);
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
