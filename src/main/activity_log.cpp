// The log mirror: every change of the log pane copies the pane's last line to the log
// file, so the file holds each line at the moment it was written.
#include <exception>
#include <memory>
#include <string>

#include "_4str32/_4str32.h"
#include "main/main_core.h"

void TMainCore::OnLogChange() {
  const size_t lines = m4Log.LineCount();
  std::string line = lines > 0 ? m4Log.LineAt(lines - 1) : std::string();
  line += "\r\n";
  try {
    // A command's lines share one open of the file (a merge writes a line per dialog
    // text); an edit typed into the pane outside a command opens it for its line.
    if (commandDepth_ == 0) {
      AppendTextToFile(logFile, line);
      return;
    }
    if (!commandLog_) commandLog_ = std::make_unique<AppendingFile>(logFile);
    commandLog_->Append(line);
  } catch (const std::exception& e) {
    // The line stays in the pane and the command that added it goes on; the next line
    // tries the file anew.
    ShowLogFailure(e);
  }
}

void TMainCore::ShowLogFailure(const std::exception& failure) {
  // A log file that keeps failing (a merge of thousands of texts) would otherwise open
  // one modal box per line: a command shows the first failure only. Edits the user
  // types into the log pane outside a command count with the last command, so typing
  // never opens a box per keystroke either.
  if (logFailureShown_) return;
  logFailureShown_ = true;
  Boxes().ShowError(applicationTitle, ErrorBoxText(failure));
}
