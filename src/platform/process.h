// Facts about the running process.
#pragma once

#include <string>

namespace platform {

// The full path of the running executable.
std::string ExecutablePath();

// Makes a write to a closed pipe fail with an error instead of ending the process, so
// that a log going to a reader that has gone away is reported like any failed write.
void IgnoreBrokenPipe();

// True when the process's standard error is a terminal (progress displays).
bool StandardErrorIsTerminal();

}  // namespace platform
