// A TMainCore for the start-up and configuration tests (the core harness of
// tests/fakes) with a captured (or missing) standard output and the process's current
// directory put back afterwards; temporary folders stand in for the program's directory.
#pragma once

#include <cctype>
#include <string>
#include <vector>

#include "fakes/core_harness.h"
#include "fakes/fake_files.h"
#include "fakes/temp_dir.h"
#include "platform/files.h"

namespace startup_test {

// ASCII lower case, to spell out the expected lower-cased paths independently.
inline std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The process around a start-up: the current directory put back afterwards, and the
// real disk with standard output captured in files.standardOutput unless a test sets
// files.noStandardOutput.
struct StartupProcess {
  CurrentDirectoryGuard cwdGuard;
  FaultyFileSystem files;
  platform::ScopedFileSystem scopedFiles{files};

  StartupProcess() { files.captureStandardOutput = true; }
};

// The process is set up before the core and put back after it is gone.
struct StartupHarness : StartupProcess, CoreHarness {
  using CoreHarness::CoreHarness;
};

// The start line for FakeClock's time with TestFormats().
inline const std::string kStartLine = "05.07.2023 09:03:07 Vaskarel started";

}  // namespace startup_test
