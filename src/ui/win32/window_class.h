// Window classes and window text.
#pragma once

#include <windows.h>

#include <string>

namespace quandrel::win32 {

// Registers a window class once (later calls find it registered): the given
// cursor (an IDC_ value) and, unless `background` is 0, that system colour.
bool RegisterWindowClass(HINSTANCE instance, const char* name, WNDPROC proc, LPCSTR cursor,
                         int background = COLOR_BTNFACE);

// Window text as CP932 bytes.
std::string WindowText(HWND hwnd);

}  // namespace quandrel::win32
