#include "ui/win32/window_class.h"

namespace quandrel::win32 {

std::string WindowText(HWND hwnd) {
  const int n = GetWindowTextLengthA(hwnd);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  const int got = GetWindowTextA(hwnd, s.data(), n + 1);
  s.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return s;
}

bool RegisterWindowClass(HINSTANCE instance, const char* name, WNDPROC proc, LPCSTR cursor, int background) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExA(instance, name, &wc)) return true;
  wc = WNDCLASSEXA{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, cursor);
  if (background != 0) wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
  wc.lpszClassName = name;
  return RegisterClassExA(&wc) != 0;
}

}  // namespace quandrel::win32
