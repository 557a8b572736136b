#include "ui/win32/glyphs.h"

#include <cmath>
#include <initializer_list>
#include <vector>

namespace quandrel::win32 {

// Each glyph is drawn on a 16 x 16 unit grid mapped onto the target square.

namespace {

constexpr COLORREF kNone = CLR_INVALID;

struct Pt {
  double x, y;
};

class Painter {
 public:
  Painter(HDC dc, double x, double y, double size, bool disabled, COLORREF over)
      : dc_(dc), x_(x), y_(y), unit_(size / 16.0), disabled_(disabled), over_(over) {}

  // A painter for a part drawn in the sub-square (ux, uy, usize) of this grid.
  Painter Sub(double ux, double uy, double usize) const {
    Painter p(*this);
    p.x_ = x_ + ux * unit_;
    p.y_ = y_ + uy * unit_;
    p.unit_ = unit_ * usize / 16.0;
    return p;
  }

  // Strokes and dark fills: the shadow (or highlight) colour when disabled.
  COLORREF Ink(COLORREF c) const { return disabled_ ? over_ : c; }
  // Light fills: the button face when disabled, so only outlines show.
  COLORREF Light(COLORREF c) const { return disabled_ ? GetSysColor(COLOR_BTNFACE) : c; }

  void Polygon(std::initializer_list<Pt> pts, COLORREF fill, COLORREF outline) const {
    std::vector<POINT> p;
    for (const Pt& q : pts) p.push_back(Map(q));
    Select s(dc_, fill, outline, 1);
    ::Polygon(dc_, p.data(), static_cast<int>(p.size()));
  }
  void Rect(double l, double t, double r, double b, COLORREF fill, COLORREF outline) const {
    Polygon({{l, t}, {r, t}, {r, b}, {l, b}}, fill, outline);
  }
  void Ellipse(double l, double t, double r, double b, COLORREF fill, COLORREF outline) const {
    POINT a = Map({l, t}), z = Map({r, b});
    Select s(dc_, fill, outline, 1);
    ::Ellipse(dc_, a.x, a.y, z.x, z.y);
  }
  void Line(std::initializer_list<Pt> pts, COLORREF color, double width) const {
    std::vector<POINT> p;
    for (const Pt& q : pts) p.push_back(Map(q));
    Select s(dc_, kNone, color, Width(width));
    Polyline(dc_, p.data(), static_cast<int>(p.size()));
  }
  // Arc of the circle (l, t, r, b), counter-clockwise from `from` to `to`.
  void Arc(double l, double t, double r, double b, Pt from, Pt to, COLORREF color, double width) const {
    POINT a = Map({l, t}), z = Map({r, b}), f = Map(from), e = Map(to);
    Select s(dc_, kNone, color, Width(width));
    ::Arc(dc_, a.x, a.y, z.x, z.y, f.x, f.y, e.x, e.y);
  }

 private:
  POINT Map(Pt q) const {
    return POINT{static_cast<LONG>(std::lround(x_ + q.x * unit_)),
                 static_cast<LONG>(std::lround(y_ + q.y * unit_))};
  }
  int Width(double units) const {
    int w = static_cast<int>(std::lround(units * unit_));
    return w < 1 ? 1 : w;
  }

  // Selects a brush and a pen for one shape and puts the old ones back.
  class Select {
   public:
    Select(HDC dc, COLORREF fill, COLORREF outline, int width) : dc_(dc) {
      brush_ = fill == kNone ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)) : CreateSolidBrush(fill);
      ownBrush_ = fill != kNone;
      if (outline == kNone) {
        pen_ = static_cast<HPEN>(GetStockObject(NULL_PEN));
        ownPen_ = false;
      } else {
        LOGBRUSH lb{BS_SOLID, outline, 0};
        pen_ = width <= 1 ? CreatePen(PS_SOLID, 1, outline)
                          : ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND,
                                         static_cast<DWORD>(width), &lb, 0, nullptr);
        ownPen_ = true;
      }
      oldBrush_ = SelectObject(dc_, brush_);
      oldPen_ = SelectObject(dc_, pen_);
    }
    ~Select() {
      SelectObject(dc_, oldBrush_);
      SelectObject(dc_, oldPen_);
      if (ownBrush_) DeleteObject(brush_);
      if (ownPen_) DeleteObject(pen_);
    }
    Select(const Select&) = delete;
    Select& operator=(const Select&) = delete;

