// What the stand-in programs share: their command line, a log beside the
// file they were given, and a window that runs until it is closed.
#pragma once

#include <windows.h>

#include <string>

namespace standin {

// The command line after the program's own (possibly quoted) path.
inline std::string ArgumentsOf(const std::string& line) {
  if (line.empty()) return "";
  std::size_t end = line[0] == '"' ? line.find('"', 1) : line.find(' ');
  if (end == std::string::npos) return "";
  return line.substr(line[0] == '"' ? end + 1 : end);
}

// The program's own path.
inline std::string OwnPath() {
  char self[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  return self;
}

inline void AppendTo(const std::string& path, const std::string& bytes) {
  HANDLE file = ::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
}

inline LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

// Shows a window of class `windowClass` at (x, y) and runs until it is closed.
inline void RunWindow(HINSTANCE instance, const char* windowClass, const std::string& caption, int x, int y) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = windowClass;
  ::RegisterClassA(&wc);
  HWND window = ::CreateWindowA(windowClass, caption.c_str(), WS_OVERLAPPEDWINDOW, x, y, 400, 200, nullptr, nullptr,
                                instance, nullptr);
  ::ShowWindow(window, SW_SHOW);
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

}  // namespace standin
