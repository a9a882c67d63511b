// How the merge is built in one pass.
//
// The merged text is defined by one replacement pass per dialog text, in ascending
// order, each over the whole current text. A reference never holds a double quote,
// and every inserted text stands between double quotes, so no reference can begin or
// end inside an inserted text or across its quotes; two different references never
// overlap either ("D" only begins one and "]" only ends one). Hence a reference to
// text m in the code is replaced by text m in quotes, and inside that inserted text
// only the later passes m+1, m+2, ... apply. So the expansion of text m is text m
// with every reference to a higher text k replaced by the expansion of k in quotes,
// the same wherever it is inserted, and the merged text is the code with every
// reference replaced by the expansion in quotes. Each expansion is written into the
// result the first time it is needed and copied from there afterwards.
#include "main/merge.h"

#include <cstring>
#include <limits>
#include <optional>

#include "_4str32/_4str32.h"
#include "_4str32/exceptions.h"
#include "main/main_core.h"
#include "platform/clock.h"

namespace {

constexpr std::string_view kReferenceHead = "DLG_TEXT[";
constexpr size_t kNone = std::numeric_limits<size_t>::max();

size_t SaturatingAdd(size_t a, size_t b) {
  return a > kNone - b ? kNone : a + b;
}

struct Reference {
  size_t pos;     // where it starts
  size_t length;  // "DLG_TEXT[" digits "]"
  size_t index;
};

// The next reference at or after `from` whose index lies in [lowest, count).
std::optional<Reference> FindReference(std::string_view s, size_t from, size_t lowest,
                                       size_t count) {
  while ((from = s.find(kReferenceHead, from)) != std::string_view::npos) {
    const size_t digits = from + kReferenceHead.size();
    size_t end = digits;
    size_t index = 0;
    bool fits = true;
    while (end < s.size() && s[end] >= '0' && s[end] <= '9') {
      // Once the index reaches count it can only grow: it no longer matters, and
      // stopping there keeps it from overflowing.
      if (fits) {
        index = index * 10 + static_cast<size_t>(s[end] - '0');
        fits = index < count;
      }
      ++end;
    }
    const bool wellFormed =
        end > digits && end < s.size() && s[end] == ']' && (end - digits == 1 || s[digits] != '0');
    if (wellFormed && fits && index >= lowest) {
      return Reference{from, end + 1 - from, index};
    }
    // "DLG_TEXT[" cannot begin again inside itself.
    from = digits;
  }
  return std::nullopt;
}

// The length of s once every reference in [lowest, count) is replaced by the
// expansion of its text in quotes; saturating.
size_t ExpandedLength(std::string_view s, size_t lowest, const std::vector<size_t>& expanded) {
  size_t literal = s.size();
  size_t inserted = 0;
  size_t pos = 0;
  while (auto ref = FindReference(s, pos, lowest, expanded.size())) {
    literal -= ref->length;
    inserted = SaturatingAdd(inserted, SaturatingAdd(2, expanded[ref->index]));
    pos = ref->pos + ref->length;
  }
  return SaturatingAdd(literal, inserted);
}

// The length of every text's expansion, from the highest text down.
std::vector<size_t> ExpansionLengths(const std::vector<std::string>& texts) {
  std::vector<size_t> expanded(texts.size(), 0);
  for (size_t n = texts.size(); n-- > 0;) expanded[n] = ExpandedLength(texts[n], n + 1, expanded);
  return expanded;
}

}  // namespace

std::vector<std::string> DialogTexts(const std::string& headerText) {
  TIncTok tokenizer;
  tokenizer.SetSourceString(headerText);
  tokenizer.SetSeparatorString("\"");
  std::vector<std::string> texts;
  // The 2nd, 4th, 6th ... pieces lie between an opening and a closing double quote.
  for (size_t piece = 0; tokenizer.NextToken(); ++piece) {
    if (piece % 2 == 1) texts.push_back(tokenizer.CurrentToken());
  }
  return texts;
}

std::string DialogTextReference(size_t n) {
  return std::string(kReferenceHead) + std::to_string(n) + "]";
}

size_t MergedLength(std::string_view codeText, const std::vector<std::string>& texts) {
  return ExpandedLength(codeText, 0, ExpansionLengths(texts));
}

namespace {

// Writes the merged text of `length` bytes (as ExpandedLength gave it).
std::string Build(std::string_view codeText, const std::vector<std::string>& texts, size_t length) {
  const size_t count = texts.size();
  // Throws std::length_error when the result cannot exist in memory at all.
  std::string out(length, '\0');
  char* const base = out.data();
  char* w = base;
  auto put = [&w](const char* p, size_t n) {
    std::memcpy(w, p, n);
    w += n;
  };

  // Where the quoted expansion of each text stands in `out` once written.
  std::vector<size_t> start(count, kNone), end(count, kNone);
  struct Frame {
    std::string_view text;
    size_t pos;
    size_t index;  // the dialog text being expanded; kNone for the code
  };
  // An explicit stack: a chain of texts each referring to the next may be as deep
  // as there are texts.
  std::vector<Frame> stack{{codeText, 0, kNone}};
  while (!stack.empty()) {
    Frame& frame = stack.back();
    const size_t lowest = frame.index == kNone ? 0 : frame.index + 1;
    const auto ref = FindReference(frame.text, frame.pos, lowest, count);
    if (!ref) {
      put(frame.text.data() + frame.pos, frame.text.size() - frame.pos);
      if (frame.index != kNone) {
        *w++ = '"';
        end[frame.index] = static_cast<size_t>(w - base);
      }
      stack.pop_back();
      continue;
    }
    put(frame.text.data() + frame.pos, ref->pos - frame.pos);
    frame.pos = ref->pos + ref->length;
    const size_t m = ref->index;
    if (end[m] != kNone) {
      // Written before: copy it, quotes included, from there.
      put(base + start[m], end[m] - start[m]);
    } else {
      // Not yet written: a text refers only to higher ones, so text m is never
      // already open on the stack.
      start[m] = static_cast<size_t>(w - base);
      *w++ = '"';
      stack.push_back({texts[m], 0, m});
    }
  }
  return out;
}

}  // namespace

std::string MergeTexts(std::string_view codeText, const std::vector<std::string>& texts) {
  return Build(codeText, texts, MergedLength(codeText, texts));
}

std::optional<std::string> MergeTextsWithin(std::string_view codeText,
                                            const std::vector<std::string>& texts,
                                            size_t maxLength) {
  const size_t length = MergedLength(codeText, texts);
  if (length > maxLength) return std::nullopt;
  return Build(codeText, texts, length);
}

void TMainCore::MergeFiles() {
  Log(platform::DateTimePrefix(Clock().Now(), Formats()) + " Start merging files ...");
  Log("    " + OpenDialog().FileName());
  const std::string codeText = m4CodeFile.GetWholeText();
  const std::vector<std::string> texts = DialogTexts(m4HeaderFile.GetWholeText());
  for (size_t n = 0; n < texts.size(); ++n) {
    Log(DialogTextReference(n) + " \"" + texts[n] + "\"");
  }
  // A few texts that refer to each other can make the result exponentially long:
  // its length is known before anything is built.
  std::optional<std::string> merged =
      MergeTextsWithin(codeText, texts, m4MergedFile.View().Capacity());
  if (!merged) throw EMemoCapacity();
  m4MergedFile.SetWholeText(*merged);
  Log(platform::DateTimePrefix(Clock().Now(), Formats()) + " Merge files finished");
}