   private:
    HDC dc_;
    HBRUSH brush_;
    HPEN pen_;
    HGDIOBJ oldBrush_, oldPen_;
    bool ownBrush_, ownPen_ = false;
  };

  HDC dc_;
  double x_, y_, unit_;
  bool disabled_;
  COLORREF over_;
};

const COLORREF kDark = RGB(48, 48, 48);
const COLORREF kGreen = RGB(0, 140, 40);
const COLORREF kRed = RGB(200, 24, 24);
const COLORREF kBlue = RGB(0, 90, 200);
const COLORREF kDiskBlue = RGB(30, 60, 150);
const COLORREF kFolder = RGB(240, 196, 72);
const COLORREF kFolderFront = RGB(255, 224, 128);
const COLORREF kFolderLine = RGB(140, 100, 0);

void Floppy(const Painter& p) {
  p.Polygon({{1, 1}, {13, 1}, {15, 3}, {15, 15}, {1, 15}}, p.Ink(kDiskBlue), p.Ink(RGB(10, 30, 90)));
  p.Rect(4, 1, 11, 6, p.Light(RGB(215, 215, 225)), p.Ink(RGB(10, 30, 90)));
  p.Rect(8, 2, 10, 5, p.Ink(kDiskBlue), kNone);
  p.Rect(3, 9, 13, 15, p.Light(RGB(255, 255, 255)), p.Ink(RGB(10, 30, 90)));
  p.Line({{5, 11}, {11, 11}}, p.Ink(RGB(150, 150, 170)), 1);
  p.Line({{5, 13}, {11, 13}}, p.Ink(RGB(150, 150, 170)), 1);
}

void Folder(const Painter& p) {
  p.Polygon({{1, 3}, {6, 3}, {7.5, 4.5}, {14, 4.5}, {14, 13.5}, {1, 13.5}}, p.Light(kFolder), p.Ink(kFolderLine));
  p.Polygon({{3, 7}, {15.5, 7}, {13.5, 13.5}, {1, 13.5}}, p.Light(kFolderFront), p.Ink(kFolderLine));
}

void CircularArrow(const Painter& p, COLORREF color) {
  p.Arc(2.5, 2.5, 13.5, 13.5, {10.75, 3.24}, {13.5, 8}, p.Ink(color), 2);
  p.Polygon({{10.8, 7.2}, {16, 7.2}, {13.5, 3.8}}, p.Ink(color), p.Ink(color));
}

