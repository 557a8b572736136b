#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "backup_window/backup_rules.h"
#include "ui/screen_fit.h"

namespace quandrel::ui {
namespace {

TEST(ScaledTest, RoundsToTheNearestPixel) {
  EXPECT_EQ(Scaled(420, 96), 420);
  EXPECT_EQ(Scaled(420, 144), 630);
  EXPECT_EQ(Scaled(17, 120), 21);   // 21.25
  EXPECT_EQ(Scaled(3, 144), 5);     // 4.5 rounds up, as MulDiv does
  EXPECT_EQ(Scaled(-3, 144), -5);
  EXPECT_EQ(Scaled(2000000, 192), 4000000);  // no overflow on the way
}

struct FitCase {
  const char* what;
  Size design, frame, work;
  int screen;
  int expected;
};

TEST(FittingDotsPerInchTest, TheScreensScaleReducedUntilTheWindowFits) {
  // The main window's client area (420 x 486), the backup window's
  // (528 x 321) and the wait window's outer size (333 x 174).
  for (const FitCase& c : std::vector<FitCase>{
           {"fits at the screen's scale", {420, 486}, {8, 31}, {1366, 768}, 120, 120},
           {"fits exactly", {420, 486}, {6, 39}, {1366, 768}, 144, 144},  // 729 + 39 = 768
           {"one pixel short", {420, 486}, {6, 40}, {1366, 768}, 144, 143},
           {"too high at 192", {420, 486}, {10, 44}, {1366, 728}, 192, 135},
           {"too wide at 192", {528, 321}, {10, 44}, {1024, 738}, 192, 184},
           {"outer size given", {333, 174}, {0, 0}, {1024, 738}, 192, 192},
           {"never below 96", {420, 486}, {8, 31}, {640, 480}, 144, 96},
           {"96 stays 96 even when too large", {420, 486}, {8, 31}, {640, 480}, 96, 96},
           {"a reported DPI below 96 counts as 96", {420, 486}, {8, 31}, {1366, 768}, 72, 96},
           {"nonsense DPI counts as 96", {420, 486}, {8, 31}, {1366, 768}, 0, 96},
           {"empty work area", {420, 486}, {8, 31}, {0, 0}, 192, 96},
       }) {
    const int dpi = FittingDotsPerInch(c.design, c.frame, c.work, c.screen);
    EXPECT_EQ(dpi, c.expected) << c.what;
    if (dpi > 96) {
      // The chosen scale fits and the next larger one (when allowed) does not.
      EXPECT_LE(Scaled(c.design.w, dpi) + c.frame.w, c.work.w) << c.what;
      EXPECT_LE(Scaled(c.design.h, dpi) + c.frame.h, c.work.h) << c.what;
      if (dpi < c.screen) {
        EXPECT_TRUE(Scaled(c.design.w, dpi + 1) + c.frame.w > c.work.w ||
                    Scaled(c.design.h, dpi + 1) + c.frame.h > c.work.h)
            << c.what;
      }
    }
  }
}

struct PlaceCase {
  const char* what;
  Size outer;
  Box work;
  Box expected;
};

TEST(CentredInsideTest, CentredOnTheWorkAreaAndNeverAboveOrLeftOfIt) {
  for (const PlaceCase& c : std::vector<PlaceCase>{
           {"centred", {436, 525}, {0, 0, 1366, 738}, {465, 106, 901, 631}},
           // A taskbar on top moves the work area down; a second monitor left
           // of the first has negative coordinates.
           {"taskbar on top", {436, 525}, {0, 30, 1366, 768}, {465, 136, 901, 661}},
           {"monitor to the left", {200, 100}, {-1280, 0, 0, 1024}, {-740, 462, -540, 562}},
           {"taller than the area", {436, 900}, {0, 0, 1366, 738}, {465, 0, 901, 900}},
           {"wider and taller", {1500, 900}, {0, 30, 1366, 768}, {0, 30, 1500, 930}},
       }) {
    const Box b = CentredInside(c.outer, c.work);
    EXPECT_EQ(b.left, c.expected.left) << c.what;
    EXPECT_EQ(b.top, c.expected.top) << c.what;
    EXPECT_EQ(b.right, c.expected.right) << c.what;
    EXPECT_EQ(b.bottom, c.expected.bottom) << c.what;
  }
}

struct KeepCase {
  const char* what;
  Box window, work, expected;
};

TEST(KeptInsideTest, MovedTheLeastAndNeverResized) {
  const Box work{0, 0, 1366, 738};
  for (const KeepCase& c : std::vector<KeepCase>{
           {"already inside", {100, 100, 536, 320}, work, {100, 100, 536, 320}},
           {"below the taskbar's edge", {100, 600, 536, 820}, work, {100, 518, 536, 738}},
           {"above the top", {100, -123, 536, 900}, work, {100, 0, 536, 1023}},
           {"off to the right", {1200, 10, 1636, 230}, work, {930, 10, 1366, 230}},
           {"off to the left", {-50, 10, 386, 230}, work, {0, 10, 436, 230}},
       }) {
    const Box b = KeptInside(c.window, c.work);
    EXPECT_EQ(b.left, c.expected.left) << c.what;
    EXPECT_EQ(b.top, c.expected.top) << c.what;
    EXPECT_EQ(b.right, c.expected.right) << c.what;
    EXPECT_EQ(b.bottom, c.expected.bottom) << c.what;
  }
}

TEST(OuterHeightShowingAboveTest, TheClientAreaEndsAboveTheHiddenPart) {
  // 96 DPI: 220 outer with a 26-pixel title bar and borders leaves 194 of
  // client area, above the settings area at 196: unchanged.
  EXPECT_EQ(OuterHeightShowingAbove(220, 26, 196), 220);
  // 144 DPI: 330 outer with a 32-pixel frame would show 298 > 294 rows:
  // the strip of the settings area is cut off.
  EXPECT_EQ(OuterHeightShowingAbove(330, 32, 294), 326);
  // 192 DPI: 440 outer, 40 of frame, settings area at 392.
  EXPECT_EQ(OuterHeightShowingAbove(440, 40, 392), 432);
  // The shorter height of a discard is kept as it is.
  EXPECT_EQ(OuterHeightShowingAbove(200, 26, 196), 200);
}

// Width of a text in a made-up face: every byte half as wide as the height,
// rounded down.
class HalfWidthMeasure : public TextMeasure {
 public:
  int Width(const std::string& text, int fontHeight) const override {
    ++calls;
    return static_cast<int>(text.size()) * fontHeight / 2;
  }
  mutable int calls = 0;
};

TEST(FittingFontHeightTest, TheWholeTextFitsTheLabelsWidth) {
  HalfWidthMeasure m;
  // The free space texts of today's drives in a 90-pixel label at 96 DPI.
  EXPECT_EQ(FittingFontHeight(m, "120,563 KB", 90, 12), 12);                // 60 wide
  EXPECT_EQ(FittingFontHeight(m, "488,281,250 KB", 90, 12), 12);            // 14 bytes: 84
  EXPECT_EQ(FittingFontHeight(m, "1,953,125,000 KB", 90, 12), 11);          // 16 bytes: 96 > 90, 88 at 11
  EXPECT_EQ(FittingFontHeight(m, "9,007,199,254,740,991 KB", 90, 12), 7);   // 24 bytes: 84 at 7
  EXPECT_EQ(FittingFontHeight(m, " KB", 90, 12), 12);
  // At 192 DPI the label and the font are twice the size.
  EXPECT_EQ(FittingFontHeight(m, "1,953,125,000 KB", 180, 24), 22);
  // Nothing fits: the smallest height, never 0.
  EXPECT_EQ(FittingFontHeight(m, std::string(200, '9'), 90, 12), 1);
  EXPECT_EQ(FittingFontHeight(m, "1 KB", 90, 0), 1);
}

// A face whose hinting makes a smaller height come out wider than a larger
// one: the largest height that fits is taken, not the first that fails.
class HintedMeasure : public TextMeasure {
 public:
  int Width(const std::string&, int fontHeight) const override {
    switch (fontHeight) {
      case 12: return 100;
      case 11: return 95;
      case 10: return 80;
      case 9: return 85;
      default: return fontHeight * 8;
    }
  }
};

TEST(FittingFontHeightTest, TakesTheLargestHeightThatFits) {
  EXPECT_EQ(FittingFontHeight(HintedMeasure(), "x", 90, 12), 10);
  EXPECT_EQ(FittingFontHeight(HintedMeasure(), "x", 79, 12), 8);
}

TEST(FittingFontHeightTest, FreeSpaceTextsOfLargeDrivesStayWhole) {
  // The label's texts for 500 GB, 2 TB and the largest count the query can
  // give, in the made-up face: each drawn whole at some height.
  HalfWidthMeasure m;
  for (std::uint64_t bytes : {500ull * 1000 * 1000 * 1000, 2ull * 1000 * 1000 * 1000 * 1000, ~0ull >> 1}) {
    const std::string text = FreeSpaceText(bytes);
    const int h = FittingFontHeight(m, text, 90, 12);
    EXPECT_LE(m.Width(text, h), 90) << text;
    EXPECT_GE(h, 6) << text;
  }
}

}  // namespace
}  // namespace quandrel::ui
