// The scripts a run works on: one named code file, or every code file of the folders
// and files named; and the reading of inputs.
#include "cli/merge_run.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace cli_run {

namespace {

bool IsCodeFileName(const std::string& name) {
  return name.size() >= 2 && name[name.size() - 2] == '.' &&
         (name.back() == 'c' || name.back() == 'C');
}

}  // namespace

// Reads an input as the merge takes it (up to its first NUL) or, for --check, whole;
// either way no further than the input limit.
bool MergeRun::Read(const std::string& path, std::string& bytes) {
  platform::FileSystem& files = platform::Files();
  const int err = settings_.check ? files.ReadAtMost(path, kMaxInputBytes, bytes)
                                  : files.ReadTextUpToNul(path, kMaxInputBytes, bytes);
  if (err == EFBIG) {
    Error(path + ": larger than the input limit of " + std::to_string(kMaxInputBytes >> 20) +
          " MiB; not read");
    return false;
  }
  if (err != 0) {
    Error(path + ": cannot read: " + platform::ErrnoMessage(err));
    return false;
  }
  return true;
}

// Refuses a result that would replace one of its own inputs, unless asked for.
bool MergeRun::WouldReplaceInput(const Job& job, const std::string& header) {
  if (settings_.inPlace || job.output.empty()) return false;
  const std::string output = Absolute(job.output);
  for (const std::string& input : {job.code, header}) {
    if (!input.empty() && Absolute(input) == output) {
      Error(job.code + ": the result would replace " + input +
            " itself; give --in-place to allow that (the old file is kept as a backup)");
      return true;
    }
  }
  return false;
}

void MergeRun::CollectOne() {
  Job job;
  job.code = settings_.operands[0];
  if (settings_.operands.size() == 2) job.header = settings_.operands[1];
  if (!settings_.check && settings_.output) {
    // An existing folder, or one written as a folder, takes the code file's name.
    const std::string& output = *settings_.output;
    job.output =
        platform::IsPathDelimiter(output.back()) || platform::Files().DirectoryExists(output)
            ? platform::JoinPath(output, platform::BaseName(job.code))
            : output;
  }
  jobs_.push_back(std::move(job));
}

void MergeRun::CollectFolders() {
  if (!settings_.check) outputFolder_ = Absolute(*settings_.output);
  for (const std::string& operand : settings_.operands) {
    if (platform::Files().DirectoryExists(operand)) {
      CollectTree(operand, "");
    } else if (platform::Files().FileExists(operand)) {
      AddCodeFile(operand, platform::BaseName(operand));
    } else {
      std::string ignored;
      Read(operand, ignored);  // reports why it cannot be read
    }
  }
}

void MergeRun::CollectTree(const std::string& folder, const std::string& relative) {
  std::vector<platform::DirectoryEntry> entries;
  if (const int err = platform::Files().ListDirectory(folder, entries); err != 0) {
    Error(folder + ": cannot read folder: " + platform::ErrnoMessage(err));
    return;
  }
  for (const platform::DirectoryEntry& entry : entries) {
    const std::string path = platform::JoinPath(folder, entry.name);
    const std::string rel = platform::JoinPath(relative, entry.name);
    if (entry.kind == platform::DirectoryEntry::Kind::Directory) {
      // Results written into the tree being merged are not merged again.
      if (!outputFolder_.empty() && Absolute(path) == outputFolder_) continue;
      CollectTree(path, rel);
    } else if (entry.kind == platform::DirectoryEntry::Kind::File && IsCodeFileName(entry.name)) {
      AddCodeFile(path, rel);
    }
  }
}

void MergeRun::AddCodeFile(const std::string& code, const std::string& relative) {
  // The same file reached twice (named and inside a named folder) runs once.
  if (!codesSeen_.emplace(Absolute(code), code).second) return;
  Job job{code, "", ""};
  if (!settings_.check) {
    job.output = platform::JoinPath(*settings_.output, relative);
    auto [it, fresh] = outputsSeen_.emplace(Absolute(job.output), code);
    if (!fresh) {
      Error(code + ": skipped: its result " + job.output + " would replace that of " + it->second);
      return;
    }
  }
  jobs_.push_back(std::move(job));
}

std::string MergeRun::Absolute(const std::string& path) const {
  return platform::AbsolutePath(path, cwd_);
}

}  // namespace cli_run
