// The Win32 frame of the backup window TFormBackUp: a fixed window with a
// caption and no title-bar buttons, shown modally over the main window.
#pragma once

#include <windows.h>

#include <memory>

#include "MainMenu/win32/window_kit.h"

namespace quandrel::win32 {

class BackupWindow {
 public:
  // Creates the window, hidden, owned by `owner` and centred on the desktop.
  // Null when it can't be created.
  static std::unique_ptr<BackupWindow> Create(HINSTANCE instance, HWND owner);
  ~BackupWindow();  // destroys the window
  BackupWindow(const BackupWindow&) = delete;
  BackupWindow& operator=(const BackupWindow&) = delete;

  // Shows the window modally: the owner takes no input until the window is
  // closed (Esc, Alt+F4 or Close()); the owner is enabled again and
  // activated. A WM_QUIT met meanwhile ends the wait and is posted again.
  void ShowModal();
  // Ends a modal showing (hides the window).
  void Close();

  HWND Handle() const { return hwnd_; }

 private:
  BackupWindow() = default;
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);

  Dpi dpi_;
  HWND hwnd_ = nullptr;
  HWND owner_ = nullptr;
  HFONT font_ = nullptr;
  bool modal_ = false;
};

}  // namespace quandrel::win32
