// Colours the windows share.
#pragma once

#include <windows.h>

namespace quandrel::win32 {

// The text of the fields the user fills in and of the names they lead to.
constexpr COLORREF kNavy = RGB(0, 0, 128);

}  // namespace quandrel::win32
