// Where a window goes on the screen and how large it is drawn: decisions
// over plain rectangles, so that they hold whatever the platform reports.
// Design sizes are pixels at 96 dots per inch.
#pragma once

#include <string>

namespace quandrel::ui {

struct Size {
  int w = 0, h = 0;
};

struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

// A design length drawn at `dotsPerInch`, rounded to the nearest pixel the
// way the platform's MulDiv rounds.
int Scaled(int pixelsAt96, int dotsPerInch);

// The scale a window is drawn at: the screen's, reduced until the window
// fits the work area, but never below 96 dots per inch (a window too large
// even then keeps its design size). `design` is the client area in design
// pixels; `frame` is what the title bar and borders add, which the
// window's scale does not change (0 x 0 for a window whose design gives
// its outer size).
int FittingDotsPerInch(Size design, Size frame, Size workArea, int screenDotsPerInch);

// A window of the given outer size centred on the work area; one larger
// than the work area keeps its top left corner (title bar, system menu)
// inside it.
Box CentredInside(Size outer, const Box& workArea);

// The window moved as little as needed to lie inside the work area, its
// size unchanged; a larger one keeps its top left corner inside.
Box KeptInside(const Box& window, const Box& workArea);

// The outer height of a window shortened to show only the part above
// `hiddenTop` (client coordinates): the requested outer height, lowered so
// that the client area ends at or above `hiddenTop`. `nonClient` is the
// height the title bar and borders take.
int OuterHeightShowingAbove(int requestedOuter, int nonClient, int hiddenTop);

// Measures a text's width in pixels when drawn with the label's face at a
// character height of `fontHeight` pixels.
class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  virtual int Width(const std::string& text, int fontHeight) const = 0;
};

// The character height a fixed-size label draws `text` with so that the
// whole text fits its width: `designHeight` when it fits, else the largest
// smaller height that fits, and 1 when none does.
int FittingFontHeight(const TextMeasure& measure, const std::string& text, int width, int designHeight);

}  // namespace quandrel::ui
