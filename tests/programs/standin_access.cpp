// Stands in for Microsoft Access (MSACCESS.EXE) in the end-to-end tests.
//
//   standin_access.exe "database" /Compact
//
// It appends its raw command line and a CR LF to "<database>.access" (to
// "<its own path>.access" when no database is named), then, when the
// environment variable QUANDREL_ACCESS_STANDIN is "exit", ends at once;
// otherwise it shows a window of class "QuandrelAccessStandIn" and runs
// until that window is closed. The database itself is left as it is.
#include <windows.h>

#include <string>

namespace {

// The first double-quoted argument after the program's own path.
std::string FirstQuotedArgument(const std::string& rest) {
  std::size_t open = rest.find('"');
  if (open == std::string::npos) return "";
  std::size_t close = rest.find('"', open + 1);
  if (close == std::string::npos) return "";
  return rest.substr(open + 1, close - open - 1);
}

void AppendTo(const std::string& path, const std::string& bytes) {
  HANDLE file = ::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  std::string line = ::GetCommandLineA();
  std::size_t programEnd = line[0] == '"' ? line.find('"', 1) + 1 : line.find(' ');
  std::string rest = programEnd == std::string::npos ? "" : line.substr(programEnd);
  std::string database = FirstQuotedArgument(rest);

  char self[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  AppendTo((database.empty() ? std::string(self) : database) + ".access", line + "\r\n");

  char mode[16] = {};
  if (::GetEnvironmentVariableA("QUANDREL_ACCESS_STANDIN", mode, sizeof mode) && std::string(mode) == "exit") {
    return 0;
  }

  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "QuandrelAccessStandIn";
  ::RegisterClassA(&wc);
  std::string caption = "Access StandIn - " + database;
  HWND window = ::CreateWindowA("QuandrelAccessStandIn", caption.c_str(), WS_OVERLAPPEDWINDOW, 150, 150, 400, 200,
                                nullptr, nullptr, instance, nullptr);
  ::ShowWindow(window, SW_SHOW);
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return 0;
}
