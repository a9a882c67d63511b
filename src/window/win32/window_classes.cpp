#include "window/win32/window_classes.h"

#include <commctrl.h>

void RegisterWindowClasses(WNDPROC formProc, WNDPROC childProc) {
  static const bool registered = [&] {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                                        ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW form{};
    form.cbSize = sizeof(form);
    form.lpfnWndProc = formProc;
    form.hInstance = instance;
    form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    form.lpszClassName = kFormClass;
    form.hIcon = LoadIconW(instance, L"MAINICON");
    RegisterClassExW(&form);
    WNDCLASSEXW child = form;
    child.lpfnWndProc = childProc;
    child.lpszClassName = kChildClass;
    child.hIcon = nullptr;
    RegisterClassExW(&child);
    return true;
  }();
  (void)registered;
}
