// Entry point of the Windows window program: the one main window and its message
// loop. The program answers --help and --version in a message box, without a window;
// the files other arguments name are loaded once the window is shown.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "main/program_info.h"
#include "platform/process.h"
#include "platform/wide_win.h"
#include "window/win32/main_form.h"
#include "window/win32/message_loop.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  const std::vector<std::string> args = platform::CommandLineArguments(0, nullptr);
  if (const std::optional<std::string> answer = WindowCommandLineAnswer(args)) {
    MessageBoxW(nullptr, platform::win::Wide(*answer).c_str(), L"vaskarel",
                MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  // Building the window runs the start-up sequence.
  TMainForm form;
  form.Show(showCommand);
  form.OpenFileArguments(args);
  return RunMessageLoop(form);
}
