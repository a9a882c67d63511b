// vaskarel-merge run in process: RunMergeTool hands the arguments to one run.
#include "cli/merge_tool.h"

#include <exception>
#include <ostream>

#include "cli/merge_run.h"
#include "engine/version.h"

const char* MergeToolVersion() {
  return ProgramVersion();
}

int RunMergeTool(const std::vector<std::string>& args, platform::WritableFile& out,
                 std::ostream& err, const MergeToolOptions& options) {
  try {
    return cli_run::MergeRun(out, err, options).Run(args);
  } catch (const std::exception& e) {
    err << cli_run::kProgram << ": " << e.what() << "\n" << std::flush;
    return kExitFailure;
  }
}
