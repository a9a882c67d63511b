// What the program says about itself: its version, its desktop id, and the answers of
// the window program to --help and --version, which it gives on standard output
// without opening a window (and so without needing a display); and which of its
// arguments name files to open.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/version.h"

// The id under which the desktop knows the program: its .desktop file, its icon and
// its AppStream metainfo are named after it.
inline constexpr char kDesktopId[] = "org.vaskarel.Vaskarel";

// The text the window program prints for its arguments (without the program name):
// the help for -h or --help, the version for --version, whichever comes first before
// any "--". nullopt for anything else: the window opens with the files they name.
std::optional<std::string> WindowCommandLineAnswer(const std::vector<std::string>& args);

// The files the window program's arguments name, in order: every argument but the
// options, which begin with "-" and come before a "--" (which is no file either).
std::vector<std::string> WindowFileArguments(const std::vector<std::string>& args);

// True for the name of a header file: its extension is ".h", in either letter case.
bool IsHeaderFileName(std::string_view name);
