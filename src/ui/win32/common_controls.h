// Common Controls, loaded when the first window that needs it is made
// rather than with the program: loading it costs a start that launches a
// program tens of milliseconds, and that start makes no control of it.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace quandrel::win32 {

// Loads Common Controls (the embedded manifest binds the name to the
// system's side-by-side version 6) and registers its classes. Only the
// first call does anything; false when the library can't be loaded, and the
// standard controls then come from the system's own classes.
bool LoadCommonControls();

// SetWindowSubclass and DefSubclassProc of the loaded library; the first is
// false and nothing is subclassed when the library can't be loaded.
bool SubclassControl(HWND control, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data);
LRESULT DefaultSubclassProc(HWND control, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace quandrel::win32
