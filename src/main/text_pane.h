// A text pane: the store of one text of the window (log, code, header, merged,
// help), standing on a platform text view. Line breaks in a pane are CR LF; no NUL
// is ever part of its text.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "engine/line_breaks.h"
#include "main/text_view.h"

class TextPane {
 public:
  explicit TextPane(TextView& view);

  std::string GetWholeText() const;
  // Notifies OnChange once, unless the normalised text equals the current one.
  // Throws EMemoCapacity (pane unchanged) when the view cannot take it.
  void SetWholeText(std::string_view text);
  // Appends s as the last line (its lone CRs and LFs made CR LF, cut at its first
  // NUL); notifies once. On a full pane the oldest lines are dropped to make room;
  // only a line longer than the whole pane throws EMemoCapacity (pane unchanged).
  void AddLine(std::string_view s);
  // Empties the pane; notifies once when it held a text.
  void ClearText();
  // Throws EFOpenError (pane unchanged) or EMemoCapacity.
  void LoadText(const std::string& fileName);
  // Writes the exact bytes. Throws EFCreateError, or EWriteError when a write, the
  // sync or the close fails; the bytes are durable (fsync) when it returns.
  void SaveText(const std::string& fileName) const;
  size_t LineCount() const;
  // Line i (below LineCount) without its CR LF, at most its first 4096 characters.
  std::string LineAt(size_t i) const;

  void SetOnChange(std::function<void()> handler);
  TextView& View() const { return view_; }

 private:
  void DropOldestLines(size_t room);

  TextView& view_;
  std::function<void()> onChange_;
};
