#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <utility>

#include "_4str32/_4str32.h"

namespace {

constexpr char kTab = 9;
constexpr char kCr = 13;
constexpr char kLf = 10;

inline unsigned char Byte(char c) {
  return static_cast<unsigned char>(c);
}

}  // namespace

TIncTok::TIncTok(TComponent* owner) : TComponent(owner) {
  Restart();
}

TIncTok::~TIncTok() = default;

void TIncTok::Restart() {
  separatorCount_ = static_cast<std::int64_t>(separators_.size());
  sourceLength_ = static_cast<std::int64_t>(sourceString_.size());
  tokenStart_ = 1;
}

void TIncTok::SetSourceString(const std::string& value) {
  if (value == sourceString_) return;
  sourceString_ = value;
  Restart();
}

void TIncTok::SetSeparatorString(const std::string& value) {
  if (value == separators_) return;
  std::string set = value;
  // The flags add their characters whether or not the text holds them already.
  if (npSepChars_.Contains(npTAB)) set += kTab;
  if (npSepChars_.Contains(npCR)) set += kCr;
  if (npSepChars_.Contains(npLF)) set += kLf;
  separators_ = SortChars(set);
  Restart();
}

void TIncTok::SetNPSepChars(TNPSepChars value) {
  if (value == npSepChars_) return;
  npSepChars_ = value;
  // Only missing characters are added; clearing a flag removes nothing.
  const std::pair<TNPSepCharsList, char> flags[] = {{npTAB, kTab}, {npCR, kCr}, {npLF, kLf}};
  for (const auto& [flag, ch] : flags) {
    if (npSepChars_.Contains(flag) && separators_.find(ch) == std::string::npos) separators_ += ch;
  }
  separators_ = SortChars(separators_);
  Restart();
}

std::string TIncTok::SortChars(const std::string& t) {
  std::string sorted = t;
  const std::size_t n = sorted.size();
  if (n <= 64) {
    // Plain exchange sort: every later byte smaller than the one now at i swaps with it.
    for (std::size_t i = 0; i + 1 < n; ++i) {
      for (std::size_t j = i + 1; j < n; ++j) {
        if (Byte(sorted[j]) < Byte(sorted[i])) std::swap(sorted[i], sorted[j]);
      }
    }
    return sorted;
  }
  // A long set gives the same result by counting, which keeps it linear.
  std::array<std::size_t, 256> counts{};
  for (char c : t) ++counts[Byte(c)];
  std::size_t at = 0;
  for (std::size_t b = 0; b < counts.size(); ++b) {
    sorted.replace(at, counts[b], counts[b], static_cast<char>(b));
    at += counts[b];
  }
  return sorted;
}

namespace {

// Membership of ch in the sorted set[0, n): a range check against the smallest and
// largest separator, then a binary search. S(k) is the k-th separator counted from 1.
inline bool IsMember(const char* set, std::int64_t n, char ch) {
  if (n < 1) return false;  // no separators: no character separates
  const unsigned char c = Byte(ch);
  auto S = [set](std::int64_t k) { return Byte(set[k - 1]); };
  const unsigned char first = S(1);
  const unsigned char last = S(n);
  if (c > last || c < first) return false;
  if (c == last || c == first) return true;
  // From here S[lo] < c < S[hi] holds, and mid stays within [lo, hi]; once lo and hi
  // are neighbours the next step lands mid on one of them and the answer is false.
  std::int64_t lo = 1;
  std::int64_t hi = n;
  std::int64_t mid = n / 2;
  while (lo != hi) {
    const unsigned char probe = S(mid);
    if (c > probe) {
      lo = mid;
      mid = mid + (hi - mid) / 2;
      if (mid == lo) return false;
    } else if (c == probe) {
      return true;
    } else {
      hi = mid;
      mid = mid - (mid - lo) / 2;
      if (mid == hi) return false;
    }
  }
  return false;
}

}  // namespace

bool TIncTok::IsSeparator(char ch) const {
  return IsMember(separators_.data(), separatorCount_, ch);
}

bool TIncTok::NextToken() {
  if (tokenStart_ > sourceLength_) return false;
  // Positions count from 1: text[p - 1] is the character at position p.
  const char* text = sourceString_.data();
  const std::int64_t from = tokenStart_;
  std::int64_t at = 0;  // the separator that ends the token; 0 when the text ends it
  if (separatorCount_ > 0 && separators_.front() == separators_.back()) {
    // Every separator is the same byte (the merge's one double quote): the membership
    // test is a single comparison, which memchr makes fastest.
    const void* hit = std::memchr(text + (from - 1), Byte(separators_.front()),
                                  static_cast<std::size_t>(sourceLength_ - from + 1));
    if (hit) at = static_cast<const char*>(hit) - text + 1;
  } else {
    const char* set = separators_.data();
    const std::int64_t n = separatorCount_;
    for (std::int64_t i = from; i <= sourceLength_; ++i) {
      if (IsMember(set, n, text[i - 1])) {
        at = i;
        break;
      }
    }
  }
  if (at != 0) {
    currentToken_.assign(text + (from - 1), static_cast<std::size_t>(at - from));
    currentSeparator_.assign(1, text[at - 1]);
    tokenStart_ = at + 1;
  } else {
    // The last token ends with the text; its "separator" is its own last character.
    currentToken_.assign(text + (from - 1), static_cast<std::size_t>(sourceLength_ - from + 1));
    currentSeparator_.assign(1, text[sourceLength_ - 1]);
    tokenStart_ = sourceLength_ + 1;
  }
  if (onNewToken_) {
    // A copy, so a handler may assign OnNewToken (even to nothing) while it runs.
    const TNotifyEvent handler = onNewToken_;
    handler(*this);
  }
  return true;
}
