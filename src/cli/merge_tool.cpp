// vaskarel-merge: the command line, the collection of the scripts to work on, and one
// run over them. A script is merged exactly as the window merges it: both files taken
// as a pane takes them, the same merge, the result normalised as the merged pane does
// it and written byte for byte.
#include "cli/merge_tool.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <map>
#include <optional>
#include <ostream>
#include <system_error>

#include "_4str32/exceptions.h"
#include "cli/output_file.h"
#include "cli/progress.h"
#include "main/merge.h"
#include "main/merge_check.h"
#include "main/source_files.h"
#include "main/text_pane.h"

#ifndef VASKAREL_VERSION
#define VASKAREL_VERSION "unknown"
#endif

namespace {

constexpr std::string_view kProgram = "vaskarel-merge";

constexpr std::string_view kUsage =
    R"(Usage: vaskarel-merge [OPTION]... CODE [HEADER] [-o OUT]
       vaskarel-merge [OPTION]... -o OUTDIR PATH...
       vaskarel-merge --check [OPTION]... PATH...

Merges dialog scripts: every reference DLG_TEXT[n] in a code file is replaced by
dialog text n, the n-th double-quoted literal of its header file (counted from 0),
in double quotes. The result is byte for byte what the window's Merge files and
Save merged file give: line breaks become CR LF, and a file is read only up to a
NUL byte.

  CODE [HEADER]       merge one script; the header is the file beside CODE with
                      the extension .h (letter case ignored) unless HEADER is given
  -o, --output=OUT    write the result to OUT instead of standard output; an
                      existing OUT is first renamed to OUT.yyyy-mm-dd-hh-nn-ss
                      (with .1 ... .99 behind when that name is taken); when OUT
                      is a folder, the result is written into it under the name
                      of CODE
  PATH...             folders, searched recursively for code files (*.c, any
                      letter case) with a header beside them, or code files;
                      each result goes under OUTDIR in the same relative layout
                      (folders are created); code files without a header are
                      reported and skipped
      --check         write nothing; report each problem the merge passes over
                      in silence as FILE:LINE: MESSAGE on standard output:
                      references without a dialog text, dialog texts no reference
                      uses, an odd number of double quotes, double quotes outside
                      the literals (comments, escapes) that shift later texts,
                      references in lower case, with blanks or a leading zero
  -q, --quiet         print no notes, progress or summary; errors and findings only
  -h, --help          show this help and exit
      --version       show the version and exit

A result is never half-written under its name: it is written beside it under a
temporary name and renamed into place once it is complete.

Exit status: 0 done, 1 problems found by --check, 2 failures (a file that cannot be
read or written, a folder that cannot be created, a wrong command line).

Examples:
  vaskarel-merge dialog.c -o merged/dialog.c
  vaskarel-merge dialog.c dialog.h > dialog.merged.c
  vaskarel-merge -o build/scripts scripts
  vaskarel-merge --check scripts
)";

// The largest merged text the tool builds.
constexpr size_t kMaxMergedBytes = size_t{1} << 30;

std::string Reason(int err) {
  return std::generic_category().message(err);
}

