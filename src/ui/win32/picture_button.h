// Owner-drawn push buttons with a glyph beside or above the caption.
#pragma once

#include <windows.h>

#include "ui/win32/dpi_fonts.h"
#include "ui/win32/glyphs.h"

namespace quandrel::win32 {

struct ButtonLook {
  Glyph glyph = Glyph::None;
  bool glyphAbove = false;  // picture above the caption, else beside it
  HFONT font = nullptr;
};

// Paints an owner-drawn push button: raised frame (pressed when selected),
// a black outline when it is the button that Enter presses, the glyph, the
// caption with its mnemonic underline, greyed when disabled, and the focus
// rectangle.
void DrawPictureButton(const DRAWITEMSTRUCT& item, const ButtonLook& look, bool isDefault,
                       const Dpi& dpi);

// Whether `hwnd` is one of the owner-drawn picture buttons.
bool IsPictureButton(HWND hwnd);

}  // namespace quandrel::win32
