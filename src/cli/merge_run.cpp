// One run of vaskarel-merge, and the work on each script. A script is merged exactly
// as the window merges it: the header found as Load code file finds it, both files
// taken as a pane takes them, the same merge, the result written byte for byte as
// Save merged file writes it.
#include <chrono>
#include <exception>
#include <ostream>
#include <set>
#include <tuple>

#include "cli/merge_run.h"
#include "engine/merge.h"
#include "engine/merge_check.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace cli_run {

namespace {

// The largest merged text the tool builds.
constexpr size_t kMaxMergedBytes = size_t{1} << 30;

}  // namespace

MergeRun::MergeRun(platform::WritableFile& out, std::ostream& err, const MergeToolOptions& options)
    : out_(out),
      err_(err),
      clock_(options.clock ? *options.clock : platform::SystemClock()),
      progress_(err, options.errIsTerminal, Elapsed(options)) {}

std::function<double()> MergeRun::Elapsed(const MergeToolOptions& options) {
  if (options.elapsedSeconds) return options.elapsedSeconds;
  const auto start = std::chrono::steady_clock::now();
  return [start] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
}

int MergeRun::Run(const std::vector<std::string>& args) {
  cwd_ = platform::Files().CurrentDirectory();
  if (auto error = ParseMergeArguments(args, cwd_, settings_)) return UsageError(*error);
  if (settings_.help) return WriteNow(MergeToolUsage()) ? kExitDone : kExitFailure;
  if (settings_.version) {
    return WriteNow(std::string(kProgram) + " " + MergeToolVersion() + "\n") ? kExitDone
                                                                             : kExitFailure;
  }
  if (settings_.operands.empty()) return UsageError("no code file given");
  if (settings_.format == FindingFormat::Sarif && !settings_.check) {
    return UsageError("--format=sarif goes with --check");
  }
  findings_.emplace(settings_, cwd_, [this](std::string_view bytes) { WriteOut(bytes); });
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
  CommitResults();
  findings_->Finish();
  FlushOut();
  progress_.Clear();
  if (!settings_.quiet) err_ << kProgram << ": " << Summary() << "\n" << std::flush;
  if (failures_ > 0) return kExitFailure;
  return problems_ > 0 ? kExitProblemsFound : kExitDone;
}

void MergeRun::RunJob(const Job& job) {
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

void MergeRun::NoHeader(const std::string& codeFile, std::string_view code) {
  // A code file without references (a helper, a copy) is no dialog.
  if (!HoldsDialogReferences(InputText(std::string(code), form_))) {
    ++notDialogs_;
    return;
  }
  std::string places;
  for (const std::string& place : search_.PlacesFor(codeFile)) {
    places += (places.empty() ? "" : ", ") + place;
  }
  Problem(
      {FindingKind::NoHeader, codeFile, 1, 1, "no header found (looked in: " + places + ")", ""});
}

std::string MergeRun::FolderOfHeader(const std::string& codeFile, const std::string& header) {
  for (const std::string& folder : settings_.headerFolders) {
    if (search_.FindInFolder(codeFile, folder) == header) return folder;
  }
  return platform::FolderOf(codeFile);
}

void MergeRun::Check(const std::string& codeFile, std::string_view code, const std::string& header,
                     std::string_view headerBytes) {
  struct Language {
    std::string file, folder, bytes;
  };
  // The header the merge takes is the reference: the one beside the code, else that of
  // the first header folder that has one.
  std::vector<Language> headers{{header, "", std::string(headerBytes)}};
  const FindingKindSet& checks = settings_.findings;
  // With several header folders, each language's header is checked too and compared
  // with the reference.
  if (settings_.headerFolders.size() > 1) {
    for (const std::string& folder : settings_.headerFolders) {
      const std::string other = search_.FindInFolder(codeFile, folder);
      if (other.empty()) {
        Problem({FindingKind::NoLanguageHeader, codeFile, 1, 1, "no header in " + folder, folder});
        continue;
      }
      if (other == header) {
        headers[0].folder = folder;
        continue;
      }
      std::string bytes;
      if (!Read(other, bytes)) continue;
      if (auto f = CompareTranslations(headerBytes, header, bytes)) {
        Problem({f->kind, other, f->line, f->column, f->message, folder});
      }
      CompareTranslatedTexts(headerBytes, header, bytes, checks, [&](const ScriptFinding& f) {
        Problem({f.kind, other, f.line, f.column, f.message, folder});
      });
      headers.push_back({other, folder, std::move(bytes)});
    }
  }
  if (headers[0].folder.empty()) headers[0].folder = FolderOfHeader(codeFile, header);
  // The code's own findings once, however many headers it is checked with.
  std::set<std::tuple<size_t, size_t, std::string>> codeFindings;
  for (const Language& language : headers) {
    CheckDialogScript(
        code, language.bytes,
        [&](const ScriptFinding& f) {
          const bool inCode = f.file == ScriptFinding::File::Code;
          if (inCode && headers.size() > 1 &&
              !codeFindings.emplace(f.line, f.column, f.message).second) {
            return;
          }
          // Checked against several languages, a code finding that depends on the header
          // names the one it was found with.
          std::string message = f.message;
          constexpr std::string_view kTheHeader = "; the header has ";
          if (const size_t at = message.find(kTheHeader);
              inCode && headers.size() > 1 && at != std::string::npos) {
            message.replace(at, kTheHeader.size(), "; " + language.file + " has ");
          }
          Problem({f.kind, inCode ? codeFile : language.file, f.line, f.column, std::move(message),
                   language.folder});
        },
        checks);
  }
  const std::string codeText = InputText(std::string(code), form_);
  const std::string headerText = InputText(std::string(headerBytes), form_);
  const std::vector<std::string> texts = DialogTexts(headerText);
  const DialogMerge merge(codeText, texts, ReferenceNameOf(headerText));
  Count(texts.size(), merge.Replaced(), merge.Left());
}

void MergeRun::Merge(const Job& job, std::string code, std::string header) {
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
      if (const int err = platform::Files().ForceDirectories(folder, platform::kSharedFolderMode);
          err != 0) {
        Error(folder + ": cannot create folder: " + platform::ErrnoMessage(err));
        return;
      }
    }
    if (folderRun_) {
      // Written under its new name now; made durable with all the others and put in
      // place once every result is written (CommitResults).
      PreparedSave save = PrepareSave(job.output, merged, false);
      if (!save.result.ok()) {
        Error(SaveFailureLine(job.output, save.result));
        return;
      }
      pending_.push_back(
          {std::move(save), texts.size(), merge.Replaced(), merge.Left(), merged.size()});
      return;
    }
    const SaveResult result = SaveFileSafely(job.output, merged, clock_.Now());
    if (!result.ok()) {
      Error(SaveFailureLine(job.output, result));
      return;
    }
  }
  Count(texts.size(), merge.Replaced(), merge.Left(), merged.size());
}

}  // namespace cli_run
