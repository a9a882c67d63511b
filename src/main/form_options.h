// What a test (or another host) may put in place of a window's own parts, for every
// window (Qt, Win32). Every part left empty is the window's own.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "main/dialogs.h"
#include "platform/clock.h"

struct FormOptions {
  // The executable whose paths start-up works out; empty for the running one.
  std::string exePath;
  FileDialog* openDialog = nullptr;
  FileDialog* saveDialog = nullptr;
  MessageBoxes* boxes = nullptr;
  platform::Clock* clock = nullptr;
  std::optional<platform::LocaleFormats> formats;
  // Ends the program (Exit); the window's own ends its message loop.
  std::function<void()> terminate;
};
