// The merge as plainly defined, for the differential test and the merge fuzz target:
// one replacement pass per dialog text, in ascending order, each over the whole current
// text; pass n replaces DLG_TEXT[n] and then NAME[n] (the declared name, when the merge
// takes it). Slow and obviously right.
#pragma once

#include <cctype>
#include <string>
#include <vector>

#include "engine/identifier.h"

namespace plain {

// Every occurrence of pattern, leftmost first and without overlaps, replaced; counts them.
inline std::string SubstituteAll(const std::string& s, const std::string& pattern,
                                 const std::string& replacement, size_t& count) {
  std::string out;
  size_t pos = 0;
  for (size_t hit; (hit = s.find(pattern, pos)) != std::string::npos; pos = hit + pattern.size()) {
    out += s.substr(pos, hit - pos) + replacement;
    ++count;
  }
  return out + s.substr(pos);
}

// The name the merge takes besides DLG_TEXT: empty for none, DLG_TEXT itself, or one
// longer than it takes.
inline std::string TakenName(const std::string& name) {
  return name == kReferenceName || name.size() > kMaxDeclaredNameLength ? "" : name;
}

// The merged text; usedBy[n] is how many references pass n replaced.
inline std::string Merge(std::string code, const std::vector<std::string>& texts,
                         const std::string& name, size_t& replaced,
                         std::vector<size_t>* usedBy = nullptr) {
  replaced = 0;
  if (usedBy) usedBy->assign(texts.size(), 0);
  for (size_t n = 0; n < texts.size(); ++n) {
    for (const std::string& head : {std::string(kReferenceName), TakenName(name)}) {
      if (head.empty()) continue;
      size_t count = 0;
      code =
          SubstituteAll(code, head + "[" + std::to_string(n) + "]", "\"" + texts[n] + "\"", count);
      replaced += count;
      if (usedBy) (*usedBy)[n] += count;
    }
  }
  return code;
}

inline bool IsNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// The references the merged text still holds: "[digits]" without a leading zero behind
// DLG_TEXT, behind the name (taken or not), or behind a name that begins with DLG_TEXT.
inline size_t Left(const std::string& merged, const std::string& name) {
  size_t left = 0;
  for (size_t open = merged.find('['); open != std::string::npos;
       open = merged.find('[', open + 1)) {
    size_t end = open + 1;
    while (end < merged.size() && std::isdigit(static_cast<unsigned char>(merged[end]))) ++end;
    if (end == open + 1 || end == merged.size() || merged[end] != ']') continue;
    if (end - open > 2 && merged[open + 1] == '0') continue;
    size_t start = open;
    while (start > 0 && IsNameChar(merged[start - 1])) --start;
    const std::string before = merged.substr(start, open - start);
    const auto endsWith = [&](const std::string& tail) {
      return !tail.empty() && before.size() >= tail.size() &&
             before.compare(before.size() - tail.size(), tail.size(), tail) == 0;
    };
    if (endsWith(std::string(kReferenceName)) || endsWith(name) ||
        before.rfind(kReferenceName, 0) == 0) {
      ++left;
    }
  }
  return left;
}

// The header cut at every double quote; the piece after the last quote only when it
// is not empty; the 2nd, 4th, ... pieces are the texts.
inline std::vector<std::string> DialogTexts(const std::string& header) {
  std::vector<std::string> pieces{""};
  for (char c : header) {
    if (c == '"') {
      pieces.emplace_back();
    } else {
      pieces.back() += c;
    }
  }
  if (pieces.back().empty()) pieces.pop_back();
  std::vector<std::string> texts;
  for (size_t i = 1; i < pieces.size(); i += 2) texts.push_back(pieces[i]);
  return texts;
}

}  // namespace plain
