// One run of vaskarel-merge: the collection of the scripts to work on, the work on each
// (merge or check) and the writing of the results and reports. merge_run.cpp holds the
// run and the work on a script, merge_run_collect.cpp the collection, and
// merge_run_output.cpp what goes to the output, the error stream and the disk.
#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/findings_output.h"
#include "cli/merge_tool.h"
#include "cli/options.h"
#include "cli/progress.h"
#include "cli/script_text.h"
#include "engine/header_search.h"
#include "engine/safe_save.h"

namespace cli_run {

inline constexpr std::string_view kProgram = "vaskarel-merge";

// One code file to work on. An empty header: found by the search; an empty output:
// standard output (or nothing, for --check).
struct Job {
  std::string code, header, output;
};

class MergeRun {
 public:
  MergeRun(platform::WritableFile& out, std::ostream& err, const MergeToolOptions& options);
  int Run(const std::vector<std::string>& args);

 private:
  static std::function<double()> Elapsed(const MergeToolOptions& options);

  // Reports (merge_run_output.cpp).
  int UsageError(const std::string& error);
  // A failure: the run goes on, but ends with exit status 2.
  void Error(const std::string& message);
  // A problem: a finding of --check, or a dialog code file without a header.
  void Problem(Finding finding);
  bool WriteOut(std::string_view bytes);
  bool FlushOut();
  bool WriteNow(std::string_view bytes);
  std::string Summary() const;
  void Count(size_t texts, size_t replaced, size_t left, size_t bytes = 0);
  void CommitResults();

  // Inputs and jobs (merge_run_collect.cpp).
  bool Read(const std::string& path, std::string& bytes);
  bool WouldReplaceInput(const Job& job, const std::string& header);
  void CollectOne();
  void CollectFolders();
  void CollectTree(const std::string& folder, const std::string& relative);
  void AddCodeFile(const std::string& code, const std::string& relative);
  std::string Absolute(const std::string& path) const;

  // The work on one script (merge_run.cpp).
  void RunJob(const Job& job);
  void NoHeader(const std::string& codeFile, std::string_view code);
  void Check(const std::string& codeFile, std::string_view code, const std::string& header,
             std::string_view headerBytes);
  // The header folder a header was found in, as given, or the code file's folder.
  std::string FolderOfHeader(const std::string& codeFile, const std::string& header);
  void Merge(const Job& job, std::string code, std::string header);

  // A folder run's result, written under its new name, waiting to be put in place.
  struct Pending {
    PreparedSave save;
    size_t texts, replaced, left, bytes;
  };

  platform::WritableFile& out_;
  std::ostream& err_;
  platform::Clock& clock_;
  ProgressLine progress_;
  MergeSettings settings_;
  TextForm form_;
  HeaderSearch search_;
  std::vector<Job> jobs_;
  std::vector<Pending> pending_;
  bool folderRun_ = false;
  // Absolute code file name -> name as given; absolute result -> its code file.
  std::map<std::string, std::string> codesSeen_, outputsSeen_;
  std::string outputFolder_, cwd_;
  bool outBroken_ = false;
  std::string outBuffer_;
  std::optional<FindingsOutput> findings_;
  size_t pairs_ = 0, texts_ = 0, replaced_ = 0, left_ = 0, bytes_ = 0, notDialogs_ = 0;
  size_t failures_ = 0, problems_ = 0;
};

}  // namespace cli_run
