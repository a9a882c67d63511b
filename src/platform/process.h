// Facts about the running process.
#pragma once

#include <string>

namespace platform {

// The full path of the running executable.
std::string ExecutablePath();

}  // namespace platform
