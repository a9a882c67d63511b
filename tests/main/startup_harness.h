// A TMainCore for the start-up and configuration tests (the core harness of
// tests/fakes) with a captured (or missing) standard output, the process's current
// directory put back afterwards, and an environment of its own whose XDG folders lie
// in a temporary folder; temporary folders stand in for the program's directory.
#pragma once

#include <string>
#include <vector>

#include "fakes/core_harness.h"
#include "fakes/fake_files.h"
#include "fakes/temp_dir.h"
#include "platform/files.h"

namespace startup_test {

// The process around a start-up: the current directory put back afterwards, the real
// disk with standard output captured in files.standardOutput unless a test sets
// files.noStandardOutput, and HOME and XDG_CONFIG_DIRS in the folder xdg (nothing in
// it yet), so that no file of the machine's is found.
struct StartupProcess {
  CurrentDirectoryGuard cwdGuard;
  FaultyFileSystem files;
  platform::ScopedFileSystem scopedFiles{files};
  TempDir xdg{"vk_xdg"};
  FakeEnvironment env;
  platform::ScopedEnvironment scopedEnv{env};

  StartupProcess() {
    files.captureStandardOutput = true;
    env.variables = {{"HOME", xdg / "home"}, {"XDG_CONFIG_DIRS", xdg / "etc/xdg"}};
  }
};

// The process is set up before the core and put back after it is gone.
struct StartupHarness : StartupProcess, CoreHarness {
  using CoreHarness::CoreHarness;
};

// The start line for FakeClock's time with TestFormats().
inline const std::string kStartLine = "05.07.2023 09:03:07 Vaskarel started";

}  // namespace startup_test
