#include "ui/win32/picture_button.h"

#include "ui/win32/window_class.h"

namespace quandrel::win32 {

bool IsPictureButton(HWND hwnd) {
  char cls[16] = {};
  if (!hwnd || !GetClassNameA(hwnd, cls, sizeof cls) || lstrcmpiA(cls, "Button") != 0) return false;
  return (GetWindowLongA(hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
}

void DrawPictureButton(const DRAWITEMSTRUCT& item, const ButtonLook& look, bool isDefault, const Dpi& dpi) {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  const bool focused = (item.itemState & ODS_FOCUS) != 0;

  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  if (isDefault || focused) {
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&r, -1, -1);
  }
  if (pressed) {
    FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
  } else {
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH);
  }

  const std::string caption = WindowText(item.hwndItem);
  HGDIOBJ oldFont = SelectObject(dc, look.font ? look.font : GetStockObject(DEFAULT_GUI_FONT));
  RECT textSize{0, 0, 0, 0};
  DrawTextA(dc, caption.c_str(), -1, &textSize, DT_SINGLELINE | DT_CALCRECT);
  const int tw = textSize.right - textSize.left;
  const int th = textSize.bottom - textSize.top;

  const int w = item.rcItem.right - item.rcItem.left;
  const int h = item.rcItem.bottom - item.rcItem.top;
  const int shift = pressed ? 1 : 0;
  const bool hasGlyph = look.glyph != Glyph::None;
  const int gap = hasGlyph ? dpi(look.glyphAbove ? 3 : 4) : 0;
  const int gs = hasGlyph ? dpi(look.glyphAbove ? 20 : 16) : 0;

  int gx, gy;
  RECT tr;
  if (look.glyphAbove) {
    const int total = gs + gap + th;
    gy = item.rcItem.top + (h - total) / 2;
    gx = item.rcItem.left + (w - gs) / 2;
    tr.left = item.rcItem.left + 2;
    tr.right = item.rcItem.right - 2;
    tr.top = gy + gs + gap;
    tr.bottom = tr.top + th;
  } else {
    const int total = gs + gap + tw;
    gx = item.rcItem.left + (w - total) / 2;
    if (gx < item.rcItem.left + 3) gx = item.rcItem.left + 3;
    gy = item.rcItem.top + (h - gs) / 2;
    tr.left = gx + gs + gap;
    tr.right = tr.left + tw;
    tr.top = item.rcItem.top + (h - th) / 2;
    tr.bottom = tr.top + th;
  }
  OffsetRect(&tr, shift, shift);
  if (hasGlyph) DrawGlyph(dc, look.glyph, gx + shift, gy + shift, gs, disabled);

  // The underline of the mnemonic letter is always drawn (no DT_NOPREFIX).
  const UINT fmt = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
  SetBkMode(dc, TRANSPARENT);
  if (disabled) {
    RECT hr = tr;
    OffsetRect(&hr, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextA(dc, caption.c_str(), -1, &hr, fmt);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
  } else {
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  }
  DrawTextA(dc, caption.c_str(), -1, &tr, fmt);
  SelectObject(dc, oldFont);

  if (focused) {
    RECT fr = item.rcItem;
    InflateRect(&fr, -4, -4);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    DrawFocusRect(dc, &fr);
  }
}

}  // namespace quandrel::win32
