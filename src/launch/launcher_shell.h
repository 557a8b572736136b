// The launcher's own windows as the launch cycle sees them: tray icon, main
// window, application window (the one with the taskbar button), the wait
// window and the message pump.
#pragma once

#include <memory>
#include <string>

#include "launch/wait_window.h"

namespace quandrel {

class LauncherShell {
 public:
  virtual ~LauncherShell() = default;

  // Fills the tray record afresh (88 bytes, uID 1, flags 7, the main
  // window's own tray message, the application's icon, this tip) and adds
  // the icon (NIM_ADD).
  virtual void AddTrayIcon(const std::string& tip) = 0;
  // Removes the icon with the same record (NIM_DELETE).
  virtual void RemoveTrayIcon() = 0;

  virtual void ShowMainWindow(bool visible) = 0;
  // SW_SHOW / SW_HIDE on the application window: its taskbar button.
  virtual void ShowApplicationWindow(bool visible) = 0;
  // Brings the application to the front, then SetForegroundWindow on the
  // application window.
  virtual void BringToFront() = 0;
  // Handles every pending message of the user-interface thread.
  virtual void PumpMessages() = 0;

  // Creates the wait window owned by the main window and paints it at once.
  virtual std::unique_ptr<WaitWindow> OpenWaitWindow() = 0;

  // Makes the parts of the main window that only its showing needs (its
  // controls); the watch calls it once the program has run a second, so
  // that they are made neither before the program's start nor during it.
  // Showing the main window makes them too, and a second call does nothing.
  virtual void PrepareMainWindow() = 0;
};

}  // namespace quandrel
