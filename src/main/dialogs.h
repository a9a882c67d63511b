// The window system's file dialogs and message boxes, as small interfaces. The
// window program uses the Qt implementations; tests use scripted fakes.
#pragma once

#include <string>

// A file open or save dialog that keeps its settings between uses.
class FileDialog {
 public:
  virtual ~FileDialog() = default;

  // "label|pattern|label|pattern...", the labels shown exactly as written.
  void SetFilter(const std::string& filter) { filter_ = filter; }
  const std::string& Filter() const { return filter_; }
  void SetInitialDir(const std::string& dir) { initialDir_ = dir; }
  const std::string& InitialDir() const { return initialDir_; }
  // The proposed file name before Execute, the chosen full name after OK.
  void SetFileName(const std::string& name) { fileName_ = name; }
  const std::string& FileName() const { return fileName_; }
  // Added by the dialog to a name typed without extension ("c"); empty for none.
  void SetDefaultExt(const std::string& ext) { defaultExt_ = ext; }
  const std::string& DefaultExt() const { return defaultExt_; }

  // Shows the dialog modally. True on OK, with FileName() the chosen full name;
  // false on Cancel, with nothing changed.
  virtual bool Execute() = 0;

 protected:
  std::string filter_, initialDir_, fileName_, defaultExt_;
};

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // An error box with an OK button and an error icon.
  virtual void ShowError(const std::string& caption, const std::string& message) = 0;
  // A confirmation box with a question icon and the buttons "&Yes" (default) and
  // "&No" (also Escape). True for Yes; No or closing the box is false.
  virtual bool ConfirmYesNo(const std::string& caption, const std::string& text) = 0;
};
