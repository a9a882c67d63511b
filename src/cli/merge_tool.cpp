// vaskarel-merge: the collection of the scripts to work on, and one run over them. A
// script is merged exactly as the window merges it: the header found as Load code file
// finds it, both files taken as a pane takes them, the same merge, the result written
// byte for byte as Save merged file writes it.
#include "cli/merge_tool.h"

#include <chrono>
#include <exception>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <system_error>

#include "_4str32/exceptions.h"
#include "cli/options.h"
#include "cli/progress.h"
#include "cli/script_text.h"
#include "main/header_search.h"
#include "main/merge.h"
#include "main/merge_check.h"
#include "main/program_info.h"
#include "main/safe_save.h"
#include "platform/encoding.h"
#include "platform/paths.h"

namespace {

constexpr std::string_view kProgram = "vaskarel-merge";

// The largest merged text the tool builds.
constexpr size_t kMaxMergedBytes = size_t{1} << 30;

std::string Reason(int err) {
  return std::generic_category().message(err);
}

std::string Plural(size_t n, std::string_view one, std::string_view many) {
  return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

bool IsCodeFileName(const std::string& name) {
  return name.size() >= 2 && name[name.size() - 2] == '.' &&
         (name.back() == 'c' || name.back() == 'C');
}

// One code file to work on. An empty header: found by the search; an empty output:
// standard output (or nothing, for --check).
struct Job {
  std::string code, header, output;
};

class MergeTool {
 public:
  MergeTool(platform::WritableFile& out, std::ostream& err, const MergeToolOptions& options)
      : out_(out),
        err_(err),
        clock_(options.clock ? *options.clock : platform::SystemClock()),
        progress_(err, options.errIsTerminal, Elapsed(options)) {}

  int Run(const std::vector<std::string>& args) {
    cwd_ = platform::Files().CurrentDirectory();
    if (auto error = ParseMergeArguments(args, cwd_, settings_)) return UsageError(*error);
    if (settings_.help) return WriteNow(kMergeToolUsage) ? kExitDone : kExitFailure;
    if (settings_.version) {
      return WriteNow(std::string(kProgram) + " " + MergeToolVersion() + "\n") ? kExitDone
                                                                               : kExitFailure;
    }
    if (settings_.operands.empty()) return UsageError("no code file given");
    if (settings_.quiet) progress_.SetEnabled(false);
    search_ = HeaderSearch(settings_.headerFolders);
    form_.lineBreaks = settings_.lineBreaks;
    form_.encoding = settings_.encoding;
    form_.codePage = settings_.codePage.value_or(platform::UserLegacyCodePage());

    bool folders = settings_.operands.size() > 2;
    for (const std::string& operand : settings_.operands) {
      folders = folders || platform::Files().DirectoryExists(operand);
    }
    folderRun_ = folders;
    if (folders) {
      if (!settings_.check && !settings_.output) {
        return UsageError("folders and lists of code files need -o OUTDIR");
      }
      if (!settings_.check && platform::Files().FileExists(*settings_.output)) {
        return UsageError(*settings_.output + " is a file, not a folder");
      }
      CollectFolders();
    } else {
      progress_.SetEnabled(false);  // one script: nothing to count
      CollectOne();
    }

    for (size_t i = 0; i < jobs_.size(); ++i) {
      progress_.Update(i, jobs_.size());
      RunJob(jobs_[i]);
      FlushOut();  // a pair's findings, or its merged text, out before the next pair
    }
    if (!jobs_.empty()) progress_.Update(jobs_.size(), jobs_.size());
    SyncFolders();
    progress_.Clear();
    if (!settings_.quiet) err_ << kProgram << ": " << Summary() << "\n" << std::flush;
    if (failures_ > 0) return kExitFailure;
    return problems_ > 0 ? kExitProblemsFound : kExitDone;
  }

 private:
  static std::function<double()> Elapsed(const MergeToolOptions& options) {
    if (options.elapsedSeconds) return options.elapsedSeconds;
    const auto start = std::chrono::steady_clock::now();
    return [start] {
      return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
  }

  int UsageError(const std::string& error) {
    err_ << kProgram << ": " << error << "\nTry '" << kProgram << " --help' for more information.\n"
         << std::flush;
    return kExitFailure;
  }

  // A failure: the run goes on, but ends with exit status 2.
  void Error(const std::string& message) {
    ++failures_;
    progress_.Clear();
    err_ << kProgram << ": " << message << "\n" << std::flush;
  }

  // A problem: a finding of --check, or a dialog code file without a header. Findings
  // go to the output as they are found; in a merge run a problem is an error message.
  void Problem(const std::string& line) {
    ++problems_;
    if (settings_.check) {
      WriteOut(line + "\n");
    } else {
      progress_.Clear();
      err_ << kProgram << ": " << line << "\n" << std::flush;
    }
  }

  // Writes to the output stream, small pieces (findings) gathered into larger writes;
  // its first failure is reported, later writes are dropped.
  bool WriteOut(std::string_view bytes) {
    constexpr size_t kGather = 64 * 1024;
    if (bytes.size() < kGather) {
      outBuffer_.append(bytes);
      return outBuffer_.size() < kGather || FlushOut();
    }
    return FlushOut() && WriteNow(bytes);
  }
  bool FlushOut() {
    const bool ok = WriteNow(outBuffer_);
    outBuffer_.clear();
    return ok;
  }
  bool WriteNow(std::string_view bytes) {
    if (outBroken_) return false;
    if (bytes.empty()) return true;
    if (const int err = out_.Write(bytes); err != 0) {
      outBroken_ = true;
      Error("standard output: cannot write: " + Reason(err));
      return false;
    }
    return true;
  }

  // Reads an input as the merge takes it (up to its first NUL) or, for --check, whole;
  // either way no further than the input limit.
  bool Read(const std::string& path, std::string& bytes) {
    platform::FileSystem& files = platform::Files();
    const int err = settings_.check ? files.ReadAtMost(path, kMaxInputBytes, bytes)
                                    : files.ReadTextUpToNul(path, kMaxInputBytes, bytes);
    if (err == EFBIG) {
      Error(path + ": larger than the input limit of " + std::to_string(kMaxInputBytes >> 20) +
            " MiB; not read");
      return false;
    }
    if (err != 0) {
      Error(path + ": cannot read: " + Reason(err));
      return false;
    }
    return true;
  }

  // Refuses a result that would replace one of its own inputs, unless asked for.
  bool WouldReplaceInput(const Job& job, const std::string& header) {
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

  std::string Summary() const {
    std::string s =
        Plural(pairs_, "pair", "pairs") + (settings_.check ? " checked, " : " merged, ") +
        Plural(texts_, "text", "texts") + ", " + Plural(replaced_, "reference", "references") +
        " replaced, " + std::to_string(left_) + " left";
    if (!settings_.check) s += ", " + Plural(bytes_, "byte", "bytes") + " written";
    if (notDialogs_ > 0) s += ", " + std::to_string(notDialogs_) + " without references skipped";
    return s + ", " + Plural(failures_ + problems_, "problem", "problems");
  }

  void SyncFolders() {
    for (const auto& [folder, file] : foldersToSync_) {
      const int err = platform::Files().SyncParentDirectory(file);
      if (err != 0 && err != EINVAL && err != ENOTSUP) {
        Error((folder.empty() ? "." : folder) +
              ": results written, but the folder could not be synced: " + Reason(err));
      }
    }
  }

  void CollectOne() {
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

  void CollectFolders() {
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

  void CollectTree(const std::string& folder, const std::string& relative) {
    std::vector<platform::DirectoryEntry> entries;
    if (const int err = platform::Files().ListDirectory(folder, entries); err != 0) {
      Error(folder + ": cannot read folder: " + Reason(err));
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

  void AddCodeFile(const std::string& code, const std::string& relative) {
    // The same file reached twice (named and inside a named folder) runs once.
    if (!codesSeen_.emplace(Absolute(code), code).second) return;
    Job job{code, "", ""};
    if (!settings_.check) {
      job.output = platform::JoinPath(*settings_.output, relative);
      auto [it, fresh] = outputsSeen_.emplace(Absolute(job.output), code);
      if (!fresh) {
        Error(code + ": skipped: its result " + job.output + " would replace that of " +
              it->second);
        return;
      }
    }
    jobs_.push_back(std::move(job));
  }

  std::string Absolute(const std::string& path) const { return platform::AbsolutePath(path, cwd_); }

  void RunJob(const Job& job) {
    try {
      std::string code;
      if (!Read(job.code, code)) return;
      const std::string header = job.header.empty() ? search_.Find(job.code) : job.header;
      if (header.empty()) {
        NoHeader(job.code, code);
        return;
      }
      if (WouldReplaceInput(job, header)) return;
      std::string headerBytes;
      if (!Read(header, headerBytes)) return;
      if (settings_.check) {
        Check(job.code, code, header, headerBytes);
      } else {
        Merge(job, std::move(code), std::move(headerBytes));
      }
    } catch (const std::exception& e) {
      Error(job.code + ": " + e.what());
    }
  }

  void NoHeader(const std::string& codeFile, std::string_view code) {
    // A code file without references (a helper, a copy) is no dialog.
    if (!HoldsDialogReferences(InputText(std::string(code), form_))) {
      ++notDialogs_;
      return;
    }
    std::string places;
    for (const std::string& place : search_.PlacesFor(codeFile)) {
      places += (places.empty() ? "" : ", ") + place;
    }
    Problem(codeFile + ": no header found (looked in: " + places + ")");
  }

  void Check(const std::string& codeFile, std::string_view code, const std::string& header,
             std::string_view headerBytes) {
    std::vector<std::pair<std::string, std::string>> headers{{header, std::string(headerBytes)}};
    // With several header folders, each language's header is checked too and compared
    // with the first one found.
    if (settings_.headerFolders.size() > 1) {
      for (const std::string& folder : settings_.headerFolders) {
        const std::string other = search_.FindInFolder(codeFile, folder);
        if (other.empty()) {
          Problem(codeFile + ": no header in " + folder);
          continue;
        }
        if (other == header) continue;
        std::string bytes;
        if (!Read(other, bytes)) continue;
        if (auto f = CompareTranslations(headerBytes, header, bytes)) {
          Problem(other + ":" + std::to_string(f->line) + ": " + f->message);
        }
        headers.emplace_back(other, std::move(bytes));
      }
    }
    // The code's own findings once, however many headers it is checked with.
    std::set<std::pair<size_t, std::string>> codeFindings;
    for (const auto& [name, bytes] : headers) {
      CheckDialogScript(code, bytes, [&](const ScriptFinding& f) {
        const bool inCode = f.file == ScriptFinding::File::Code;
        if (inCode && headers.size() > 1 && !codeFindings.emplace(f.line, f.message).second) {
          return;
        }
        Problem((inCode ? codeFile : name) + ":" + std::to_string(f.line) + ": " + f.message);
      });
    }
    const std::string codeText = InputText(std::string(code), form_);
    const std::string headerText = InputText(std::string(headerBytes), form_);
    const std::vector<std::string> texts = DialogTexts(headerText);
    const DialogMerge merge(codeText, texts, ReferenceNameOf(headerText));
    Count(texts.size(), merge);
  }

  void Count(size_t texts, const DialogMerge& merge) {
    ++pairs_;
    texts_ += texts;
    replaced_ += merge.Replaced();
    left_ += merge.Left();
  }

  void Merge(const Job& job, std::string code, std::string header) {
    // As the window does it: each file as a pane takes it, then the merge. With CR LF
    // breaks the merged pane would normalise the result again, which changes nothing:
    // both texts are normalised and every insertion stands between double quotes, so
    // no CR LF pair is ever split or formed.
    const std::string codeText = InputText(std::move(code), form_);
    const std::string headerText = InputText(std::move(header), form_);
    const std::vector<std::string> texts = DialogTexts(headerText);
    const DialogMerge merge(codeText, texts, ReferenceNameOf(headerText));
    // Texts that refer to later texts can multiply the result beyond any memory; its
    // length is known before anything is built.
    if (merge.Length() > kMaxMergedBytes) {
      Error(job.code + ": the merged text would be larger than 1 GiB (dialog texts that " +
            "refer to later texts multiply it)");
      return;
    }
    const MergedText built = merge.Build();
    std::string lf;
    std::string_view merged = built.View();
    if (settings_.lineBreaks == LineBreaks::Lf) merged = lf = WithLfBreaks(merged);

    if (job.output.empty()) {
      if (!WriteOut(merged)) return;
    } else {
      const std::string folder = platform::FolderOf(job.output);
      if (!folder.empty() && !platform::Files().DirectoryExists(folder)) {
        if (const int err = platform::Files().ForceDirectories(folder); err != 0) {
          Error(folder + ": cannot create folder: " + Reason(err));
          return;
        }
      }
      // A folder run syncs each folder once, when all its results are in place.
      const SaveResult result = SaveFileSafely(job.output, merged, clock_.Now(), !folderRun_);
      if (folderRun_) foldersToSync_.emplace(folder, job.output);
      if (!result.ok()) {
        Error(SaveFailureLine(job.output, result));
        return;
      }
    }
    Count(texts.size(), merge);
    bytes_ += merged.size();
  }

  platform::WritableFile& out_;
  std::ostream& err_;
  platform::Clock& clock_;
  ProgressLine progress_;
  MergeSettings settings_;
  TextForm form_;
  HeaderSearch search_;
  std::vector<Job> jobs_;
  bool folderRun_ = false;
  // Absolute code file name -> name as given; absolute result -> its code file; folder
  // written to -> one result in it.
  std::map<std::string, std::string> codesSeen_, outputsSeen_, foldersToSync_;
  std::string outputFolder_, cwd_;
  bool outBroken_ = false;
  std::string outBuffer_;
  size_t pairs_ = 0, texts_ = 0, replaced_ = 0, left_ = 0, bytes_ = 0, notDialogs_ = 0;
  size_t failures_ = 0, problems_ = 0;
};

}  // namespace

const char* MergeToolVersion() {
  return ProgramVersion();
}

int RunMergeTool(const std::vector<std::string>& args, platform::WritableFile& out,
                 std::ostream& err, const MergeToolOptions& options) {
  try {
    return MergeTool(out, err, options).Run(args);
  } catch (const std::exception& e) {
    err << kProgram << ": " << e.what() << "\n" << std::flush;
    return kExitFailure;
  }
}
