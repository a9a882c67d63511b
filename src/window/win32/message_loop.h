// The window's message loop: every message passes the window's key routing
// (TMainForm::Dispatch), and the window hears when the thread has run out of messages.
#pragma once

#include "window/win32/main_form.h"

// Runs until WM_QUIT; returns its exit code.
int RunMessageLoop(TMainForm& form);
// Handles every message waiting now, then tells the window the queue is empty; for
// tests, which drive the window between checks.
void PumpMessages(TMainForm& form);
