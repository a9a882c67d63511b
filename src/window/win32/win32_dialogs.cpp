#include "window/win32/win32_dialogs.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "platform/wide_win.h"

namespace win32ui {

using platform::win::Utf8;
using platform::win::Wide;

std::wstring DialogFilter(const std::string& filter) {
  std::wstring wide = Wide(filter);
  for (wchar_t& c : wide) {
    if (c == L'|') c = L'\0';
  }
  wide += L'\0';
  return wide + L'\0';
}

DWORD Win32FileDialog::Flags() const {
  DWORD flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (mode_ == Mode::Open) flags |= OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  return flags;
}

bool Win32FileDialog::Execute() {
  const std::wstring filter = DialogFilter(filter_);
  const std::wstring initialDir = Wide(initialDir_);
  const std::wstring defaultExt = Wide(defaultExt_);
  std::vector<wchar_t> file(32768, L'\0');
  const std::wstring proposed = Wide(fileName_);
  proposed.copy(file.data(), std::min(proposed.size(), file.size() - 1));

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner_;
  ofn.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = initialDir_.empty() ? nullptr : initialDir.c_str();
  ofn.lpstrDefExt = defaultExt_.empty() ? nullptr : defaultExt.c_str();
  ofn.Flags = Flags();
  const BOOL chosen = mode_ == Mode::Open ? GetOpenFileNameW(&ofn) : GetSaveFileNameW(&ofn);
  if (!chosen) return false;
  fileName_ = Utf8(file.data());
  return true;
}

void Win32MessageBoxes::ShowError(const std::string& caption, const std::string& message) {
  MessageBoxW(owner_, Wide(message).c_str(), Wide(caption).c_str(), MB_OK | MB_ICONERROR);
}

bool Win32MessageBoxes::ConfirmYesNo(const std::string& caption, const std::string& text) {
  return MessageBoxW(owner_, Wide(text).c_str(), Wide(caption).c_str(),
                     MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1) == IDYES;
}

}  // namespace win32ui
