// The Qt-free logic of the main window: the text panes, the file dialogs, the program
// paths and flags, and every command the window runs. The window (TMainForm) builds
// the views and dialogs, hands them in here, and calls one method per command inside
// RunCommand, the one failure guard.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "_4str32/_4str32.h"
#include "main/dialogs.h"
#include "main/text_pane.h"
#include "main/text_view.h"
#include "platform/clock.h"

// What the logic needs from the world outside: views, dialogs, boxes, clock, formats
// and two small window hooks.
struct MainServices {
  TextView& logView;
  TextView& codeView;
  TextView& headerView;
  TextView& mergedView;
  TextView& dokuView;
  FileDialog& openDialog;
  FileDialog& saveDialog;
  MessageBoxes& boxes;
  platform::Clock& clock;
  platform::LocaleFormats formats;
  // Makes the page of this index active (start-up shows page 0).
  std::function<void(int)> showPage;
  // Connects the status-bar hint display (OnAppHint).
  std::function<void()> installAppHint;
  // Tells the application to end its message loop.
  std::function<void()> terminate;
};

// The application title for an executable name: cut before the first ".", every
// character after the first lower-cased ("Merge.EXE" -> "Merge").
std::string ApplicationTitleFor(const std::string& executableName);

// The message an error box shows: a "." added when the last character's code is
// above that of ".".
std::string ErrorBoxText(const std::string& message);
// The error box's text for a failure: its message as above, and on a second line what
// failed and why, when the failure tells ("I/O error 103.\n/var/log/v.log: Permission
// denied").
std::string ErrorBoxText(const std::exception& failure);

class TMainCore {
 public:
  explicit TMainCore(MainServices services);
  TMainCore(const TMainCore&) = delete;
  TMainCore& operator=(const TMainCore&) = delete;

  // Panes.
  TextPane m4Log, m4CodeFile, m4HeaderFile, m4MergedFile, m4Doku;

  // Program paths and flags (set by start-up).
  std::string programDir, configFile, docFile, logFile;
  // The current directory when start-up began, before it moved to programDir.
  std::string startDir;
  // Where Load code file looks for a header not found beside the code file (the
  // configuration's HeaderFolders).
  std::vector<std::string> headerFolders;
  bool initialised = false;
  bool configChanged = false;
  std::string applicationTitle = "Vaskarel";

  // Runs one user command inside the failure guard: a failure ends the command and is
  // shown in an error box captioned with the application title. Never throws. The log
  // file is opened once for all the lines the command writes.
  void RunCommand(const std::function<void()>& command);

  // Commands.
  void LoadCodeFile();
  void LoadHeaderFile();
  // What these two do with the file chosen in the open dialog: load it into its pane,
  // log it, and for a code file load the header found for it (beside it, then in the
  // header folders).
  void LoadCodeFileNamed(const std::string& codeFile);
  void LoadHeaderFileNamed(const std::string& headerFile);
  // Loads the files named by the program's arguments (after its name; options left
  // out, see WindowFileArguments) in order, each in a command of its own as Load code
  // file or Load header file loads a chosen file: a header name (*.h) as a header,
  // any other as a code file. Relative names are taken from the folder the program
  // was started in. Called by the window once it is shown, after FormCreate.
  void OpenFileArguments(const std::vector<std::string>& args);
  void SaveMergedFile();
  // Gives the save dialog its filter and default extension (SaveMergedFile does it
  // before each use; the window may call it when it builds the dialogs).
  void SetUpDialogs();
  void MergeFiles();
  void ReadConfig();
  void WriteConfig();
  // Asks about a changed configuration; the program ends whatever the answer.
  void Exit();

  // Start-up sequence for the executable at exePath (FormCreate). Runs inside the
  // guard: a failure ends it at that step with the error box.
  void FormCreate(const std::string& exePath);

  // Settings edit changed (OnConfigChange); log pane changed (OnLogChange).
  void OnConfigChange();
  void OnLogChange();

  // Writes one activity-log line (AddLine on the log pane).
  void Log(std::string_view line) { m4Log.AddLine(line); }

  FileDialog& OpenDialog() { return services_.openDialog; }
  FileDialog& SaveDialog() { return services_.saveDialog; }
  MessageBoxes& Boxes() { return services_.boxes; }
  platform::Clock& Clock() { return services_.clock; }
  const platform::LocaleFormats& Formats() const { return services_.formats; }
  const MainServices& Services() const { return services_; }

 private:
  // Shows a failure of the log file, once per command.
  void ShowLogFailure(const std::exception& failure);

  MainServices services_;
  // A command shows at most one box for failures of the log file.
  bool logFailureShown_ = false;
  // Commands running (a modal box may run one inside another); while one runs, the log
  // mirror keeps the log file open in commandLog_.
  int commandDepth_ = 0;
  std::unique_ptr<AppendingFile> commandLog_;
};
