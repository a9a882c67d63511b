// The parts a window started by a test or a benchmark is given in place of its own:
// the program's path, scripted dialogs and boxes, a clock and the test's locale
// formats. Exit does nothing unless the caller says otherwise.
#pragma once

#include <string>

#include "fake_platform.h"
#include "main/form_options.h"

// Options: FormOptions or a window's own options built on it.
template <class Options>
Options FakeFormOptions(const std::string& exePath, FileDialog& open, FileDialog& save,
                        MessageBoxes& boxes, platform::Clock& clock) {
  Options options;
  options.exePath = exePath;
  options.openDialog = &open;
  options.saveDialog = &save;
  options.boxes = &boxes;
  options.clock = &clock;
  options.formats = TestFormats();
  options.terminate = [] {};
  return options;
}
