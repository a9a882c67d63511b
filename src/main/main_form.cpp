#include "main/main_form.h"

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
  setObjectName("MainForm");
  setWindowTitle("Merge dialog strings");
  resize(640, 480);
}

TMainForm::~TMainForm() = default;
