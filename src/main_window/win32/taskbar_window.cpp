#include "main_window/win32/taskbar_window.h"

#include "ui/win32/window_class.h"

namespace quandrel::win32 {

namespace {

const char kAppClass[] = "QuandrelApplication";

// Posted to the application window when it is activated: the activation is
// handed on to the window the user works with.
constexpr UINT kActivateOwned = WM_APP + 1;

}  // namespace

std::unique_ptr<TaskbarWindow> TaskbarWindow::Create(HINSTANCE instance, std::function<HWND()> mainWindow) {
  if (!RegisterWindowClass(instance, kAppClass, WindowBase::Proc, IDC_ARROW, 0)) return nullptr;
  std::unique_ptr<TaskbarWindow> w(new TaskbarWindow(std::move(mainWindow)));
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  const RECT r{sw / 2, sh / 2, sw / 2, sh / 2};
  if (!w->CreateFrame(instance, 0, kAppClass, "Quandrel",
                      WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS, r, nullptr)) {
    return nullptr;
  }
  return w;
}

TaskbarWindow::~TaskbarWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT TaskbarWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) PostMessageA(hwnd_, kActivateOwned, 0, 0);
      return 0;
    case kActivateOwned: {
      if (GetActiveWindow() != hwnd_) return 0;
      HWND target = GetLastActivePopup(hwnd_);
      if (!target || target == hwnd_ || !IsWindowVisible(target) || !IsWindowEnabled(target)) target = mainWindow_();
      if (target && IsWindowVisible(target) && IsWindowEnabled(target)) SetActiveWindow(target);
      return 0;
    }
    case WM_CLOSE:
      // Closing from the taskbar closes the main window, which ends the program.
      if (HWND main = mainWindow_()) PostMessageA(main, WM_CLOSE, 0, 0);
      return 0;
  }
  return DefWindowProcA(hwnd_, msg, wp, lp);
}

}  // namespace quandrel::win32
