// vaskarel-merge: the merge of the window run from the command line, for one script, for
// whole folders of scripts, and as a check that writes nothing. Everything runs in
// process through RunMergeTool, so that tests can call it with their own output, clock
// and file system; main() only hands in the process's streams.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/files.h"

// Exit statuses.
inline constexpr int kExitDone = 0;
inline constexpr int kExitProblemsFound = 1;  // findings of --check, dialogs without a header
inline constexpr int kExitFailure = 2;        // a file could not be read or written, bad usage

struct MergeToolOptions {
  // Whether the error stream is a terminal: then long folder runs show a progress bar.
  bool errIsTerminal = false;
  // The clock whose local time names backups; the system clock when null.
  platform::Clock* clock = nullptr;
  // Seconds since the run began, for the progress bar; a steady clock when empty.
  std::function<double()> elapsedSeconds;
};

// The version shown by --version.
const char* MergeToolVersion();

// Runs the tool on the arguments (without the program name). Merged text and --check
// findings go to out, messages, progress and the summary to err. Returns the exit
// status. Never throws.
int RunMergeTool(const std::vector<std::string>& args, platform::WritableFile& out,
                 std::ostream& err, const MergeToolOptions& options = {});
