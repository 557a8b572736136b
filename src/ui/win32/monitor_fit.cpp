#include "ui/win32/monitor_fit.h"

#include "ui/screen_fit.h"

namespace quandrel::win32 {

namespace {

ui::Box ToBox(const RECT& r) { return ui::Box{r.left, r.top, r.right, r.bottom}; }
RECT ToRect(const ui::Box& b) { return RECT{b.left, b.top, b.right, b.bottom}; }

ui::Size SizeOf(const RECT& r) { return ui::Size{r.right - r.left, r.bottom - r.top}; }

// What the title bar and borders add to a client area of this style.
ui::Size FrameOf(DWORD style, DWORD exStyle) {
  RECT r{0, 0, 0, 0};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  return SizeOf(r);
}

}  // namespace

RECT WorkAreaNear(HWND neighbour) {
  HMONITOR monitor = neighbour ? MonitorFromWindow(neighbour, MONITOR_DEFAULTTOPRIMARY)
                          : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (monitor && GetMonitorInfoA(monitor, &info) && info.rcWork.right > info.rcWork.left &&
      info.rcWork.bottom > info.rcWork.top) {
    return info.rcWork;
  }
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

int FittingDotsPerInch(HWND neighbour, int screenDotsPerInch, int clientW, int clientH, DWORD style, DWORD exStyle) {
  return ui::FittingDotsPerInch(ui::Size{clientW, clientH}, FrameOf(style, exStyle), SizeOf(WorkAreaNear(neighbour)),
                                screenDotsPerInch);
}

int FittingDotsPerInchOuter(HWND neighbour, int screenDotsPerInch, int outerW, int outerH) {
  return ui::FittingDotsPerInch(ui::Size{outerW, outerH}, ui::Size{0, 0}, SizeOf(WorkAreaNear(neighbour)),
                                screenDotsPerInch);
}

RECT PlacedOuterRect(HWND neighbour, int outerW, int outerH) {
  return ToRect(ui::CentredInside(ui::Size{outerW, outerH}, ToBox(WorkAreaNear(neighbour))));
}

RECT PlacedWindowRect(HWND neighbour, int clientW, int clientH, DWORD style, DWORD exStyle) {
  const ui::Size frame = FrameOf(style, exStyle);
  return PlacedOuterRect(neighbour, clientW + frame.w, clientH + frame.h);
}

void SetOuterHeightShowingAbove(HWND window, int outerH, int hiddenTop) {
  RECT outer, client;
  if (!GetWindowRect(window, &outer) || !GetClientRect(window, &client)) return;
  const int nonClient = (outer.bottom - outer.top) - (client.bottom - client.top);
  const int height = ui::OuterHeightShowingAbove(outerH, nonClient, hiddenTop);
  const ui::Box resized{outer.left, outer.top, outer.right, outer.top + height};
  const ui::Box kept = ui::KeptInside(resized, ToBox(WorkAreaNear(window)));
  SetWindowPos(window, nullptr, kept.left, kept.top, kept.Width(), kept.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace quandrel::win32
