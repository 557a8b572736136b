// The notification-area icon that stands for the program while the
// database system runs. It keeps its own copy of the icon it shows, for as
// long as the icon is up, and puts the icon back when Explorer starts again.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "ui/win32/gdi_objects.h"

namespace quandrel::win32 {

class TrayIcon {
 public:
  // Clicks on the icon reach `window` as `callbackMessage`.
  TrayIcon(HWND window, UINT callbackMessage);
  ~TrayIcon();  // removes the icon when it is up
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // Puts up a copy of `icon` with the tip (cut to the record's size).
  void Add(const std::string& tip, HICON icon);
  void Remove();
  bool Shown() const { return shown_; }
  // True when `msg` tells that Explorer started again; the icon is then put
  // back while it is up.
  bool Restore(UINT msg);

 private:
  NOTIFYICONDATAA data_{};
  IconHandle icon_;
  bool shown_ = false;
  UINT taskbarCreated_ = 0;
};

}  // namespace quandrel::win32
