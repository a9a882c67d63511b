// The text view of the Windows window: a multi-line EDIT control that shows the bytes
// of one text pane. The view's bytes are the store of the text and the control only
// shows them: every TextView operation works on the bytes. A view whose control is
// not shown (its page hidden) keeps just its bytes and fills the control when it is
// first shown; text appended to it goes in once the command that appends it ends. Each
// line is shown in its own encoding (main/display_encoding.h); a line
// the user edits keeps the encoding it was shown in, and after an edit the bytes are
// read back from the control once, when next asked for.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "main/stored_text_view.h"
#include "platform/encoding.h"

namespace win32ui {

class Win32TextView : public StoredTextView {
 public:
  // edit: a multi-line EDIT control; the view takes its notifications through
  // OnControlChanged and fills it as it is shown.
  explicit Win32TextView(HWND edit, size_t capacity = kDefaultTextCapacity);

  HWND Control() const { return edit_; }

  void SetText(std::string_view text) override;
  void Append(std::string_view text) override;

  // The control's page was shown: a control not yet filled is filled now.
  void Shown();
  // Puts text appended since the last time into the control. Appending only records
  // the text, so that a command that logs many lines updates the control once; the
  // window calls this after each command and before the control handles any input.
  void FlushAppended();
  // Whether the control holds the whole text.
  bool ControlFilled() const { return !stale_; }
  // The control reported a change (EN_CHANGE); one the view made itself is ignored.
  void OnControlChanged();
  // The encoding the control shows line i in (lines as the control holds them).
  platform::TextEncoding LineEncoding(size_t i) const;

 private:
  bool Visible() const;
  void Fill();
  void AppendToControl(std::string_view text, bool afterPartialLine);
  void ReadBack() const override;

  HWND edit_;
  // The control does not show the bytes yet.
  bool stale_ = false;
  bool ownChange_ = false;
  // The bytes from here on are appended but not in the control yet.
  size_t appendedFrom_ = std::string::npos;
  // What the control shows, as last filled or read back, and the encoding of each of
  // its pieces between CR LF pairs.
  mutable std::wstring shown_;
  mutable std::vector<platform::TextEncoding> encodings_;
};

}  // namespace win32ui
