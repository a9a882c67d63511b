// What a window started by a test or a benchmark is given in place of its own parts:
// the program's path in a folder of the caller's, scripted dialogs and boxes, a clock
// and the test's locale formats. Exit does nothing unless the caller says otherwise.
#pragma once

#include "fakes/fake_form_options.h"
#include "fakes/fake_platform.h"
#include "fakes/temp_dir.h"
#include "window/qt/main_form.h"

inline TMainFormOptions FakeWindowOptions(const TempDir& folder, FileDialog& open, FileDialog& save,
                                          MessageBoxes& boxes, platform::Clock& clock) {
  return FakeFormOptions<TMainFormOptions>(folder / "vaskarel", open, save, boxes, clock);
}
