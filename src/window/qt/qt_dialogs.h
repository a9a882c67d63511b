// The file dialogs and message boxes on Qt Widgets.
#pragma once

#include <string>
#include <vector>

#include "main/dialogs.h"

class QWidget;
class QString;

namespace qtui {

// One entry of a filter text "label|pattern|label|pattern...": the label as shown and
// the file patterns of its pattern part (separated by ";"), as Qt matches them: "*.*",
// which on Windows matches every name, becomes "*".
struct FileFilterItem {
  std::string label;
  std::vector<std::string> patterns;
};
// A trailing label without a pattern is dropped, an empty pattern part matches every
// file, and an empty filter gives no entries.
std::vector<FileFilterItem> ParseFileFilter(const std::string& filter);

// Bytes as a QString for display: valid UTF-8 as UTF-8, anything else in the user's
// legacy code page, so that no byte is lost from sight.
QString DisplayString(const std::string& bytes);

// A modal file open or save dialog (Qt's own widgets, so that the filter labels
// show exactly as written):
// - Open: a typed name of a missing file is accepted, but its folder must exist.
// - Save: no question before an existing file is chosen.
// Both can be resized; nothing is read-only; no title is set, so Qt's default shows.
class QtFileDialog : public FileDialog {
 public:
  enum class Mode { Open, Save };
  QtFileDialog(QWidget* parent, Mode mode);

  bool Execute() override;

 private:
  QWidget* parent_;
  Mode mode_;
};

// Error box and Yes/No confirmation on QMessageBox: over the parent window while that is
// shown, otherwise in the middle of the screen.
class QtMessageBoxes : public MessageBoxes {
 public:
  explicit QtMessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}

  void ShowError(const std::string& caption, const std::string& message) override;
  bool ConfirmYesNo(const std::string& caption, const std::string& text) override;

 private:
  QWidget* parent_;
};

}  // namespace qtui
