// The window of the activity-log benchmarks: its logic over views of type View, a
// dialog script of kLogTexts texts in the code and header panes, and its log file
// in a fresh folder.
#pragma once

#include <string>

#include "../tests/fakes/core_harness.h"
#include "../tests/fakes/temp_dir.h"

constexpr int kLogTexts = 10000;

// A header of kLogTexts literals and a code text that refers to each of them once.
struct LogScript {
  std::string header, code;
  LogScript() {
    for (int n = 0; n < kLogTexts; ++n) {
      header += "  \"dialog text number " + std::to_string(n) + ", said by someone\",\r\n";
      code += "  say(DLG_TEXT[" + std::to_string(n) + "]);\r\n";
    }
  }
};

inline const LogScript& TheLogScript() {
  static const LogScript script;
  return script;
}

// mirror: the log pane's changes are appended to the log file.
template <class View>
struct LogBenchWindow : BasicCoreHarness<View> {
  TempDir dir;

  LogBenchWindow(const std::string& folderPrefix, bool mirror) : dir(folderPrefix) {
    TMainCore& core = this->core;
    core.logFile = dir / "vaskarel.log";
    this->openDialog.SetFileName(dir / "dialog.c");
    core.m4CodeFile.SetWholeText(TheLogScript().code);
    core.m4HeaderFile.SetWholeText(TheLogScript().header);
    if (mirror) core.m4Log.SetOnChange([&core] { core.OnLogChange(); });
  }
};
