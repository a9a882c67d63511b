// Entry point of the window program: the application, its one main window and the
// message loop. The program answers --help and --version without a window; the files
// its other arguments name are loaded once the window is shown.
#include <QApplication>
#include <QString>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "main/main_core.h"
#include "main/program_info.h"
#include "main/startup.h"
#include "platform/process.h"
#include "window/qt/main_form.h"
#include "window/qt/qt_dialogs.h"

int main(int argc, char* argv[]) {
  // Answered before the window system is touched, so no display is needed.
  const std::vector<std::string> args = platform::CommandLineArguments(argc, argv);
  if (const std::optional<std::string> answer = WindowCommandLineAnswer(args)) {
    const bool written = std::fwrite(answer->data(), 1, answer->size(), stdout) == answer->size();
    return written && std::fflush(stdout) == 0 ? 0 : 1;
  }
  // Before the window system opens its connections: a closed standard output must not
  // hand its number to one of them.
  platform::ReserveStandardDescriptors();
  QApplication app(argc, argv);
  // Dates, times and lower-casing follow the user's locale settings.
  std::setlocale(LC_ALL, "");
  // A log going to a standard output whose reader has gone away fails like any write.
  platform::IgnoreBrokenPipe();

  // The application title ("vaskarel"; "Merge.EXE" would give "Merge"), which error
  // boxes carry as their caption. It is not made the display name: the window system
  // would append that to the window's caption.
  const std::string title =
      ApplicationTitleFor(startup::ExecutableName(platform::ExecutablePath()));
  QApplication::setApplicationName(qtui::DisplayString(title));
  // The desktop entry the window belongs to, so that the desktop (on Wayland, where
  // windows carry no icon of their own) shows the program's icon and name.
  QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));

  // Building the window runs the start-up sequence.
  TMainForm form;
  form.show();
  // The files load from the message loop, so that the window stands behind an error
  // box. Qt has taken its own options (-platform, -style ...) out of argv by now.
  const std::vector<std::string> files = platform::CommandLineArguments(argc, argv);
  QTimer::singleShot(0, &form, [&form, &files] { form.OpenFileArguments(files); });
  return QApplication::exec();
}
