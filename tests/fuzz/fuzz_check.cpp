// The check of a script and the comparison of two languages' headers: no crash, every
// finding on a line of its file, the texts counted as the merge cuts them, and a text
// reported unused exactly when no pass of the plain merge replaces a reference to it.
// The input is a code text and a header, cut at the first byte 1.
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "engine/line_breaks.h"
#include "engine/merge.h"
#include "engine/merge_check.h"
#include "engine/plain_merge.h"
#include "fuzz/fuzz_input.h"

namespace {

constexpr size_t kPlainWork = size_t{8} << 20;

// The text k of a finding "dialog text k is used by no reference", if it is one.
bool UnusedText(const ScriptFinding& f, size_t& k) {
  constexpr std::string_view kHead = "dialog text ", kTail = " is used by no reference";
  const std::string_view m = f.message;
  if (f.file != ScriptFinding::File::Header || !m.starts_with(kHead) || !m.ends_with(kTail)) {
    return false;
  }
  const std::string_view digits = m.substr(kHead.size(), m.size() - kHead.size() - kTail.size());
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) {
    return false;
  }
  k = std::stoul(std::string(digits));
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> parts = fuzz::Split(data, size, 2);
  const std::string &codeBytes = parts[0], &headerBytes = parts[1];
  const std::string code = NormalizeLineBreaks(codeBytes);
  const std::string header = NormalizeLineBreaks(headerBytes);
  const std::string what = "code: " + code.substr(0, 2000) + "\nheader: " + header.substr(0, 2000);

  const ScriptCheck check = CheckDialogScript(codeBytes, headerBytes);
  const size_t codeLines = fuzz::LineCount(code), headerLines = fuzz::LineCount(header);
  std::set<size_t> unused;
  for (const ScriptFinding& f : check.findings) {
    const bool inHeader = f.file == ScriptFinding::File::Header;
    fuzz::Require(f.line >= 1 && f.line <= (inHeader ? headerLines : codeLines),
                  "a finding's line inside its file", what + "\nfinding: " + f.message);
    size_t k = 0;
    if (UnusedText(f, k)) unused.insert(k);
  }
  const std::vector<std::string> texts = DialogTexts(header);
  fuzz::Require(check.textCount == texts.size(), "the texts counted", what);

  const std::string name = ReferenceNameOf(header);
  if (DialogMerge(code, texts, name).Length() <= kPlainWork / (texts.size() + 1)) {
    size_t replaced = 0;
    std::vector<size_t> usedBy;
    plain::Merge(code, texts, name, replaced, &usedBy);
    for (size_t k = 0; k < texts.size(); ++k) {
      fuzz::Require((usedBy[k] == 0) == (unused.count(k) == 1),
                    "a text reported unused exactly when no reference uses it",
                    what + "\ntext " + std::to_string(k) + " replaced " +
                        std::to_string(usedBy[k]) + " times");
    }
  }

  // The same two texts as two languages' headers.
  if (const std::optional<ScriptFinding> f = CompareTranslations(codeBytes, "a.h", headerBytes)) {
    fuzz::Require(f->line >= 1 && f->line <= headerLines, "a comparison's line inside its file",
                  what + "\nfinding: " + f->message);
  }
  return 0;
}
