// What the fuzz targets share: an input cut into its parts, and a check that stops the
// run with a message, which libFuzzer takes for a crash and keeps the input of.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// The input cut at its first parts - 1 bytes of value 1 (rare in any script, and easy
// to write in a seed): always `parts` strings, the missing ones empty.
inline std::vector<std::string> Split(const uint8_t* data, size_t size, size_t parts) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> out;
  while (out.size() + 1 < parts) {
    const size_t cut = rest.find('\x01');
    out.emplace_back(rest.substr(0, cut));
    rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
  }
  out.emplace_back(rest);
  return out;
}

// The lines of a text with CR LF breaks, as the findings count them.
inline size_t LineCount(std::string_view text) {
  size_t lines = 1;
  for (size_t at = text.find("\r\n"); at != std::string_view::npos;
       at = text.find("\r\n", at + 2)) {
    ++lines;
  }
  return lines;
}

[[noreturn]] inline void Fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "fuzz check failed: %s\n%s\n", what, detail.c_str());
  std::abort();
}

inline void Require(bool holds, const char* what, const std::string& detail = {}) {
  if (!holds) Fail(what, detail);
}

}  // namespace fuzz
