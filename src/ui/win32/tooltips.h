// The hint tooltips of a window's controls.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

namespace quandrel::win32 {

// A tooltip window of `window` that shows each control's hint while the
// pointer rests on it; null when it can't be created.
HWND CreateHintTooltips(HINSTANCE instance, HWND window, HFONT font,
                        const std::vector<std::pair<HWND, const char*>>& hints);

}  // namespace quandrel::win32
