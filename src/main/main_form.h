// TMainForm: the program's one window. It lays out the tool bar, the pages with
// their text panes and the status bar, and binds every action to a handler that
// calls the logic of TMainCore inside its failure guard.
#pragma once

#include <QMainWindow>

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;
};
