// Keyboard handling of windows that behave like dialog boxes without being
// ones.
#pragma once

#include <windows.h>

#include <string>

namespace quandrel::win32 {

// Windows registered here get the dialog keys sent to them or to their
// controls: Tab
// and Shift+Tab walk the tab order, Enter presses the focused picture button
// or else the window's default button (answering DM_GETDEFID), Alt+letter
// presses the visible control whose caption marks that letter with "&".
void EnableDialogKeys(HWND window);
// The translation itself, for every message loop of the program. True when
// the message was handled (then it must not be dispatched again). The tab
// walk skips controls that lie wholly outside the window's client area:
// what the mouse can't reach, the keyboard can't either.
bool TranslateDialogKeys(MSG* msg);

// Whether any part of `control` lies inside the client area of `window`.
bool InView(HWND window, HWND control);
// The first usable tab stop of `window` that is in view, or null.
HWND FirstTabStopInView(HWND window);

// The caption's mnemonic letter (upper-cased ASCII), or 0.
char MnemonicOf(const std::string& caption);

}  // namespace quandrel::win32
