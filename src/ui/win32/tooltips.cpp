#include "ui/win32/tooltips.h"

#include <commctrl.h>

namespace quandrel::win32 {

HWND CreateHintTooltips(HINSTANCE instance, HWND window, HFONT font,
                        const std::vector<std::pair<HWND, const char*>>& hints) {
  HWND tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                                 instance, nullptr);
  if (!tooltip) return nullptr;
  SendMessageA(tooltip, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  for (const auto& [control, hint] : hints) {
    if (!control || !hint) continue;
    TOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = window;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = const_cast<char*>(hint);
    SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  }
  return tooltip;
}

}  // namespace quandrel::win32
