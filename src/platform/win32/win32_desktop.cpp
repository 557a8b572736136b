#include "platform/win32/win32_desktop.h"

#include <windows.h>

namespace quandrel::win32 {

namespace {
// The thread is asked again rather than taken from the listing: a window
// that has gone meanwhile reports thread 0, which the lock passes over.
BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
  auto* windows = reinterpret_cast<std::vector<TopLevelWindow>*>(param);
  windows->push_back({reinterpret_cast<std::uintptr_t>(window), ::GetWindowThreadProcessId(window, nullptr)});
  return TRUE;
}
}  // namespace

std::vector<TopLevelWindow> Win32Desktop::TopLevelWindowsOf(std::uint32_t threadId) {
  std::vector<TopLevelWindow> windows;
  // Thread 0 names no thread; Wine would take it for every thread.
  if (threadId == 0) return windows;
  ::EnumThreadWindows(threadId, CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

void Win32Desktop::DisableClose(std::uintptr_t handle) {
  HWND window = reinterpret_cast<HWND>(handle);
  // Disabling Close in the window menu also greys the title bar's close box.
  HMENU menu = ::GetSystemMenu(window, FALSE);
  if (menu) ::EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_DISABLED);
  ::DrawMenuBar(window);
  ::SetFocus(window);
}

unsigned Win32Desktop::DriveType(const std::string& root) { return ::GetDriveTypeA(root.c_str()); }

std::optional<std::uint64_t> Win32Desktop::FreeBytes(const std::string& root) {
  ULARGE_INTEGER available{};
  if (!::GetDiskFreeSpaceExA(root.c_str(), &available, nullptr, nullptr)) return std::nullopt;
  return available.QuadPart;
}

}  // namespace quandrel::win32
