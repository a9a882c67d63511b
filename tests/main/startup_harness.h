// A TMainCore for the start-up and configuration tests: in-memory panes, scripted
// dialogs and boxes, a fixed clock, a captured (or missing) standard output, temporary folders
// standing in for the program's directory, and the process's current directory put back afterwards.
#pragma once

#include <cctype>
#include <string>
#include <vector>

#include "fakes/fake_files.h"
#include "fakes/fake_platform.h"
#include "fakes/temp_dir.h"
#include "main/main_core.h"
#include "platform/files.h"
#include "platform/memory_text_view.h"

namespace startup_test {

// ASCII lower case, to spell out the expected lower-cased paths independently.
inline std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

struct CoreHarness {
  CurrentDirectoryGuard cwdGuard;
  // The real disk; standard output captured in files.standardOutput unless a test
  // sets files.noStandardOutput.
  FaultyFileSystem files;
  platform::ScopedFileSystem scopedFiles{files};
  platform::MemoryTextView logView, codeView, headerView, mergedView, dokuView;
  FakeFileDialog openDialog, saveDialog;
  FakeMessageBoxes boxes;
  FakeClock clock;
  std::vector<int> pagesShown;
  int hintInstalls = 0;
  int terminations = 0;
  TMainCore core{MainServices{logView, codeView, headerView, mergedView, dokuView, openDialog,
                              saveDialog, boxes, clock, TestFormats(),
                              [this](int page) { pagesShown.push_back(page); },
                              [this] { ++hintInstalls; }, [this] { ++terminations; }}};

  explicit CoreHarness(size_t logCapacity = platform::kDefaultTextCapacity) : logView(logCapacity) {
    files.captureStandardOutput = true;
  }

  std::vector<std::string> LogLines() const {
    std::vector<std::string> lines;
    for (size_t i = 0; i < core.m4Log.LineCount(); ++i) lines.push_back(core.m4Log.LineAt(i));
    return lines;
  }
};

// The start line for FakeClock's time with TestFormats().
inline const std::string kStartLine = "05.07.2023 09:03:07 Vaskarel started";

}  // namespace startup_test
