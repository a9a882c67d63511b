// The findings of a run as people and tools read them: one line each in the compilers'
// form FILE:LINE:COLUMN: SEVERITY: MESSAGE [NAME], or one SARIF log; a fact that holds
// for many files of one header folder printed once; and a count per name.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "cli/options.h"
#include "engine/finding_kinds.h"

namespace cli_run {

struct Finding {
  FindingKind kind = FindingKind::NoHeader;
  std::string file;  // as the tool names it
  size_t line = 1, column = 1;
  std::string message;
  // The header folder whose files it concerns: findings of a kind that may group, with
  // the same message and folder, are one fact about that folder.
  std::string folder;
};

// "FILE:LINE:COLUMN: SEVERITY: MESSAGE [NAME]".
std::string FindingLine(const Finding& f);

// A group holds from this many files on.
inline constexpr size_t kGroupFrom = 3;

class FindingsOutput {
 public:
  // write takes the text of findings as they are ready; cwd names files in SARIF.
  FindingsOutput(const MergeSettings& settings, std::string cwd,
                 std::function<void(std::string_view)> write);
  // Counts and passes on a finding of a kind shown; false for one not shown.
  bool Add(Finding f);
  // Writes what waited for the end: the grouped findings, or the SARIF log.
  void Finish();
  // "NAME: N errors" for each name found, in the order of the kinds.
  std::vector<std::string> Counts() const;

 private:
  const MergeSettings& settings_;
  std::string cwd_;
  std::function<void(std::string_view)> write_;
  size_t counts_[kFindingKindCount] = {};
  // Findings that may group, by kind, folder and message, in the order first seen.
  std::map<std::tuple<FindingKind, std::string, std::string>, size_t> groupIndex_;
  std::vector<std::vector<Finding>> groups_;
  std::vector<Finding> sarif_;
};

}  // namespace cli_run
