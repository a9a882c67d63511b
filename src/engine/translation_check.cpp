// Two languages' headers of one script compared. Translated texts differ in their words
// but keep much of their shape: whether they are empty, how they end (a question, an
// exclamation, a colon), the numbers and placeholders in them, about how long they
// are. When one language has texts more or fewer than the other, the place where a
// text was lost or added is where the two stop agreeing in shape one for one and
// start agreeing shifted by the difference.
#include <algorithm>
#include <cctype>

#include "engine/header_quotes.h"
#include "engine/line_breaks.h"
#include "engine/merge.h"
#include "engine/merge_check.h"
#include "platform/encoding.h"

namespace {

// What a text keeps in translation.
struct Shape {
  bool empty = false;
  char ending = 0;     // the last character when it is punctuation, else 0
  std::string tokens;  // numbers and placeholders (#...#, %x), in order
  size_t length = 0;   // characters without blanks
};

Shape ShapeOf(std::string_view text) {
  Shape shape;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (!std::isspace(c)) ++shape.length;
    if (std::isdigit(c)) {
      while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        shape.tokens += text[i++];
      }
      shape.tokens += ' ';
      --i;
    } else if (c == '%' && i + 1 < text.size() &&
               std::isalpha(static_cast<unsigned char>(text[i + 1]))) {
      shape.tokens.append(text.substr(i, 2)).append(" ");
      ++i;
    } else if (c == '#') {
      const size_t close = text.find('#', i + 1);
      if (close != std::string_view::npos && close - i < 40) {
        shape.tokens.append(text.substr(i, close + 1 - i)).append(" ");
        i = close;
      }
    }
  }
  shape.empty = shape.length == 0;
  const size_t last = text.find_last_not_of(" \t\r\n");
  if (last != std::string_view::npos && std::ispunct(static_cast<unsigned char>(text[last]))) {
    shape.ending = text[last];
  }
  return shape;
}

bool Alike(const Shape& a, const Shape& b) {
  if (a.empty || b.empty) return a.empty == b.empty;
  const size_t shorter = std::min(a.length, b.length), longer = std::max(a.length, b.length);
  return a.ending == b.ending && a.tokens == b.tokens && longer <= 2 * shorter + 4;
}

// The first index of `fewer` from which it agrees with `more` shifted by the
// difference in count clearly better than one for one; nullopt where that cannot be
// told (too few texts after it, or no clear gain).
std::optional<size_t> ShiftedFrom(const std::vector<Shape>& more, const std::vector<Shape>& fewer) {
  const size_t n = fewer.size(), shift = more.size() - n;
  // direct[i]: texts 0 .. i-1 alike one for one; shifted[i], straight[i]: texts i ..
  // n-1 alike shifted, and one for one.
  std::vector<size_t> direct(n + 1, 0), shifted(n + 1, 0), straight(n + 1, 0);
  for (size_t i = 0; i < n; ++i) direct[i + 1] = direct[i] + Alike(more[i], fewer[i]);
  for (size_t i = n; i-- > 0;) {
    shifted[i] = shifted[i + 1] + Alike(more[i + shift], fewer[i]);
    straight[i] = straight[i + 1] + Alike(more[i], fewer[i]);
  }
  size_t best = n;
  for (size_t i = 0; i <= n; ++i) {
    if (direct[i] + shifted[i] > direct[best] + shifted[best]) best = i;
  }
  // Texts lost or added at the very end shift nothing.
  if (best == n) return std::nullopt;
  const size_t after = n - best;
  const size_t gain = shifted[best] - std::min(shifted[best], straight[best]);
  if (after < 3 || gain < 3 || 5 * gain < after) return std::nullopt;
  return best;
}

}  // namespace

std::optional<ScriptFinding> CompareTranslations(std::string_view aBytes, std::string_view aName,
                                                 std::string_view bBytes) {
  const std::string a = NormalizeLineBreaks(aBytes), b = NormalizeLineBreaks(bBytes);
  const std::vector<std::string> aTexts = DialogTexts(a), bTexts = DialogTexts(b);
  if (aTexts.size() == bTexts.size()) return std::nullopt;
  auto shapes = [](const std::vector<std::string>& texts) {
    std::vector<Shape> out;
    out.reserve(texts.size());
    for (const std::string& t : texts) out.push_back(ShapeOf(t));
    return out;
  };
  const std::vector<Shape> aShapes = shapes(aTexts), bShapes = shapes(bTexts);
  const std::optional<size_t> from =
      aTexts.size() > bTexts.size() ? ShiftedFrom(aShapes, bShapes) : ShiftedFrom(bShapes, aShapes);
  ScriptFinding finding;
  finding.file = ScriptFinding::File::Header;
  finding.kind = FindingKind::TextCount;
  finding.message = std::to_string(bTexts.size()) + " dialog texts, " + std::string(aName) +
                    " has " + std::to_string(aTexts.size());
  if (from) {
    finding.kind = FindingKind::ShiftedTexts;
    finding.message += "; the texts look shifted from dialog text " + std::to_string(*from) + " on";
    // Text k of b begins behind the (2k+1)-th double quote the merge counts.
    size_t seen = 0, pos = 0;
    for (size_t p = b.find('"'); p != std::string::npos; p = b.find('"', p + 1)) {
      if (seen++ == 2 * *from) {
        pos = p;
        break;
      }
    }
    const TextPosition at = LineCounter(b, platform::IsValidUtf8(b)).PositionOf(pos);
    finding.line = at.line;
    finding.column = at.column;
  }
  return finding;
}
