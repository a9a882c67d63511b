#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "_4str32/_4str32.h"

std::string CollapseRuns(std::string_view s, std::string_view set) {
  if (s.size() < 2 || set.empty()) return std::string(s);
  std::array<bool, 256> member{};
  for (char c : set) member[static_cast<unsigned char>(c)] = true;
  std::string out;
  out.reserve(s.size());
  out += s[0];
  for (std::size_t i = 1; i < s.size(); ++i) {
    const char c = s[i];
    if (c == s[i - 1] && member[static_cast<unsigned char>(c)]) continue;
    out += c;
  }
  return out;
}

std::string NormalizePath(std::string_view path, std::string_view separator) {
  if (path.empty()) return {};
  std::string p(path);
  if (!separator.empty() && p.back() != separator.front()) p += separator.front();
  constexpr std::string_view kSlashes = "\\/";
  // A leading "//" (a network name) survives as a pair.
  if (p.starts_with("//")) return "/" + CollapseRuns(p, kSlashes);
  return CollapseRuns(p, kSlashes);
}

std::string SubstituteAll(std::string_view s, std::string_view pattern,
                          std::string_view replacement) {
  if (pattern.empty() || pattern.size() > s.size()) return std::string(s);
  std::size_t at = s.find(pattern);
  if (at == std::string_view::npos) return std::string(s);
  std::string out;
  out.reserve(s.size() + (replacement.size() > pattern.size() ? s.size() / 8 : 0));
  std::size_t copied = 0;  // s[0, copied) is in out already
  while (at != std::string_view::npos) {
    out.append(s.data() + copied, at - copied);
    out.append(replacement);
    copied = at + pattern.size();
    at = s.find(pattern, copied);
  }
  out.append(s.data() + copied, s.size() - copied);
  return out;
}
