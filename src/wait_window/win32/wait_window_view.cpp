#include "wait_window/win32/wait_window_view.h"

#include "platform/files.h"
#include "ui/win32/monitor_fit.h"
#include "ui/win32/window_class.h"

namespace quandrel::win32 {

namespace {

const char kClass[] = "TFormSplash";
const char kCaption[] = "Just Moment, Please";

constexpr int kOuterW = 333;
constexpr int kOuterH = 174;
// Panel1 and, inside it at (9, 8), Image1 (client coordinates at 96 DPI).
constexpr int kPanelX = 8, kPanelY = 8, kPanelW = 313, kPanelH = 137;
constexpr int kImageX = kPanelX + 9, kImageY = kPanelY + 8, kImageW = 292, kImageH = 119;
// The progress bar lies in the strip between the picture and the panel's edge.
constexpr int kBarY = kImageY + kImageH + 2, kBarH = 5;

// The picture's two colours.
const COLORREF kPictureBack = RGB(0, 60, 110);
const COLORREF kPictureInk = RGB(255, 248, 220);

void Hourglass(HDC dc, int l, int t, int w, int h, int pen) {
  const PenHandle outline(CreatePen(PS_SOLID, pen, kPictureInk));
  const BrushHandle sand(CreateSolidBrush(kPictureInk));
  const SelectedObject keepPen(dc, outline.get());
  const SelectedObject keepBrush(dc, GetStockObject(NULL_BRUSH));
  const int r = l + w, btm = t + h, mx = l + w / 2, my = t + h / 2;
  MoveToEx(dc, l, t, nullptr);
  LineTo(dc, r, t);
  MoveToEx(dc, l, btm, nullptr);
  LineTo(dc, r, btm);
  POINT glass[] = {{l + w / 8, t}, {r - w / 8, t}, {mx + w / 12, my}, {r - w / 8, btm},
                   {l + w / 8, btm}, {mx - w / 12, my}};
  Polygon(dc, glass, 6);
  // Sand: the rest in the top bulb, a heap in the bottom one.
  SelectObject(dc, sand.get());
  SelectObject(dc, GetStockObject(NULL_PEN));
  POINT top[] = {{l + w / 4, t + h / 5}, {r - w / 4, t + h / 5}, {mx, my - h / 12}};
  Polygon(dc, top, 3);
  POINT heap[] = {{l + w / 5, btm - 1}, {r - w / 5, btm - 1}, {mx, btm - h / 4}};
  Polygon(dc, heap, 3);
}

}  // namespace

std::unique_ptr<WaitWindowView> WaitWindowView::Open(HINSTANCE instance, HWND owner) {
  if (!RegisterWindowClass(instance, kClass, WindowBase::Proc, IDC_WAIT)) return nullptr;
  std::unique_ptr<WaitWindowView> w(new WaitWindowView());
  // Drawn smaller when the screen's scale would not fit the work area.
  w->dpi_ = Dpi(FittingDotsPerInchOuter(owner, w->dpi_.DotsPerInch(), kOuterW, kOuterH));
  w->font_.reset(MakeFont(w->dpi_, kBaseFace, 12));
  w->lineFont_.reset(MakeFont(w->dpi_, kBaseFace, 15, true));
  w->bigFont_.reset(MakeFont(w->dpi_, kBaseFace, 19, true));
  const RECT r = PlacedOuterRect(owner, w->dpi_(kOuterW), w->dpi_(kOuterH));
  if (!w->CreateFrame(instance, 0, kClass, kCaption, WS_POPUP | WS_CAPTION, r, owner)) return nullptr;
  SendMessageA(w->hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(w->font_.get()), FALSE);
  // The copy that follows blocks the thread: the window must be painted now.
  ShowWindow(w->hwnd_, SW_SHOW);
  UpdateWindow(w->hwnd_);
  return w;
}

WaitWindowView::~WaitWindowView() {
  if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT WaitWindowView::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      Paint(dc);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_CLOSE:
      return 0;  // it goes when the copy is done
  }
  return DefWindowProcA(hwnd_, msg, wp, lp);
}

RECT WaitWindowView::BarRect() const {
  return RECT{dpi_(kImageX), dpi_(kBarY), dpi_(kImageX + kImageW), dpi_(kBarY) + dpi_(kBarH)};
}

void WaitWindowView::LookAtQueue() {
  MSG msg;
  // Input of every window of the thread, queued by the user or posted, goes
  // nowhere: a click kept for later would run its handler after the copy.
  const UINT input[][2] = {{WM_KEYFIRST, WM_KEYLAST},
                           {WM_MOUSEFIRST, WM_MOUSELAST},
                           {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK}};
  for (const auto& range : input) {
    while (PeekMessageA(&msg, nullptr, range[0], range[1], PM_REMOVE)) {
    }
  }
  // Painting runs no handler. Bounded: a window that never validates would
  // hand out WM_PAINT for ever.
  for (int i = 0; i < 64 && PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i) {
    DispatchMessageA(&msg);
  }
}

