// The build of a merged text from its plan: the code's literal stretches and the
// entries of its references, in order, into memory nobody filled before.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "engine/internal/merge_plan.h"
#include "engine/merge.h"

using namespace merge_plan;
using dialog_refs::kByDlgText;
using dialog_refs::kByName;
using dialog_refs::Kind;
using dialog_refs::Reference;

namespace {

// Copies n bytes from p to w as whole copies of kCopyWidth bytes: up to that many
// bytes beyond n are read at p and written at w, which both have that room.
inline void CopyWide(char* w, const char* p, size_t n) {
  size_t done = 0;
  do {
    std::memcpy(w + done, p + done, kCopyWidth);
    done += kCopyWidth;
  } while (done < n);
}

// Copies n bytes to w and moves it on. Pieces up to a few widths, nearly all of them,
// go as whole wide copies when that many bytes can be read at p (up to sourceEnd): the
// usual piece takes one, whatever its length.
inline void Put(char*& w, const char* p, size_t n, const char* sourceEnd) {
  if (n <= 4 * kCopyWidth && static_cast<size_t>(sourceEnd - p) >= n + kCopyWidth) {
    CopyWide(w, p, n);
  } else {
    std::memcpy(w, p, n);
  }
  w += n;
}

}  // namespace

void DialogMerge::Plan::Expand(char*& w, Kind kind, size_t m, Written* written) const {
  const auto writtenAt = [&](Kind k, size_t t) -> size_t& {
    std::vector<size_t>& at = written->at[k];
    if (at.empty()) at.assign(special[k].size(), kNone);
    return at[t];
  };
  // Copies the expansion of text t by k from where it was written, if it was.
  const auto copyWritten = [&](Kind k, size_t t) {
    if (written == nullptr || writtenAt(k, t) == kNone) return false;
    std::memcpy(w, written->base + writtenAt(k, t), ExpansionLength(k, t));
    w += ExpansionLength(k, t);
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
    if (IsPlain(ref.kind, ref.index)) {
      PutQuoted(w, ref.index);
    } else if (!copyWritten(ref.kind, ref.index)) {
      open(ref.kind, ref.index);
    }
  }
}

MergedText DialogMerge::Plan::Build() const {
  if (totalLength > kNone - kCopyWidth) throw std::length_error("merged text too long");
  char* entries = nullptr;
  const std::unique_ptr<char[]> entryBytes = MakeEntries(entries);
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
        // The entries and the result keep room beyond their ends for whole copies.
        CopyWide(w, at + kEntryHeader, quoted);
        w += quoted;
        source += static_cast<unsigned char>(at[2]);
        continue;
      }
      uint32_t fields[2];
      std::memcpy(fields, at + 4, sizeof fields);
      source += fields[1];
      const Kind kind = KindOfSlot(fields[0]);
      const size_t m = TextOfSlot(fields[0]);
      if (IsPlain(kind, m)) {
        PutQuoted(w, m);
      } else {
        Expand(w, kind, m, &written);
      }
    }
  }
  std::memcpy(w, source, codeTail);
  return MergedText(std::move(bytes), totalLength);
}
