#include "ui/win32/dpi_fonts.h"

namespace quandrel::win32 {

Dpi::Dpi() {
  HDC screen = GetDC(nullptr);
  dpi_ = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  if (dpi_ <= 0) dpi_ = 96;
}

HFONT MakeFont(const Dpi& dpi, const char* face, int pixels, bool bold) {
  LOGFONTA lf{};
  lf.lfHeight = -dpi(pixels);
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
  return CreateFontIndirectA(&lf);
}

}  // namespace quandrel::win32