void WaitWindowView::ShowProgress(std::uint64_t done, std::uint64_t total) {
  LookAtQueue();  // even when the bar has nothing new to show
  if (!hwnd_) return;
  const RECT bar = BarRect();
  if (done == kCopyAmountUnknown) {
    indeterminate_ = true;
    ++marqueeSteps_;
    InvalidateRect(hwnd_, &bar, FALSE);
    UpdateWindow(hwnd_);
    return;
  }
  if (total == 0) return;
  const int inner = (bar.right - bar.left) - 2;
  if (done > total) done = total;
  const int filled = static_cast<int>(static_cast<double>(done) / static_cast<double>(total) * inner);
  if (filled == filled_ && !indeterminate_) return;  // nothing the eye would see
  filled_ = filled;
  indeterminate_ = false;
  InvalidateRect(hwnd_, &bar, FALSE);
  UpdateWindow(hwnd_);
}

void WaitWindowView::Paint(HDC dc) {
  const Dpi& d = dpi_;
  RECT panel{d(kPanelX), d(kPanelY), d(kPanelX + kPanelW), d(kPanelY + kPanelH)};
  FrameRect(dc, &panel, GetSysColorBrush(COLOR_WINDOWFRAME));
  InflateRect(&panel, -1, -1);
  DrawEdge(dc, &panel, BDR_SUNKENOUTER, BF_RECT);

  // Image1: two colours, a waiting sign and the request to wait.
  RECT image{d(kImageX), d(kImageY), d(kImageX + kImageW), d(kImageY + kImageH)};
  const BrushHandle back(CreateSolidBrush(kPictureBack));
  FillRect(dc, &image, back.get());
  RECT frame = image;
  InflateRect(&frame, -d(4), -d(4));
  const BrushHandle ink(CreateSolidBrush(kPictureInk));
  FrameRect(dc, &frame, ink.get());
  Hourglass(dc, image.left + d(16), image.top + d(30), d(30), d(56), d(2) > 1 ? d(2) : 1);

  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kPictureInk);
  const int textLeft = image.left + d(56), textRight = image.right - d(10);
  {  // the text in the window's fonts; the DC's own font is put back after
    const SelectedObject keepFont(dc, lineFont_.get());
    RECT line1{textLeft, image.top + d(16), textRight, image.top + d(36)};
    DrawTextA(dc, "起動前にデータの", -1, &line1, DT_SINGLELINE | DT_LEFT | DT_VCENTER | DT_NOPREFIX);
    RECT line2{textLeft, image.top + d(36), textRight, image.top + d(56)};
    DrawTextA(dc, "予備コピーを作成しています", -1, &line2, DT_SINGLELINE | DT_LEFT | DT_VCENTER | DT_NOPREFIX);
    {
      const PenHandle rule(CreatePen(PS_SOLID, 1, kPictureInk));
      const SelectedObject keepPen(dc, rule.get());
      MoveToEx(dc, textLeft, image.top + d(64), nullptr);
      LineTo(dc, textRight, image.top + d(64));
    }
    SelectObject(dc, bigFont_.get());
    RECT line3{textLeft, image.top + d(72), textRight, image.top + d(100)};
    DrawTextA(dc, "しばらくお待ちください", -1, &line3, DT_SINGLELINE | DT_LEFT | DT_VCENTER | DT_NOPREFIX);
  }

  // The progress bar: a sunken track, filled from the left.
  RECT bar = BarRect();
  FrameRect(dc, &bar, GetSysColorBrush(COLOR_BTNSHADOW));
  InflateRect(&bar, -1, -1);
  RECT done = bar;
  done.right = bar.left + filled_;
  if (indeterminate_) {
    // A block a quarter of the bar wide runs from left to right, again and again.
    const int width = bar.right - bar.left, block = width / 4 > 1 ? width / 4 : 1;
    const int at = (marqueeSteps_ * dpi_(6)) % (width + block) - block;
    done.left = bar.left + (at > 0 ? at : 0);
    done.right = bar.left + (at + block < width ? at + block : width);
    if (done.right < done.left) done.right = done.left;
    RECT before = bar;
    before.right = done.left;
    if (before.right > before.left) FillRect(dc, &before, GetSysColorBrush(COLOR_BTNFACE));
  }
  RECT rest = bar;
  rest.left = done.right;
  if (done.right > done.left) FillRect(dc, &done, GetSysColorBrush(COLOR_HIGHLIGHT));
  if (rest.right > rest.left) FillRect(dc, &rest, GetSysColorBrush(COLOR_BTNFACE));
}

}  // namespace quandrel::win32
