// A window that is shown modally over its owner, as another window's code
// sees it: the owner needs no more than this to open one.
#pragma once

#include <windows.h>

namespace quandrel::win32 {

class ModalWindow {
 public:
  virtual ~ModalWindow() = default;
  virtual HWND Handle() const = 0;
  // Returns when the window is closed; the owner takes no input meanwhile.
  virtual void ShowModal() = 0;
};

}  // namespace quandrel::win32
