// Writing a result file so that its name never shows a half-written file: the bytes go
// to a temporary file beside it and are made durable first; then an existing file of
// that name is renamed to its backup name, as the window's save does, and the
// temporary file is renamed into place.
#pragma once

#include <string>
#include <string_view>

#include "platform/clock.h"

struct OutputResult {
  bool ok = false;
  std::string backup;  // the backup name used, empty when no file was replaced
  std::string error;   // one line naming the target and the reason, when not ok
};

// On failure the target keeps its old content, or, when the failure came after the
// backup rename, the old content stays under the backup name (as after a failed save
// in the window), and no temporary file is left behind.
// syncFolder: whether the folder is synced at the end, so that the rename is durable; a
// caller writing many files into one folder may sync it once when it is done.
OutputResult WriteFileSafely(const std::string& target, std::string_view bytes,
                             platform::Clock& clock, bool syncFolder = true);
