// The application's cursor, from what the window is doing: the wait cursor while a
// command works, else the busy cursor (an arrow with an hourglass) while a pane builds
// its document in the background; while one of the window's file dialogs is open, and
// otherwise, each control shows its own. Each reason is held and released in
// pairs, in any order, so that reasons overlapping in time never take each other's
// cursor away.
#pragma once

#include <array>

class TWindowCursor {
 public:
  enum Reason { kBuilding, kCommand, kDialog, kReasonCount };

  TWindowCursor() = default;
  TWindowCursor(const TWindowCursor&) = delete;
  TWindowCursor& operator=(const TWindowCursor&) = delete;
  ~TWindowCursor();

  void Hold(Reason reason);
  void Release(Reason reason);

 private:
  void Apply();

  std::array<int, kReasonCount> held_{};
  bool overriding_ = false;
};

// Holds a reason for as long as it lives; holds nothing when `hold` is false.
class TCursorHold {
 public:
  TCursorHold(TWindowCursor& cursor, TWindowCursor::Reason reason, bool hold = true)
      : cursor_(hold ? &cursor : nullptr), reason_(reason) {
    if (cursor_) cursor_->Hold(reason_);
  }
  ~TCursorHold() {
    if (cursor_) cursor_->Release(reason_);
  }
  TCursorHold(const TCursorHold&) = delete;
  TCursorHold& operator=(const TCursorHold&) = delete;

 private:
  TWindowCursor* cursor_;
  TWindowCursor::Reason reason_;
};
