// Which encoding a view shows a pane's bytes in, line by line: UTF-8 where a line is
// valid UTF-8, the user's legacy (ANSI) code page otherwise, where every byte is a
// character of its own. Every window's text view follows these rules, so the same
// bytes look the same in each; the bytes themselves are never converted.
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/encoding.h"

namespace display {

// Whether bytes can be shown as UTF-8: valid UTF-8 that holds none of the characters
// a text widget turns into line breaks or swallows on loading (U+2028, U+2029, U+FDD0,
// U+FDD1).
bool ShowsAsUtf8(std::string_view bytes);

// The codec of an encoding: UTF-8, or the user's legacy code page.
const platform::Codec& CodecOf(platform::TextEncoding encoding);

// Cuts bytes (CR LF lines) into runs of whole lines that show in the same encoding,
// each line judged by ShowsAsUtf8 on its own, and calls run for each in order.
void ForEachEncodingRun(std::string_view bytes,
                        const std::function<void(platform::TextEncoding, std::string_view)>& run);

// The encodings of the lines of a text after an edit, so that every line keeps the
// encoding it was shown in. `before` and `after` are the lines as shown (characters,
// one entry a line) and `encodings` those of `before`. Lines the edit left alone at
// either end keep theirs; a line the edit changed, split or added takes the encoding
// of the line it replaced (the first of them for a line added), or that of the line
// before it where the edit removed nothing.
template <class Line>
std::vector<platform::TextEncoding> KeptLineEncodings(
    const std::vector<Line>& before, const std::vector<Line>& after,
    const std::vector<platform::TextEncoding>& encodings) {
  size_t head = 0;
  while (head < before.size() && head < after.size() && before[head] == after[head]) ++head;
  size_t tail = 0;
  while (tail < before.size() - head && tail < after.size() - head &&
         before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
    ++tail;
  }
  const auto kept = [&](size_t i) {
    return i < encodings.size() ? encodings[i] : platform::TextEncoding::Utf8;
  };
  std::vector<platform::TextEncoding> result;
  result.reserve(after.size());
  for (size_t i = 0; i < head; ++i) result.push_back(kept(i));
  const size_t changedBefore = before.size() - head - tail;
  for (size_t i = head; i < after.size() - tail; ++i) {
    if (changedBefore > 0) {
      result.push_back(kept(std::min(i, before.size() - tail - 1)));
    } else {
      result.push_back(head > 0 ? kept(head - 1) : kept(before.size() - tail));
    }
  }
  for (size_t i = after.size() - tail; i < after.size(); ++i) {
    result.push_back(kept(before.size() - (after.size() - i)));
  }
  return result;
}

}  // namespace display
