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
#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "engine/identifier.h"
#include "engine/internal/merge_plan.h"
#include "engine/internal/reference_scan.h"
#include "engine/merge.h"

using namespace merge_plan;
using dialog_refs::FindReferences;
using dialog_refs::kByDlgText;
using dialog_refs::kByName;
using dialog_refs::Kind;
using dialog_refs::Reference;

namespace {

size_t Add(size_t a, size_t b) {
  return a > kNone - b ? kNone : a + b;
}

}  // namespace

template <typename F>
void DialogMerge::Plan::ForEachSlot(size_t slots, F&& f) const {
  size_t digits = 1, nextPower = 10;
  for (size_t slot = 0; slot < slots; ++slot) {
    const size_t m = TextOfSlot(slot);
    if (m == 0) {
      digits = 1;
      nextPower = 10;
    } else if (m == nextPower) {
      ++digits;
      nextPower = nextPower > kNone / 10 ? kNone : nextPower * 10;
    }
    const Kind kind = KindOfSlot(slot);
    f(slot, kind, m, (kind == kByName ? name.size() : kReferenceName.size()) + 2 + digits);
  }
}

DialogMerge::Plan::Plan(std::string_view codeText, const std::vector<std::string>& allTexts,
                        std::string_view referenceName)
    : code(codeText), texts(allTexts), name(referenceName) {
  const size_t count = texts.size();
  if (name == kReferenceName || !IsIdentifier(name)) name = {};
  // A name too long to take is still looked for: its references are counted as left,
  // no index being low enough for it.
  const std::string_view leftName = name.size() > kMaxDeclaredNameLength ? name : "";
  if (!leftName.empty()) name = {};
  const std::string_view scanName = leftName.empty() ? name : leftName;
  const auto lowName = [&](size_t low) { return leftName.empty() ? low : count; };
  if (count >= kKindBit) throw std::length_error("too many dialog texts");
  for (const Kind kind : {kByDlgText, kByName}) {
    special[kind].assign(kind == kByName && !Named() ? 0 : count, 0);
  }

  // The texts that leave references of their own, and how many.
  std::vector<std::pair<size_t, size_t>> ownLeft;
  refStart.resize(count + 1, 0);
  for (size_t m = 0; m < count; ++m) {
    refStart[m] = static_cast<uint32_t>(textRefs.size());
    size_t left = 0;
    FindReferences(texts[m], scanName, count, m + 1, lowName(m), left,
                   [this](const Reference& r) { textRefs.push_back(r); });
    if (left != 0) ownLeft.emplace_back(m, left);
    if (textRefs.size() >= kKindBit) throw std::length_error("too many references in texts");
  }
  refStart[count] = static_cast<uint32_t>(textRefs.size());

  // A text refers only to later texts (and, by name, to itself): from the last down.
  for (size_t m = count; m-- > 0;) {
    size_t own = 0;
    if (!ownLeft.empty() && ownLeft.back().first == m) {
      own = ownLeft.back().second;
      ownLeft.pop_back();
    }
    if (own == 0 && refStart[m] == refStart[m + 1]) continue;  // the text in quotes
    for (const Kind kind : {kByName, kByDlgText}) {
      if (kind == kByName && !Named()) continue;
      // The text's own bytes less its references never underflow; what goes in
      // their place saturates.
      size_t literal = texts[m].size() + 2, inserted = 0, rep = 0, lft = own;
      for (size_t r = refStart[m]; r < refStart[m + 1]; ++r) {
        const Reference& ref = textRefs[r];
        if (kind == kByName && IsSelf(ref, m)) {
          ++lft;
          continue;
        }
        literal -= ref.length;
        inserted = Add(inserted, ExpansionLength(ref.kind, ref.index));
        rep = Add(rep, Add(1, ReplacedIn(ref.kind, ref.index)));
        lft = Add(lft, LeftIn(ref.kind, ref.index));
      }
      if (rep == 0 && lft == 0) continue;
      expansions.push_back({Add(literal, inserted), rep, lft, rep == 0});
      special[kind][m] = static_cast<uint32_t>(expansions.size());
    }
  }

  // Per slot: its entry, and how often the code refers to it. The code's references
  // are stored by slot, then renumbered by entry in one pass over the slot table; the
  // tables above are consulted once per slot afterwards.
  slots.resize(Named() ? 2 * count : count);
  size_t allUnits = 0;
  ForEachSlot(slots.size(), [&](size_t slot, Kind kind, size_t m, size_t referenceLength) {
    const size_t units = Inline(kind, m, referenceLength)
                             ? (kEntryHeader + ExpansionLength(kind, m) + kEntry - 1) / kEntry
                             : 1;
    slots[slot] = {kUnassigned | static_cast<uint32_t>(units), 0};
    allUnits += units;
  });
  // Entries are numbered by the units before them: when those might not fit the short
  // form, no reference takes it.
  codeRefs.SetShortLimit(allUnits < CodeReferences::kEscape ? CodeReferences::kEscape : 0);
  size_t literal = code.size(), end = 0;
  FindReferences(code, scanName, count, 0, lowName(0), totalLeft,
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
      Count(KindOfSlot(slot), TextOfSlot(slot), use.uses, inserted_);
    }
    ++use.uses;
    return use.entry;
  });
  for (size_t slot = 0; slot < slots.size(); ++slot) {
    Count(KindOfSlot(slot), TextOfSlot(slot), slots[slot].uses, inserted_);
  }
  codeTail = code.size() - end;
  totalLength = Add(literal, inserted_);
}

void DialogMerge::Plan::Count(Kind kind, size_t m, uint32_t& times, size_t& inserted) {
  if (times == 0) return;
  const auto product = [times](size_t value) {
    return value > kNone / times ? kNone : value * times;
  };
  inserted = Add(inserted, product(ExpansionLength(kind, m)));
  totalReplaced = Add(totalReplaced, product(Add(1, ReplacedIn(kind, m))));
  totalLeft = Add(totalLeft, product(LeftIn(kind, m)));
  times = 0;
}

std::unique_ptr<char[]> DialogMerge::Plan::MakeEntries(char*& first) const {
  // Room for the alignment and for the widest copy beyond the last entry.
  std::unique_ptr<char[]> bytes(new char[entryUnits * kEntry + 3 * kCopyWidth]);
  first = bytes.get() +
          (kCopyWidth - reinterpret_cast<uintptr_t>(bytes.get()) % kCopyWidth) % kCopyWidth;
  ForEachSlot(slots.size(), [&](size_t slot, Kind kind, size_t m, size_t referenceLength) {
    if (slots[slot].entry & kUnassigned) return;
    char* const at = first + size_t{slots[slot].entry} * kEntry;
    if (Inline(kind, m, referenceLength)) {
      const auto quoted = static_cast<uint16_t>(ExpansionLength(kind, m));
      char* w = at + kEntryHeader;
      if (IsPlain(kind, m)) {
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
  return bytes;
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
