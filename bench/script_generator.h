// Deterministic dialog scripts for the benchmarks: a header of quoted dialog texts and
// a code text of C-like lines full of references, the same on every machine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct GeneratedScript {
  std::string header;
  std::string code;
};

// `texts` dialog texts (a few over two lines, one in a hundred referring to a higher
// text) and about `codeBytes` bytes of code, most lines referring to a text.
inline GeneratedScript GenerateScript(size_t texts, size_t codeBytes, std::uint64_t seed = 1) {
  // A small fixed generator (xorshift), so the bytes do not depend on the library.
  std::uint64_t state = seed * 0x9E3779B97F4A7C15ull + 1;
  auto next = [&state](std::uint64_t bound) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return static_cast<size_t>(state % bound);
  };
  static const char* const kWords[] = {"the",   "guard", "said",   "ship",    "harbour", "gold",
                                       "never", "you",   "will",   "captain", "storm",   "rum",
                                       "a",     "map",   "island", "night",   "told",    "sail"};
  constexpr size_t kWordCount = sizeof(kWords) / sizeof(kWords[0]);

  GeneratedScript s;
  s.header = "string DLG_TEXT[" + std::to_string(texts) + "] = {\r\n";
  for (size_t n = 0; n < texts; ++n) {
    std::string text = "Text " + std::to_string(n) + ":";
    for (size_t w = 1 + next(8); w > 0; --w) text += std::string(" ") + kWords[next(kWordCount)];
    if (next(50) == 0) text += "\r\nand on the next line";
    if (next(100) == 0 && n + 1 < texts) {
      text +=
          " DLG_TEXT[" + std::to_string(n + 1 + next(std::min<size_t>(50, texts - n - 1))) + "]";
    }
    s.header += "\t\"" + text + "\",\r\n";
  }
  s.header += "};\r\n";

  s.code.reserve(codeBytes + 200);
  while (s.code.size() < codeBytes) {
    const size_t kind = next(10);
    const std::string a = std::to_string(next(texts));
    if (kind < 6) {
      s.code += "\tSay(DLG_TEXT[" + a + "]);\r\n";
    } else if (kind == 6) {
      s.code +=
          "\tLink.l1 = DLG_TEXT[" + a + "] + DLG_TEXT[" + std::to_string(next(texts)) + "];\r\n";
    } else if (kind == 7) {
      s.code += "\t// DLG_TEXT[0" + a + "] and DLG_TEXT[" + std::to_string(texts + next(9)) +
                "] stay\r\n";
    } else {
      s.code += "\tint value" + a + " = Compute(" + a + ", npchar.id);\r\n";
    }
  }
  return s;
}