std::string Plural(size_t n, std::string_view one, std::string_view many) {
  return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

// The text as a pane holds it. Most files already have CR LF breaks and no NUL; they
// are taken as they are, which spares a copy of a large file.
std::string AsPaneText(std::string bytes) {
  const std::string_view t = bytes;
  bool normal = t.find('\0') == std::string_view::npos;
  size_t lineFeeds = 0;
  for (size_t p = t.find('\n'); normal && p != std::string_view::npos; p = t.find('\n', p + 1)) {
    normal = p > 0 && t[p - 1] == '\r';
    ++lineFeeds;
  }
  if (normal && static_cast<size_t>(std::count(t.begin(), t.end(), '\r')) == lineFeeds) {
    return bytes;
  }
  return NormalizeLineBreaks(t);
}

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsCodeFileName(const std::string& name) {
  return name.size() >= 2 && name[name.size() - 2] == '.' &&
         (name.back() == 'c' || name.back() == 'C');
}

struct Settings {
  bool check = false, quiet = false, help = false, version = false;
  std::optional<std::string> output;
  std::vector<std::string> operands;
};

// Parses the command line; returns an error text for a wrong one.
std::optional<std::string> ParseArguments(const std::vector<std::string>& args, Settings& s) {
  bool optionsEnd = false;
  auto setOutput = [&](const std::string& value) -> std::optional<std::string> {
    if (s.output) return "-o given more than once";
    if (value.empty()) return "-o needs a file or folder name";
    s.output = value;
    return std::nullopt;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::optional<std::string> error;
    if (optionsEnd || a.size() < 2 || a[0] != '-') {
      s.operands.push_back(a);
    } else if (a == "--") {
      optionsEnd = true;
    } else if (a == "-h" || a == "--help") {
      s.help = true;
    } else if (a == "--version") {
      s.version = true;
    } else if (a == "--check") {
      s.check = true;
    } else if (a == "-q" || a == "--quiet") {
      s.quiet = true;
    } else if (a == "-o" || a == "--output") {
      if (i + 1 == args.size()) return "option " + a + " needs a file or folder name";
      error = setOutput(args[++i]);
    } else if (a.starts_with("--output=")) {
      error = setOutput(a.substr(9));
    } else if (a.starts_with("-o")) {
      error = setOutput(a.substr(2));
    } else {
      return "unknown option '" + a + "'";
    }
    if (error) return error;
  }
  return std::nullopt;
}

// One script to work on. An empty header: none was found beside the code file; an
// empty output: standard output (or nothing, for --check).
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
    if (auto error = ParseArguments(args, settings_)) return UsageError(*error);
    if (settings_.help) return WriteOut(kUsage) ? kExitDone : kExitFailure;
    if (settings_.version) {
      return WriteOut(std::string(kProgram) + " " + MergeToolVersion() + "\n") ? kExitDone
                                                                               : kExitFailure;
    }
    if (settings_.operands.empty()) return UsageError("no code file given");
    if (settings_.quiet) progress_.SetEnabled(false);

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
    }
    if (!jobs_.empty()) progress_.Update(jobs_.size(), jobs_.size());
    SyncFolders();
    progress_.Clear();
    if (!settings_.quiet) err_ << kProgram << ": " << Summary() << "\n" << std::flush;
    if (failures_ > 0) return kExitFailure;
    return findings_ > 0 ? kExitProblemsFound : kExitDone;
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

  void Note(const std::string& message) {
    if (settings_.quiet) return;
    progress_.Clear();
    err_ << kProgram << ": " << message << "\n" << std::flush;
  }

  // Writes to the output stream; its first failure is reported, later writes are dropped.
  bool WriteOut(std::string_view bytes) {
    if (outBroken_) return false;
    if (const int err = out_.Write(bytes); err != 0) {
      outBroken_ = true;
      Error("standard output: cannot write: " + Reason(err));
      return false;
    }
    return true;
  }

  bool Read(const std::string& path, std::string& bytes) {
    if (const int err = platform::Files().ReadWholeFile(path, bytes); err != 0) {
      Error(path + ": cannot read: " + Reason(err));
      return false;
    }
    return true;
  }

  std::string Summary() const {
    std::string s = Plural(pairs_, "pair", "pairs") +
                    (settings_.check ? " checked, " : " merged, ") +
                    Plural(texts_, "text", "texts");
    if (!settings_.check) s += ", " + Plural(bytes_, "byte", "bytes") + " written";
    if (skipped_ > 0) s += ", " + std::to_string(skipped_) + " skipped without header";
    return s + ", " + Plural(failures_ + findings_, "problem", "problems");
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
    job.header =
        settings_.operands.size() == 2 ? settings_.operands[1] : FindHeaderFileOf(job.code);
    if (!settings_.check && settings_.output) {
      // An existing folder, or one written as a folder, takes the code file's name.
      const std::string& output = *settings_.output;
      job.output = output.back() == '/' || platform::Files().DirectoryExists(output)
                       ? Join(output, BaseName(job.code))
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
        AddCodeFile(operand, BaseName(operand));
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
      const std::string path = Join(folder, entry.name);
      const std::string rel = relative.empty() ? entry.name : relative + "/" + entry.name;
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
    Job job{code, FindHeaderFileOf(code), ""};
    if (job.header.empty()) {
      ++skipped_;
      Note(code + ": no header file " + BaseName(HeaderFileNameOf(code)) + " beside it; skipped");
      return;
    }
    if (!settings_.check) {
      job.output = Join(*settings_.output, relative);
      auto [it, fresh] = outputsSeen_.emplace(Absolute(job.output), code);
      if (!fresh) {
        Error(code + ": skipped: its result " + job.output + " would replace that of " +
              it->second);
        return;
      }
    }
    jobs_.push_back(std::move(job));
  }

  // The absolute path with "." and ".." resolved by name, for comparing paths.
  std::string Absolute(const std::string& path) {
    if (cwd_.empty()) cwd_ = platform::Files().CurrentDirectory();
    const std::string full = !path.empty() && path[0] == '/' ? path : cwd_ + "/" + path;
    std::vector<std::string> parts;
    size_t pos = 0;
    while (pos <= full.size()) {
      size_t end = full.find('/', pos);
      if (end == std::string::npos) end = full.size();
      const std::string part = full.substr(pos, end - pos);
      if (part == "..") {
        if (!parts.empty()) parts.pop_back();
      } else if (!part.empty() && part != ".") {
        parts.push_back(part);
      }
      pos = end + 1;
    }
    std::string out;
    for (const std::string& part : parts) out += "/" + part;
    return out.empty() ? "/" : out;
  }

  void RunJob(const Job& job) {
    try {
      std::string code, header;
      if (!Read(job.code, code)) return;
      if (job.header.empty()) {
        Error(job.code + ": no header file " + HeaderFileNameOf(job.code) + " beside it");
        return;
      }
      if (!Read(job.header, header)) return;
      if (settings_.check) {
        Check(job, code, header);
      } else {
        Merge(job, std::move(code), std::move(header));
      }
    } catch (const std::exception& e) {
      Error(job.code + ": " + e.what());
    }
  }

  void Check(const Job& job, std::string_view code, std::string_view header) {
    const ScriptCheck check = CheckDialogScript(code, header);
    std::string lines;
    for (const ScriptFinding& f : check.findings) {
      lines += (f.file == ScriptFinding::File::Header ? job.header : job.code) + ":" +
               std::to_string(f.line) + ": " + f.message + "\n";
    }
    WriteOut(lines);
    ++pairs_;
    texts_ += check.textCount;
    findings_ += check.findings.size();
  }

  void Merge(const Job& job, std::string code, std::string header) {
    // As the window does it: each file as a pane takes it, then the merge.
    const std::string codeText = AsPaneText(std::move(code));
    const std::string headerText = AsPaneText(std::move(header));
    const std::vector<std::string> texts = DialogTexts(headerText);
    // Texts that refer to later texts can multiply the result beyond any memory; its
    // length is known before anything is built. The merged pane would normalise the
    // result again, which changes nothing: both texts are normalised and every insertion
    // stands between double quotes, so no CR LF pair is ever split or formed.
    std::optional<MergedText> result =
        MergeTextsWithin(codeText, texts, kMaxMergedBytes, ReferenceNameOf(headerText));
    if (!result) {
      Error(job.code + ": the merged text would be larger than 1 GiB (dialog texts that " +
            "refer to later texts multiply it)");
      return;
    }
    const std::string_view merged = result->View();

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
      const OutputResult result = WriteFileSafely(job.output, merged, clock_, !folderRun_);
      if (folderRun_) foldersToSync_.emplace(folder, job.output);
      if (!result.ok) {
        Error(result.error);
        return;
      }
    }
    ++pairs_;
    texts_ += texts.size();
    bytes_ += merged.size();
  }

  platform::WritableFile& out_;
  std::ostream& err_;
  platform::Clock& clock_;
  ProgressLine progress_;
  Settings settings_;
  std::vector<Job> jobs_;
  bool folderRun_ = false;
  // Absolute code file name -> name as given; absolute result -> its code file; folder
  // written to -> one result in it.
  std::map<std::string, std::string> codesSeen_, outputsSeen_, foldersToSync_;
  std::string outputFolder_, cwd_;
  bool outBroken_ = false;
  size_t pairs_ = 0, texts_ = 0, bytes_ = 0, skipped_ = 0, failures_ = 0, findings_ = 0;
};

}  // namespace

const char* MergeToolVersion() {
  return VASKAREL_VERSION;
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
