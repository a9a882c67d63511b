#include "cli/findings_output.h"

#include "cli/sarif_log.h"

namespace cli_run {

std::string FindingLine(const Finding& f) {
  const FindingKindInfo& info = InfoOf(f.kind);
  std::string line = f.file + ":" + std::to_string(f.line) + ":" + std::to_string(f.column) + ": " +
                     std::string(SeverityName(info.severity)) + ": " + f.message;
  if (!info.remedy.empty()) line += "; " + std::string(info.remedy);
  return line + " [" + std::string(info.name) + "]";
}

FindingsOutput::FindingsOutput(const MergeSettings& settings, std::string cwd,
                               std::function<void(std::string_view)> write)
    : settings_(settings), cwd_(std::move(cwd)), write_(std::move(write)) {}

bool FindingsOutput::Add(Finding f) {
  if (!settings_.findings.Has(f.kind)) return false;
  ++counts_[static_cast<size_t>(f.kind)];
  if (settings_.format == FindingFormat::Sarif) {
    sarif_.push_back(std::move(f));
  } else if (!settings_.each && InfoOf(f.kind).groupable && !f.folder.empty()) {
    auto [it, fresh] = groupIndex_.try_emplace({f.kind, f.folder, f.message}, groups_.size());
    if (fresh) groups_.emplace_back();
    groups_[it->second].push_back(std::move(f));
  } else {
    write_(FindingLine(f) + "\n");
  }
  return true;
}

void FindingsOutput::Finish() {
  if (settings_.format == FindingFormat::Sarif) {
    write_(SarifLog(sarif_, cwd_));
    sarif_.clear();
    return;
  }
  for (std::vector<Finding>& group : groups_) {
    if (group.size() < kGroupFrom) {
      for (const Finding& f : group) write_(FindingLine(f) + "\n");
      continue;
    }
    // One line at the first file: how many files, two of them, and what to do.
    Finding first = group[0];
    first.message = std::to_string(group.size()) + " files of " + first.folder + ": " +
                    first.message + "; for example " + group[0].file + " and " + group[1].file +
                    " (--each lists them all)";
    write_(FindingLine(first) + "\n");
  }
  groups_.clear();
  groupIndex_.clear();
}

std::vector<std::string> FindingsOutput::Counts() const {
  std::vector<std::string> lines;
  for (const FindingKindInfo& info : FindingKinds()) {
    const size_t n = counts_[static_cast<size_t>(info.kind)];
    if (n == 0) continue;
    lines.push_back(std::string(info.name) + ": " + std::to_string(n) + " " +
                    std::string(SeverityName(info.severity)) + (n == 1 ? "" : "s"));
  }
  return lines;
}

}  // namespace cli_run
