// The common open and save dialogs and the message boxes of Windows, behind the
// interfaces the logic uses (main/dialogs.h).
#pragma once

#include <windows.h>

#include <string>

#include "main/dialogs.h"

namespace win32ui {

// A filter "label|pattern|label|pattern" as the common dialogs take it: each part
// ended by a NUL and one more NUL at the end.
std::wstring DialogFilter(const std::string& filter);

class Win32FileDialog : public FileDialog {
 public:
  enum class Mode { Open, Save };
  Win32FileDialog(HWND owner, Mode mode) : owner_(owner), mode_(mode) {}

  // The path typed must exist (Open); no read-only box; no question before replacing
  // a file (Save); resizable; the current folder is left as it was.
  DWORD Flags() const;
  bool Execute() override;

 private:
  HWND owner_;
  Mode mode_;
};

class Win32MessageBoxes : public MessageBoxes {
 public:
  explicit Win32MessageBoxes(HWND owner) : owner_(owner) {}

  void ShowError(const std::string& caption, const std::string& message) override;
  bool ConfirmYesNo(const std::string& caption, const std::string& text) override;

 private:
  HWND owner_;
};

}  // namespace win32ui
