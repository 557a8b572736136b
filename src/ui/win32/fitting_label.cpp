#include "ui/win32/fitting_label.h"

#include "ui/win32/dpi_fonts.h"
#include "ui/win32/window_class.h"
#include "ui/screen_fit.h"

namespace quandrel::win32 {

namespace {

// Widths as the label draws them: one line, no mnemonic prefix.
class GdiTextMeasure : public ui::TextMeasure {
 public:
  GdiTextMeasure(HDC dc, const char* face, bool bold) : dc_(dc), face_(face), bold_(bold) {}
  int Width(const std::string& text, int fontHeight) const override {
    HFONT font = MakeFont(Dpi(96), face_, fontHeight, bold_);
    if (!font) return 0;
    HGDIOBJ old = SelectObject(dc_, font);
    RECT r{0, 0, 0, 0};
    DrawTextA(dc_, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc_, old);
    DeleteObject(font);
    return r.right - r.left;
  }

 private:
  HDC dc_;
  const char* face_;
  bool bold_;
};

}  // namespace

FittingLabelFont::~FittingLabelFont() {
  if (font_) DeleteObject(font_);
}

void FittingLabelFont::Fit(HWND label, const char* face, int pixels, bool bold) {
  RECT client;
  if (!label || !GetClientRect(label, &client)) return;
  HDC dc = GetDC(label);
  if (!dc) return;
  const int height =
      ui::FittingFontHeight(GdiTextMeasure(dc, face, bold), WindowText(label), client.right - client.left, pixels);
  ReleaseDC(label, dc);
  if (font_ && height == height_) return;
  HFONT font = MakeFont(Dpi(96), face, height, bold);
  if (!font) return;
  SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (font_) DeleteObject(font_);
  font_ = font;
  height_ = height;
}

}  // namespace quandrel::win32
