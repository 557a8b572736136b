// Stands in for the database program in the end-to-end tests.
//
//   standin_db.exe [/append] [/lock] [/exit] "target"
//
// It appends its raw command line to "<target>.cmdline" (to "<its own
// path>.cmdline" when no target is given), then
//   /append  adds the line "edit" to the target (a change made in the run);
//   /lock    keeps the target open with no sharing until it ends;
//   /exit    ends at once; otherwise it shows a window of class
//            "QuandrelStandIn" and runs until that window is closed.
#include <windows.h>

#include <string>

namespace {

std::string LastQuotedArgument(const std::string& line) {
  std::size_t close = line.rfind('"');
  if (close == std::string::npos || close == 0) return "";
  std::size_t open = line.rfind('"', close - 1);
  if (open == std::string::npos) return "";
  return line.substr(open + 1, close - open - 1);
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
  // The program's own path comes first and may be quoted: the options and
  // the target follow it.
  std::size_t programEnd = line[0] == '"' ? line.find('"', 1) + 1 : line.find(' ');
  std::string rest = programEnd == std::string::npos ? "" : line.substr(programEnd);
  std::string target = LastQuotedArgument(rest);
  auto has = [&](const char* option) { return rest.find(option) != std::string::npos; };

  char self[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  AppendTo((target.empty() ? std::string(self) : target) + ".cmdline", line + "\r\n");
  if (has("/append") && !target.empty()) AppendTo(target, "edit\r\n");

  HANDLE held = INVALID_HANDLE_VALUE;
  if (has("/lock") && !target.empty()) {
    held = ::CreateFileA(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  }
  if (has("/exit")) return 0;

  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "QuandrelStandIn";
  ::RegisterClassA(&wc);
  std::string caption = "StandIn - " + target;
  HWND window = ::CreateWindowA("QuandrelStandIn", caption.c_str(), WS_OVERLAPPEDWINDOW, 100, 100, 400, 200,
                                nullptr, nullptr, instance, nullptr);
  ::ShowWindow(window, SW_SHOW);
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  if (held != INVALID_HANDLE_VALUE) ::CloseHandle(held);
  return 0;
}
