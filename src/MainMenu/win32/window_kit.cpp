#include "MainMenu/win32/window_kit.h"

#include <commctrl.h>

#include <cmath>
#include <cstring>
#include <initializer_list>
#include <vector>

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

// ---------------------------------------------------------------------------
// Glyphs. Each is drawn on a 16 x 16 unit grid mapped onto the target square.

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
const COLORREF kNavy = RGB(30, 60, 150);
const COLORREF kFolder = RGB(240, 196, 72);
const COLORREF kFolderFront = RGB(255, 224, 128);
const COLORREF kFolderLine = RGB(140, 100, 0);

void Floppy(const Painter& p) {
  p.Polygon({{1, 1}, {13, 1}, {15, 3}, {15, 15}, {1, 15}}, p.Ink(kNavy), p.Ink(RGB(10, 30, 90)));
  p.Rect(4, 1, 11, 6, p.Light(RGB(215, 215, 225)), p.Ink(RGB(10, 30, 90)));
  p.Rect(8, 2, 10, 5, p.Ink(kNavy), kNone);
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

// ---------------------------------------------------------------------------
// Picture buttons

bool IsPictureButton(HWND hwnd) {
  char cls[16] = {};
  if (!hwnd || !GetClassNameA(hwnd, cls, sizeof cls) || lstrcmpiA(cls, "Button") != 0) return false;
  return (GetWindowLongA(hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
}

std::string WindowText(HWND hwnd) {
  const int n = GetWindowTextLengthA(hwnd);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  const int got = GetWindowTextA(hwnd, s.data(), n + 1);
  s.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return s;
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

// ---------------------------------------------------------------------------
// Dialog keys

namespace {

const char kDialogKeysProp[] = "QuandrelDialogKeys";

bool IsUsable(HWND hwnd) { return IsWindowVisible(hwnd) && IsWindowEnabled(hwnd); }

void Press(HWND control) {
  if (IsPictureButton(control)) {
    SendMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
  } else {
    SendMessageA(control, BM_CLICK, 0, 0);
  }
}

// Alt+letter: the first usable button in the tab order (child order) whose
// caption marks the letter. Searching from the first child, not from the
// focus, keeps the choice the same whatever has the focus.
bool PressMnemonic(HWND window, WPARAM key) {
  if (key >= 0x80) return false;
  char wanted = static_cast<char>(key);
  if (wanted >= 'a' && wanted <= 'z') wanted = static_cast<char>(wanted - 'a' + 'A');
  for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!IsUsable(c) || !InView(window, c)) continue;
    if (!(SendMessageA(c, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)) continue;
    if (MnemonicOf(WindowText(c)) != wanted) continue;
    SetFocus(c);
    Press(c);
    return true;
  }
  return false;
}

// Tab and Shift+Tab: the next usable tab stop in view, round the window.
bool WalkTabOrder(HWND window, const MSG* msg) {
  if (GetKeyState(VK_CONTROL) & 0x8000) return false;
  if (SendMessageA(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg)) & DLGC_WANTTAB) {
    return false;
  }
  const BOOL back = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
  HWND from = IsChild(window, msg->hwnd) ? msg->hwnd : nullptr;
  HWND first = nullptr;
  HWND next = GetNextDlgTabItem(window, from, back);
  for (int guard = 0; next && next != from && guard < 1024; ++guard) {
    if (next == first) break;  // round once without finding one in view
    if (!first) first = next;
    if (InView(window, next)) {
      if (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageA(next, EM_SETSEL, 0, -1);
      SetFocus(next);
      return true;
    }
    next = GetNextDlgTabItem(window, next, back);
  }
  return true;
}

}  // namespace

bool InView(HWND window, HWND control) {
  RECT client, c, both;
  if (!GetClientRect(window, &client) || !GetWindowRect(control, &c)) return false;
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return IntersectRect(&both, &client, &c) != FALSE;
}

HWND FirstTabStopInView(HWND window) {
  HWND first = GetNextDlgTabItem(window, nullptr, FALSE);
  HWND next = first;
  for (int guard = 0; next && guard < 1024; ++guard) {
    if (InView(window, next)) return next;
    next = GetNextDlgTabItem(window, next, FALSE);
    if (next == first) break;
  }
  return nullptr;
}

char MnemonicOf(const std::string& caption) {
  for (size_t i = 0; i < caption.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(caption[i]);
    if (IsDBCSLeadByteEx(932, b)) {
      ++i;  // a trail byte is never an ampersand
      continue;
    }
    if (b != '&' || i + 1 >= caption.size()) continue;
    const char next = caption[i + 1];
    if (next == '&') {
      ++i;
      continue;
    }
    if (next >= 'a' && next <= 'z') return static_cast<char>(next - 'a' + 'A');
    return next;
  }
  return 0;
}

void EnableDialogKeys(HWND window) { SetPropA(window, kDialogKeysProp, reinterpret_cast<HANDLE>(1)); }

bool TranslateDialogKeys(MSG* msg) {
  // The window the keys are meant for is the one holding the control they
  // were sent to, even when the activation is still on its way there.
  HWND window = msg->hwnd ? GetAncestor(msg->hwnd, GA_ROOT) : nullptr;
  if (!window || !GetPropA(window, kDialogKeysProp)) return false;

  if (msg->message == WM_KEYDOWN && msg->wParam == VK_TAB && WalkTabOrder(window, msg)) return true;
  if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
    // A focused picture button takes Enter itself; otherwise the dialog
    // manager asks the window for its default button.
    if (msg->hwnd != window && IsPictureButton(msg->hwnd) && IsUsable(msg->hwnd)) {
      Press(msg->hwnd);
      return true;
    }
  }
  if (msg->message == WM_SYSCHAR && PressMnemonic(window, msg->wParam)) return true;
  return IsDialogMessageA(window, msg) != FALSE;
}

bool PumpPendingMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    if (!TranslateDialogKeys(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return true;
}

bool RegisterWindowClass(HINSTANCE instance, const char* name, WNDPROC proc, LPCSTR cursor, int background) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExA(instance, name, &wc)) return true;
  wc = WNDCLASSEXA{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, cursor);
  if (background != 0) wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
  wc.lpszClassName = name;
  return RegisterClassExA(&wc) != 0;
}

HWND CreateHintTooltips(HINSTANCE instance, HWND window, HFONT font,
                        const std::vector<std::pair<HWND, const char*>>& hints) {
  HWND tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                                 instance, nullptr);
  if (!tooltip) return nullptr;
  SendMessageA(tooltip, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  for (const auto& [control, hint] : hints) {
    if (!control || !hint) continue;
    TOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = window;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = const_cast<char*>(hint);
    SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  }
  return tooltip;
}

}  // namespace quandrel::win32
