// Names as scripts write them: letters, digits and underscores, not starting with a digit.
#pragma once

#include <cstddef>
#include <string_view>

// The name every script refers to its dialog texts by.
inline constexpr std::string_view kReferenceName = "DLG_TEXT";

// The longest name a header may declare for its texts: the references of a longer
// one are left as they are.
inline constexpr size_t kMaxDeclaredNameLength = 1000;

inline bool IsIdentifierChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

inline bool IsIdentifier(std::string_view s) {
  if (s.empty() || (s[0] >= '0' && s[0] <= '9')) return false;
  for (char c : s) {
    if (!IsIdentifierChar(c)) return false;
  }
  return true;
}
