// A translation compared with the reference language text by text: the run-time tokens
// the game fills in (#sgender#) must all be there, and a long text left as it was in
// the reference language is most likely not translated yet.
#include <algorithm>
#include <iterator>
#include <optional>

#include "engine/header_quotes.h"
#include "engine/identifier.h"
#include "engine/line_breaks.h"
#include "engine/merge_check.h"
#include "platform/encoding.h"

namespace {

// A text of a header and where it begins (behind its opening double quote).
struct TextSpan {
  size_t pos;
  std::string_view text;
};

// The texts as the merge cuts them: text k between double quotes 2k and 2k + 1, the
// last one running to the end when the count of quotes is odd.
std::vector<TextSpan> TextSpans(std::string_view header) {
  std::vector<TextSpan> spans;
  for (size_t open = header.find('"'); open != std::string_view::npos;) {
    const size_t close = header.find('"', open + 1);
    const size_t end = close == std::string_view::npos ? header.size() : close;
    if (close != std::string_view::npos || open + 1 < header.size()) {
      spans.push_back({open + 1, header.substr(open + 1, end - open - 1)});
    }
    if (close == std::string_view::npos) break;
    open = header.find('"', close + 1);
  }
  return spans;
}

bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c & 0x80);
}

// The tokens #name# of a text (a letter, then letters, digits and underscores), sorted.
std::vector<std::string_view> TokensOf(std::string_view text) {
  std::vector<std::string_view> tokens;
  for (size_t i = text.find('#'); i != std::string_view::npos; i = text.find('#', i + 1)) {
    size_t j = i + 1;
    if (j >= text.size() || !IsLetter(text[j]) || (text[j] & 0x80)) continue;
    while (j < text.size() && IsIdentifierChar(text[j])) ++j;
    if (j >= text.size() || text[j] != '#') continue;
    tokens.push_back(text.substr(i, j + 1 - i));
    i = j;
  }
  std::sort(tokens.begin(), tokens.end());
  return tokens;
}

// Words: pieces between blanks that hold a letter and are no token.
size_t WordCount(std::string_view text) {
  size_t words = 0;
  for (size_t i = 0; i < text.size();) {
    while (i < text.size() &&
           (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) {
      ++i;
    }
    const size_t start = i;
    bool letter = false;
    while (i < text.size() &&
           !(text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) {
      letter = letter || IsLetter(text[i]);
      ++i;
    }
    const std::string_view word = text.substr(start, i - start);
    if (letter && !(word.size() > 2 && word.front() == '#' && word.back() == '#')) ++words;
  }
  return words;
}

std::string Joined(const std::vector<std::string_view>& tokens) {
  std::string out;
  for (std::string_view t : tokens) out += (out.empty() ? "" : " ") + std::string(t);
  return out;
}

}  // namespace

void CompareTranslatedTexts(std::string_view aBytes, std::string_view aName,
                            std::string_view bBytes, const FindingKindSet& checks,
                            const std::function<void(const ScriptFinding&)>& report) {
  const bool tokens = checks.Has(FindingKind::Tokens);
  const bool untranslated = checks.Has(FindingKind::Untranslated);
  if (!tokens && !untranslated) return;
  // Most headers are pane texts already, and are not copied.
  std::string aCopy, bCopy;
  const std::string_view a =
      IsNormalPaneText(aBytes) ? aBytes : (aCopy = NormalizeLineBreaks(aBytes));
  const std::string_view b =
      IsNormalPaneText(bBytes) ? bBytes : (bCopy = NormalizeLineBreaks(bBytes));
  const std::vector<TextSpan> aTexts = TextSpans(a), bTexts = TextSpans(b);
  // With different counts the texts do not pair up; that is a finding of its own.
  if (aTexts.size() != bTexts.size()) return;
  std::optional<LineCounter> lines;  // made for the first finding
  auto add = [&](FindingKind kind, size_t pos, std::string message) {
    if (!lines) lines.emplace(b, platform::IsValidUtf8(b));
    const TextPosition at = lines->PositionOf(pos);
    report({ScriptFinding::File::Header, kind, at.line, at.column, std::move(message)});
  };
  const std::string name(aName);
  for (size_t k = 0; k < bTexts.size(); ++k) {
    const std::string_view aText = aTexts[k].text, bText = bTexts[k].text;
    const std::string which = "dialog text " + std::to_string(k);
    if (untranslated && aText == bText && WordCount(aText) >= 3) {
      add(FindingKind::Untranslated, bTexts[k].pos, which + " is the same as in " + name);
    }
    if (!tokens ||
        (aText.find('#') == std::string_view::npos && bText.find('#') == std::string_view::npos)) {
      continue;
    }
    const std::vector<std::string_view> aTokens = TokensOf(aText), bTokens = TokensOf(bText);
    if (aTokens == bTokens) continue;
    std::vector<std::string_view> lacks, adds;
    std::set_difference(aTokens.begin(), aTokens.end(), bTokens.begin(), bTokens.end(),
                        std::back_inserter(lacks));
    std::set_difference(bTokens.begin(), bTokens.end(), aTokens.begin(), aTokens.end(),
                        std::back_inserter(adds));
    std::string message = which;
    if (!lacks.empty() && !adds.empty()) {
      message += " lacks " + Joined(lacks) + " and has " + Joined(adds) + ", unlike " + name;
    } else if (!lacks.empty()) {
      message += " lacks " + Joined(lacks) + ", which " + name + " has";
    } else {
      message += " has " + Joined(adds) + ", which " + name + " lacks";
    }
    add(FindingKind::Tokens, bTexts[k].pos, std::move(message));
  }
}
