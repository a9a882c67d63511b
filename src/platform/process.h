// Facts about the running process.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The full path of the running executable.
std::string ExecutablePath();

// The program's arguments after its name, as main received them; on Windows taken from
// the wide command line as UTF-8, so that names outside the ANSI code page come whole.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Puts /dev/null on each of the standard descriptors 0, 1 and 2 that the program was
// started without, before anything else opens a file: otherwise the next file or socket
// opened would get that number, and the log meant for standard output would be written
// into it. Standard output is reserved read-only, so it still counts as unusable.
void ReserveStandardDescriptors();

// Makes a write to a closed pipe fail with an error instead of ending the process, so
// that a log going to a reader that has gone away is reported like any failed write.
void IgnoreBrokenPipe();

// True when the process's standard error is a terminal (progress displays).
bool StandardErrorIsTerminal();

// The number the system gives this process, unique among the running processes.
unsigned long ProcessId();

}  // namespace platform
