// Entry point of the window program: the application, its one main window and the
// message loop. The program takes no command-line arguments; any given are ignored.
#include <QApplication>
#include <QString>
#include <clocale>

#include "main/main_core.h"
#include "main/startup.h"
#include "main/window/main_form.h"
#include "platform/process.h"

int main(int argc, char* argv[]) {
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
  QApplication::setApplicationName(QString::fromLocal8Bit(title));

  // Building the window runs the start-up sequence.
  TMainForm form;
  form.show();
  return QApplication::exec();
}
