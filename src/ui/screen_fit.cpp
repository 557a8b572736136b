#include "ui/screen_fit.h"

#include <algorithm>
#include <cstdint>

namespace quandrel::ui {

int Scaled(int pixelsAt96, int dotsPerInch) {
  const std::int64_t product = static_cast<std::int64_t>(pixelsAt96) * dotsPerInch;
  const std::int64_t half = 48;
  return static_cast<int>(product >= 0 ? (product + half) / 96 : -((-product + half) / 96));
}

int FittingDotsPerInch(Size design, Size frame, Size workArea, int screenDotsPerInch) {
  auto fits = [&](int dpi) {
    return Scaled(design.w, dpi) + frame.w <= workArea.w && Scaled(design.h, dpi) + frame.h <= workArea.h;
  };
  // A screen that reports nonsense is taken as a plain one.
  const int screen = screenDotsPerInch > 96 && screenDotsPerInch <= 96 * 16 ? screenDotsPerInch : 96;
  // Fitting is monotonic in the scale: the largest fitting scale is found
  // by halving the range (96 is the floor whether or not it fits).
  int lo = 96, hi = screen;
  if (fits(hi)) return hi;
  while (hi - lo > 1) {
    const int mid = lo + (hi - lo) / 2;
    (fits(mid) ? lo : hi) = mid;
  }
  return lo;
}

Box CentredInside(Size outer, const Box& workArea) {
  Box b;
  b.left = workArea.left + (workArea.Width() - outer.w) / 2;
  b.top = workArea.top + (workArea.Height() - outer.h) / 2;
  b.right = b.left + outer.w;
  b.bottom = b.top + outer.h;
  return KeptInside(b, workArea);
}

Box KeptInside(const Box& window, const Box& workArea) {
  auto place = [](int start, int length, int areaStart, int areaEnd) {
    // The far edge first, then the near one: a window too large for the
    // area ends up at its near edge.
    start = std::min(start, areaEnd - length);
    return std::max(start, areaStart);
  };
  const int w = window.Width(), h = window.Height();
  Box b;
  b.left = place(window.left, w, workArea.left, workArea.right);
  b.top = place(window.top, h, workArea.top, workArea.bottom);
  b.right = b.left + w;
  b.bottom = b.top + h;
  return b;
}

int OuterHeightShowingAbove(int requestedOuter, int nonClient, int hiddenTop) {
  return std::max(0, std::min(requestedOuter, nonClient + hiddenTop));
}

int FittingFontHeight(const TextMeasure& measure, const std::string& text, int width, int designHeight) {
  if (designHeight < 1) return 1;
  if (measure.Width(text, designHeight) <= width) return designHeight;
  // Widths grow with the height but not strictly (hinting), so each
  // smaller height is tried in turn; there are only a few dozen.
  for (int h = designHeight - 1; h > 1; --h) {
    if (measure.Width(text, h) <= width) return h;
  }
  return 1;
}

}  // namespace quandrel::ui
