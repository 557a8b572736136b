// A fixed-size label that always shows its whole text: the font shrinks
// until the text fits the label's width.
#pragma once

#include <windows.h>

#include <string>

namespace quandrel::win32 {

class FittingLabelFont {
 public:
  FittingLabelFont() = default;
  ~FittingLabelFont();
  FittingLabelFont(const FittingLabelFont&) = delete;
  FittingLabelFont& operator=(const FittingLabelFont&) = delete;

  // Gives `label` the largest font of `face` (at most `pixels` high, the
  // label's own size) with which its current text fits its width, and
  // repaints it.
  void Fit(HWND label, const char* face, int pixels, bool bold = false);
  // The character height last chosen, 0 before the first fit.
  int Height() const { return height_; }

 private:
  HFONT font_ = nullptr;
  int height_ = 0;
};

}  // namespace quandrel::win32
