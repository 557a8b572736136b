// Helpers for end-to-end tests that run Quandrel.exe with the stand-in
// database program registered for a file type.
#pragma once

#include "driver/driver.h"

namespace qtest {

// The association command for the stand-in: its quoted path, the options
// and the quoted "%1" token.
inline std::string StandInCommand(const std::string& options) {
  return "\"" + StandInExe("standin_db") + "\" " + options + " \"%1\"";
}

// The stand-in's window once it shows (any process), or null.
inline HWND WaitStandIn(int timeoutMs = kWaitMs) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = ::FindWindowA("QuandrelStandIn", nullptr)) != nullptr; }, timeoutMs);
  return found;
}

// Ends every stand-in and waits until their windows are gone.
inline bool CloseStandIns() {
  while (HWND w = ::FindWindowA("QuandrelStandIn", nullptr)) {
    ::PostMessageA(w, WM_CLOSE, 0, 0);
    if (!WaitUntil([&] { return !::IsWindow(w); })) return false;
  }
  return true;
}

// The launcher's main window, once it is shown (end mode).
inline HWND WaitMainShown(const Process& launcher, int timeoutMs = kWaitMs) {
  HWND main = FindTopWindow(launcher.Id(), "TFormMain", timeoutMs);
  if (!main || !WaitUntil([&] { return IsShown(main); }, timeoutMs)) return nullptr;
  return main;
}

// Waits for the running stand-in, ends it and waits for the launcher's
// end mode; null when one of them does not come.
inline HWND EndStandInRun(const Process& launcher) {
  if (!WaitStandIn()) return nullptr;
  if (!CloseStandIns()) return nullptr;
  return WaitMainShown(launcher);
}

// Closes the launcher's main window and waits for the process to end.
inline std::optional<DWORD> CloseLauncher(Process& launcher, HWND main) {
  ::PostMessageA(main, WM_CLOSE, 0, 0);
  return launcher.WaitExit();
}

}  // namespace qtest
