// The window classes of the window: the form itself, and the plain child windows
// (pages, the tool bar's spacer panel, the settings' scroll box) on the button face.
#pragma once

#include <windows.h>

inline constexpr wchar_t kFormClass[] = L"VaskarelMainForm";
inline constexpr wchar_t kChildClass[] = L"VaskarelPanel";

// Registers both classes once per process; the common controls are set up with them.
void RegisterWindowClasses(WNDPROC formProc, WNDPROC childProc);
