#include "window/win32/message_loop.h"

int RunMessageLoop(TMainForm& form) {
  MSG msg;
  for (;;) {
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) form.Idle();
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got < 0) return 1;
    form.Dispatch(msg);
  }
}

void PumpMessages(TMainForm& form) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    form.Dispatch(msg);
  }
  form.Idle();
}
