// Windows that fit the screen: the scale a window is drawn at and where it
// is placed, both within the work area (the taskbar left out) of the
// monitor it opens on. The decisions are in ui/screen_fit.h.
#pragma once

#include <windows.h>

namespace quandrel::win32 {

// The work area of the monitor that `neighbour` lies on (the primary monitor
// when `neighbour` is null).
RECT WorkAreaNear(HWND neighbour);

// The dots per inch to draw a window at: the screen's, reduced until the
// window fits the work area, never below 96. The window's design gives its
// client area (`clientW` x `clientH` at 96 DPI) and style.
int FittingDotsPerInch(HWND neighbour, int screenDotsPerInch, int clientW, int clientH, DWORD style, DWORD exStyle);
// The same for a window whose design gives its outer size.
int FittingDotsPerInchOuter(HWND neighbour, int screenDotsPerInch, int outerW, int outerH);

// Outer rectangle of a window whose client area is w x h (pixels as
// drawn), centred on the work area and inside it.
RECT PlacedWindowRect(HWND neighbour, int clientW, int clientH, DWORD style, DWORD exStyle);
// Outer rectangle of the given outer size, centred on the work area.
RECT PlacedOuterRect(HWND neighbour, int outerW, int outerH);

// Gives `window` the outer height `outerH`, lowered so that its client
// area ends at or above `hiddenTop` (client pixels), and keeps it inside
// its monitor's work area.
void SetOuterHeightShowingAbove(HWND window, int outerH, int hiddenTop);

}  // namespace quandrel::win32
