// What the program says about itself: its version, its desktop id, and the answers of
// the window program to --help and --version, which it gives on standard output
// without opening a window (and so without needing a display).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/version.h"

// The id under which the desktop knows the program: its .desktop file, its icon and
// its AppStream metainfo are named after it.
inline constexpr char kDesktopId[] = "org.vaskarel.Vaskarel";

// The text the window program prints for its arguments (without the program name):
// the help for -h or --help, the version for --version, whichever comes first.
// nullopt for anything else, which the window ignores as it opens.
std::optional<std::string> WindowCommandLineAnswer(const std::vector<std::string>& args);
