// What a run writes: findings and merged texts to the output, messages and the summary
// to the error stream, and a folder run's results into place on the disk.
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "cli/merge_run.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace cli_run {

namespace {

std::string Plural(size_t n, std::string_view one, std::string_view many) {
  return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

}  // namespace

int MergeRun::UsageError(const std::string& error) {
  err_ << kProgram << ": " << error << "\nTry '" << kProgram << " --help' for more information.\n"
       << std::flush;
  return kExitFailure;
}

// A failure: the run goes on, but ends with exit status 2.
void MergeRun::Error(const std::string& message) {
  ++failures_;
  progress_.Clear();
  err_ << kProgram << ": " << message << "\n" << std::flush;
}

// A problem: a finding of --check, or a dialog code file without a header. Findings
// go to the output as they are found; in a merge run a problem is an error message.
// Only the kinds asked for count.
void MergeRun::Problem(Finding finding) {
  if (settings_.check) {
    if (findings_->Add(std::move(finding))) ++problems_;
  } else if (settings_.findings.Has(finding.kind)) {
    ++problems_;
    progress_.Clear();
    err_ << kProgram << ": " << finding.file << ": " << finding.message << "\n" << std::flush;
  }
}

// Writes to the output stream, small pieces (findings) gathered into larger writes;
// its first failure is reported, later writes are dropped.
bool MergeRun::WriteOut(std::string_view bytes) {
  constexpr size_t kGather = 64 * 1024;
  if (bytes.size() < kGather) {
    outBuffer_.append(bytes);
    return outBuffer_.size() < kGather || FlushOut();
  }
  return FlushOut() && WriteNow(bytes);
}

bool MergeRun::FlushOut() {
  const bool ok = WriteNow(outBuffer_);
  outBuffer_.clear();
  return ok;
}

bool MergeRun::WriteNow(std::string_view bytes) {
  if (outBroken_) return false;
  if (bytes.empty()) return true;
  if (const int err = out_.Write(bytes); err != 0) {
    outBroken_ = true;
    Error("standard output: cannot write: " + platform::ErrnoMessage(err));
    return false;
  }
  return true;
}

std::string MergeRun::Summary() const {
  std::string s = Plural(pairs_, "pair", "pairs") + (settings_.check ? " checked, " : " merged, ") +
                  Plural(texts_, "text", "texts") + ", " +
                  Plural(replaced_, "reference", "references") + " replaced, " +
                  std::to_string(left_) + " left";
  if (!settings_.check) s += ", " + Plural(bytes_, "byte", "bytes") + " written";
  if (notDialogs_ > 0) s += ", " + std::to_string(notDialogs_) + " without references skipped";
  s += ", " + Plural(failures_ + problems_, "problem", "problems");
  // Then a line for each name found.
  for (const std::string& count : findings_->Counts())
    s += "\n" + std::string(kProgram) + ": " + count;
  return s;
}

void MergeRun::Count(size_t texts, size_t replaced, size_t left, size_t bytes) {
  ++pairs_;
  texts_ += texts;
  replaced_ += replaced;
  left_ += left;
  bytes_ += bytes;
}

// A folder run's results, each under its new name beside its output: the file systems
// they lie on (an output may be a link elsewhere) are made durable once for all of
// them, then each takes its name (its old file renamed to its backup first), then each
// folder is synced once. So no output name ever shows a half-written file, and a run
// of a thousand scripts waits for the disk once instead of a thousand times.
void MergeRun::CommitResults() {
  if (pending_.empty()) return;
  platform::FileSystem& files = platform::Files();
  std::set<std::string> where{outputFolder_};
  for (const Pending& p : pending_) {
    if (!p.save.temporary.empty()) where.insert(platform::FolderOf(p.save.temporary));
  }
  int err = files.SyncFileSystems({where.begin(), where.end()});
  if (err == ENOTSUP) {
    for (Pending& p : pending_) {
      if (!p.save.temporary.empty() && (err = files.SyncFile(p.save.temporary)) != 0) break;
    }
  }
  if (err != 0) {
    // Nothing is put in place that may not be on the disk.
    for (Pending& p : pending_) AbandonSave(p.save);
    Error(outputFolder_ + ": results written, but they could not be made durable: " +
          platform::ErrnoMessage(err) + "; no output was replaced");
    pending_.clear();
    return;
  }
  const platform::DateTime now = clock_.Now();
  std::map<std::string, std::string> folders;  // folder -> one result renamed into it
  for (Pending& p : pending_) {
    const bool renamed = !p.save.temporary.empty();  // not written in place, as a device is
    const SaveResult result = CommitSave(p.save, now, false);
    if (!result.ok()) {
      Error(SaveFailureLine(p.save.target, result));
      continue;
    }
    if (renamed) folders.emplace(platform::FolderOf(result.file), result.file);
    Count(p.texts, p.replaced, p.left, p.bytes);
  }
  pending_.clear();
  for (const auto& [folder, file] : folders) {
    err = files.SyncParentDirectory(file);
    if (err != 0 && err != EINVAL && err != ENOTSUP) {
      Error(
          (folder.empty() ? "." : folder) +
          ": results written, but the folder could not be synced: " + platform::ErrnoMessage(err));
    }
  }
}

}  // namespace cli_run