void PaintGlyph(const Painter& p, Glyph glyph) {
  switch (glyph) {
    case Glyph::None:
      break;
    case Glyph::Repair:
      p.Rect(1, 1, 15, 15, p.Light(RGB(255, 255, 255)), p.Ink(RGB(150, 150, 150)));
      p.Rect(6.5, 3, 9.5, 13, p.Ink(kRed), kNone);
      p.Rect(3, 6.5, 13, 9.5, p.Ink(kRed), kNone);
      break;
    case Glyph::Compact:
      p.Rect(0.5, 6.5, 4, 9.5, p.Ink(kBlue), kNone);
      p.Polygon({{3.5, 3.5}, {7, 8}, {3.5, 12.5}}, p.Ink(kBlue), p.Ink(kBlue));
      p.Rect(12, 6.5, 15.5, 9.5, p.Ink(kBlue), kNone);
      p.Polygon({{12.5, 3.5}, {9, 8}, {12.5, 12.5}}, p.Ink(kBlue), p.Ink(kBlue));
      p.Line({{8, 1.5}, {8, 14.5}}, p.Ink(kDark), 1);
      break;
    case Glyph::Backup:
      Folder(p.Sub(0, 0, 12));
      Floppy(p.Sub(7, 7, 9));
      break;
    case Glyph::Discard:
      p.Line({{5.5, 2.5}, {5.5, 1.5}, {10.5, 1.5}, {10.5, 2.5}}, p.Ink(kDark), 1);
      p.Rect(2, 2.5, 14, 4.5, p.Ink(RGB(110, 110, 120)), p.Ink(kDark));
      p.Polygon({{3, 4.5}, {13, 4.5}, {12, 15}, {4, 15}}, p.Light(RGB(205, 205, 215)), p.Ink(kDark));
      p.Line({{6, 6.5}, {6.3, 13}}, p.Ink(RGB(110, 110, 120)), 1);
      p.Line({{8, 6.5}, {8, 13}}, p.Ink(RGB(110, 110, 120)), 1);
      p.Line({{10, 6.5}, {9.7, 13}}, p.Ink(RGB(110, 110, 120)), 1);
      break;
    case Glyph::SaveContinue:
      Floppy(p.Sub(0, 0, 12));
      CircularArrow(p.Sub(6, 6, 10), kGreen);
      break;
    case Glyph::Restart:
      CircularArrow(p, kGreen);
      break;
    case Glyph::SaveExit:
      Floppy(p);
      break;
    case Glyph::Exit:
      p.Rect(2, 1, 11, 15, p.Light(RGB(250, 250, 245)), p.Ink(kDark));
      p.Polygon({{2, 1}, {7.5, 2.5}, {7.5, 16}, {2, 15}}, p.Ink(RGB(160, 96, 48)), p.Ink(RGB(90, 50, 20)));
      p.Line({{9, 8.5}, {14.5, 8.5}}, p.Ink(kGreen), 2);
      p.Polygon({{12, 5.5}, {15.5, 8.5}, {12, 11.5}}, p.Ink(kGreen), p.Ink(kGreen));
      break;
    case Glyph::Browse:
      Folder(p);
      break;
    case Glyph::Custom:
      p.Polygon({{11, 1.5}, {14.5, 5}, {6, 13.5}, {2.5, 10}}, p.Light(RGB(255, 184, 40)), p.Ink(RGB(130, 80, 0)));
      p.Polygon({{2.5, 10}, {6, 13.5}, {1.5, 14.5}}, p.Light(RGB(245, 225, 190)), p.Ink(RGB(130, 80, 0)));
      p.Polygon({{1, 13.3}, {2.7, 15}, {1, 15}}, p.Ink(kDark), kNone);
      p.Line({{9.5, 3}, {13, 6.5}}, p.Ink(RGB(130, 80, 0)), 1);
      break;
    case Glyph::History:
      p.Ellipse(1, 1, 15, 15, p.Light(RGB(255, 255, 255)), p.Ink(kDark));
      p.Line({{8, 3.5}, {8, 8}, {11.5, 10}}, p.Ink(kDark), 1.5);
      break;
    case Glyph::Abort:
      p.Ellipse(1, 1, 15, 15, p.Ink(kRed), p.Ink(RGB(130, 0, 0)));
      p.Line({{5.3, 5.3}, {10.7, 10.7}}, p.Light(RGB(255, 255, 255)), 2);
      p.Line({{10.7, 5.3}, {5.3, 10.7}}, p.Light(RGB(255, 255, 255)), 2);
      break;
    case Glyph::Ok:
      p.Line({{2.5, 8.5}, {6, 12}, {13.5, 4}}, p.Ink(kGreen), 2.6);
      break;
    case Glyph::Return:
      p.Polygon({{1, 8}, {7, 2}, {7, 5.5}, {15, 5.5}, {15, 10.5}, {7, 10.5}, {7, 14}}, p.Ink(kGreen),
                p.Ink(RGB(0, 90, 20)));
      break;
  }
}

}  // namespace

void DrawGlyph(HDC dc, Glyph glyph, int x, int y, int size, bool disabled) {
  if (glyph == Glyph::None) return;
  if (!disabled) {
    PaintGlyph(Painter(dc, x, y, size, false, 0), glyph);
    return;
  }
  PaintGlyph(Painter(dc, x + 1, y + 1, size, true, GetSysColor(COLOR_BTNHIGHLIGHT)), glyph);
  PaintGlyph(Painter(dc, x, y, size, true, GetSysColor(COLOR_BTNSHADOW)), glyph);
}

}  // namespace quandrel::win32
