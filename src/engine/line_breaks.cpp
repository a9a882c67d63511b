#include "engine/line_breaks.h"

#include <cstdint>
#include <cstring>

#include "engine/internal/byte_scan.h"

std::string_view CutAtNul(std::string_view text) {
  const void* nul = std::memchr(text.data(), '\0', text.size());
  return nul ? text.substr(0, static_cast<const char*>(nul) - text.data()) : text;
}

std::string NormalizeLineBreaks(std::string_view text) {
  text = CutAtNul(text);
  std::string out;
  out.reserve(text.size());
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end) {
    // Copy the run up to the next CR or LF in one piece.
    const char* q = p;
    while (q < end && *q != '\r' && *q != '\n') ++q;
    out.append(p, q);
    if (q == end) break;
    out += "\r\n";
    // A CR directly followed by LF is one break; any other CR or LF is one on its own.
    p = (*q == '\r' && q + 1 < end && q[1] == '\n') ? q + 2 : q + 1;
  }
  return out;
}

bool IsNormalPaneText(std::string_view text) {
  const char* const p = text.data();
  const size_t n = text.size();
  size_t i = 0;
  // Per block: no NUL, and the LFs exactly where the CRs (shifted on by one) are.
  uint64_t carry = 0;  // a CR in the last byte of the block before
  for (; i + 64 <= n; i += 64) {
    const uint64_t cr = ByteMask64(p + i, '\r');
    if (ByteMask64(p + i, '\0') != 0 || ByteMask64(p + i, '\n') != ((cr << 1) | carry)) {
      return false;
    }
    carry = cr >> 63;
  }
  if (carry != 0 && (i == n || p[i] != '\n')) return false;
  for (i += carry; i < n; ++i) {
    if (p[i] == '\0' || p[i] == '\n') return false;
    if (p[i] == '\r' && (++i == n || p[i] != '\n')) return false;
  }
  return true;
}
