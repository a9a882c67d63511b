// Reading a header: its dialog texts and the array it declares; and whether a code
// text refers to any header at all.
#include <limits>
#include <optional>

#include "_4str32/_4str32.h"
#include "engine/identifier.h"
#include "engine/merge.h"

namespace {
constexpr size_t kNone = std::numeric_limits<size_t>::max();
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

std::optional<ArrayDeclaration> DeclaredArray(std::string_view headerText) {
  const std::string_view head = headerText.substr(0, headerText.find('"'));
  constexpr std::string_view kType = "string";
  // C lets a declaration run over several lines.
  auto blanks = [&](size_t& i) {
    while (i < head.size() &&
           (head[i] == ' ' || head[i] == '\t' || head[i] == '\r' || head[i] == '\n')) {
      ++i;
    }
  };
  std::optional<ArrayDeclaration> last;
  for (size_t at = head.find(kType); at != std::string_view::npos; at = head.find(kType, at + 1)) {
    if (at > 0 && IsIdentifierChar(head[at - 1])) continue;
    size_t i = at + kType.size();
    const size_t nameStart = i;
    blanks(i);
    if (i == nameStart) continue;  // "string" must stand alone
    const size_t name = i;
    while (i < head.size() && IsIdentifierChar(head[i])) ++i;
    const std::string_view declared = head.substr(name, i - name);
    blanks(i);
    if (!IsIdentifier(declared) || i == head.size() || head[i] != '[') continue;
    ++i;
    blanks(i);
    // Every digit is read: a size too large for a number still declares the name.
    const size_t digits = i;
    std::optional<size_t> size = 0;
    for (; i < head.size() && head[i] >= '0' && head[i] <= '9'; ++i) {
      const size_t d = static_cast<size_t>(head[i] - '0');
      if (size && *size <= (kNone - d) / 10) {
        size = *size * 10 + d;
      } else {
        size.reset();
      }
    }
    const std::string_view sizeText = head.substr(digits, i - digits);
    blanks(i);
    if (i == head.size() || head[i] != ']') continue;
    last = ArrayDeclaration{std::string(declared), sizeText.empty() ? std::nullopt : size,
                            std::string(sizeText), at};
  }
  return last;
}

std::string ReferenceNameOf(std::string_view headerText) {
  std::optional<ArrayDeclaration> array = DeclaredArray(headerText);
  if (!array || array->name == kReferenceName) return {};
  return array->name;
}

std::string DialogTextReference(size_t n) {
  return std::string(kReferenceName) + "[" + std::to_string(n) + "]";
}

bool HoldsDialogReferences(std::string_view codeText) {
  for (size_t at = codeText.find(kReferenceName); at != std::string_view::npos;
       at = codeText.find(kReferenceName, at + 1)) {
    size_t end = at + kReferenceName.size();
    while (end < codeText.size() && IsIdentifierChar(codeText[end])) ++end;
    if (end < codeText.size() && codeText[end] == '[') return true;
  }
  return false;
}
