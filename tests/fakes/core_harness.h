// The window's logic without a window: a TMainCore over five text views, scripted file
// dialogs and boxes and a fixed clock, with what it asks of the window (pages shown,
// hint display installed, termination) counted. The views are in-memory ones unless
// a user names another type (a benchmark puts the Qt view under it).
#pragma once

#include <string>
#include <vector>

#include "fake_platform.h"
#include "main/main_core.h"
#include "main/memory_text_view.h"

template <class View>
struct BasicCoreHarness {
  BasicCoreHarness() = default;
  // Log and merged panes of these capacities (in-memory views).
  explicit BasicCoreHarness(size_t logCapacity, size_t mergedCapacity = kDefaultTextCapacity)
      : logView(logCapacity), mergedView(mergedCapacity) {}
  BasicCoreHarness(const BasicCoreHarness&) = delete;
  BasicCoreHarness& operator=(const BasicCoreHarness&) = delete;

  std::vector<std::string> LogLines() const {
    std::vector<std::string> lines;
    for (size_t i = 0; i < core.m4Log.LineCount(); ++i) lines.push_back(core.m4Log.LineAt(i));
    return lines;
  }

  View logView, codeView, headerView, mergedView, dokuView;
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
};

using CoreHarness = BasicCoreHarness<MemoryTextView>;
