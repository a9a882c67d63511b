// The log mirror: every change of the log pane copies the pane's last line to the log
// file, so the file holds each line at the moment it was written.
#include <exception>
#include <string>

#include "_4str32/_4str32.h"
#include "main/main_core.h"

void TMainCore::OnLogChange() {
  const size_t lines = m4Log.LineCount();
  std::string line = lines > 0 ? m4Log.LineAt(lines - 1) : std::string();
  line += "\r\n";
  try {
    AppendTextToFile(logFile, line);
  } catch (const std::exception& e) {
    // The line stays in the pane and the command that added it goes on; the next line
    // tries the file anew. A log file that keeps failing (a merge of thousands of texts)
    // would otherwise open one modal box per line: a command shows the first failure
    // only. Edits the user types into the log pane outside a command count with the
    // last command, so typing never opens a box per keystroke either.
    if (logFailureShown_) return;
    logFailureShown_ = true;
    Boxes().ShowError(applicationTitle, ErrorBoxText(e.what()));
  }
}
