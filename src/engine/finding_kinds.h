// The kinds of findings the check reports: each one's stable name, its severity, whether
// it runs unless asked for, and one sentence on what it means. This list is the one
// place where a kind is added; the text form, the SARIF rules, --help, --only and
// --ignore, and the man page all take their names from it.
#pragma once

#include <bitset>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

enum class FindingKind {
  NulByte,
  OddQuotes,
  StrayQuote,
  MissingText,
  UnmergedReference,
  UndeclaredName,
  NameTooLong,
  InnerReference,
  UnusedText,
  ArraySize,
  ConflictMarker,
  MixedEncoding,
  BrokenUtf8,
  ShiftedTexts,
  TextCount,
  Tokens,
  Untranslated,
  NoHeader,
  NoLanguageHeader,
  // A new kind goes above this line and into the table in finding_kinds.cpp.
  Count_
};

inline constexpr size_t kFindingKindCount = static_cast<size_t>(FindingKind::Count_);

enum class Severity { Warning, Error };

struct FindingKindInfo {
  FindingKind kind;
  std::string_view name;  // lower case and dashes: "unused-text"
  Severity severity;
  bool onByDefault;              // false: runs only when --only names it
  bool groupable;                // one fact about a folder when it holds for many files
  std::string_view description;  // one sentence
  std::string_view remedy;       // what to do about it, when there is one thing to do
  std::string_view example;      // a finding line as the tool prints it
};

// Every kind, in the order of the enumeration.
const std::vector<FindingKindInfo>& FindingKinds();
const FindingKindInfo& InfoOf(FindingKind kind);
std::optional<FindingKind> FindingKindNamed(std::string_view name);
std::string_view SeverityName(Severity severity);  // "warning", "error"

// A set of kinds: the checks a run makes and the findings it shows.
class FindingKindSet {
 public:
  static FindingKindSet All();
  static FindingKindSet Defaults();  // every kind that is on by default
  bool Has(FindingKind kind) const { return bits_.test(static_cast<size_t>(kind)); }
  void Add(FindingKind kind) { bits_.set(static_cast<size_t>(kind)); }
  void Remove(FindingKind kind) { bits_.reset(static_cast<size_t>(kind)); }
  bool Empty() const { return bits_.none(); }

 private:
  std::bitset<kFindingKindCount> bits_;
};
