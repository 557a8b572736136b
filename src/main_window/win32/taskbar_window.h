// The application window: it has no area of its own, only its taskbar
// button and its title are seen. It owns the main window, hands its own
// activation on to the window the user works with, and its Close (from the
// taskbar) closes the main window.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "ui/win32/window_base.h"

namespace quandrel::win32 {

class TaskbarWindow : private WindowBase {
 public:
  // `mainWindow` answers the main window (null once it is gone). Null when
  // the window can't be made. Shown without activation.
  static std::unique_ptr<TaskbarWindow> Create(HINSTANCE instance, std::function<HWND()> mainWindow);
  ~TaskbarWindow() override;  // destroys the window

  HWND Handle() const { return hwnd_; }

 private:
  explicit TaskbarWindow(std::function<HWND()> mainWindow) : mainWindow_(std::move(mainWindow)) {}
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  std::function<HWND()> mainWindow_;
};

}  // namespace quandrel::win32
