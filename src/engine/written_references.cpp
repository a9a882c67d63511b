// The references of a text as written, found by their "[" and the name before it.
#include "engine/internal/written_references.h"

#include <limits>

#include "engine/identifier.h"

namespace {

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t k = 0; k < a.size(); ++k) {
    if (LowerAscii(a[k]) != LowerAscii(b[k])) return false;
  }
  return true;
}

}  // namespace

std::vector<WrittenReference> FindWrittenReferences(std::string_view text,
                                                    std::string_view declared, bool canonicalOnly) {
  std::vector<WrittenReference> refs;
  const size_t n = text.size();
  const std::string_view names[] = {kReferenceName, declared};
  // Every reference has one "[": find those fast, then look back for the name.
  for (size_t open = text.find('['); open != std::string_view::npos;
       open = text.find('[', open + 1)) {
    WrittenReference ref;
    size_t p = open;
    while (p > 0 && IsBlank(text[p - 1])) --p;
    // DLG_TEXT first, as the merge takes it first; a name written exactly before one
    // written in another letter case.
    bool found = false;
    for (const bool exact : {true, false}) {
      for (std::string_view name : names) {
        if (found || name.empty() || p < name.size()) continue;
        const std::string_view written = text.substr(p - name.size(), name.size());
        if (exact ? written == name : EqualIgnoringCase(written, name)) {
          found = true;
          ref.pos = p - name.size();
          ref.name = name;
          ref.exactCase = exact;
          ref.untakenName = name != kReferenceName && name.size() > kMaxDeclaredNameLength;
        }
      }
    }
    if (!found && p == open) {
      size_t start = open;
      while (start > 0 && IsIdentifierChar(text[start - 1])) --start;
      const std::string_view written = text.substr(start, open - start);
      found = written.starts_with(kReferenceName);
      ref.pos = start;
      ref.name = written;
      ref.undeclared = true;
    }
    if (!found) continue;
    ref.blanks = p != open;
    size_t i = open + 1;
    auto skipBlanks = [&] {
      while (i < n && IsBlank(text[i])) {
        ref.blanks = true;
        ++i;
      }
    };
    skipBlanks();
    const size_t digitsStart = i;
    while (i < n && text[i] >= '0' && text[i] <= '9') {
      const size_t d = static_cast<size_t>(text[i] - '0');
      const size_t max = std::numeric_limits<size_t>::max();
      ref.index = ref.index > (max - d) / 10 ? max : ref.index * 10 + d;
      ++i;
    }
    if (i == digitsStart) continue;
    ref.digits = text.substr(digitsStart, i - digitsStart);
    skipBlanks();
    if (i >= n || text[i] != ']') continue;
    ref.length = i + 1 - ref.pos;
    if (canonicalOnly && !ref.Canonical()) continue;
    refs.push_back(ref);
    open = i;
  }
  return refs;
}
