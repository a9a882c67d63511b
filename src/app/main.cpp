// Entry point of the window program: the application, its one main window and the
// message loop. The program takes no command-line arguments.
#include <QApplication>

#include "main/main_form.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  TMainForm form;
  form.show();
  return app.exec();
}
