// Design sizes, fonts and window placement: every window of the program is
// designed in pixels at 96 dots per inch and scaled once, at creation.
#pragma once

#include <windows.h>

namespace quandrel::win32 {

// Design sizes are pixels at 96 dots per inch; every window scales them once,
// at creation, by the screen's DPI.
class Dpi {
 public:
  Dpi();  // the screen's
  explicit Dpi(int dotsPerInch) : dpi_(dotsPerInch) {}
  int operator()(int pixelsAt96) const { return MulDiv(pixelsAt96, dpi_, 96); }
  int DotsPerInch() const { return dpi_; }

 private:
  int dpi_;
};

// The faces of the windows' texts: the proportional one of labels and
// buttons, the fixed one of paths.
constexpr char kBaseFace[] = "ＭＳ Ｐゴシック";
constexpr char kFixedFace[] = "ＭＳ ゴシック";

// A Shift-JIS font `pixels` high (character height, as a negative height).
HFONT MakeFont(const Dpi& dpi, const char* face, int pixels, bool bold = false);

}  // namespace quandrel::win32
