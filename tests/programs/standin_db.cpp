// Stands in for the database program in the end-to-end tests.
//
//   standin_db.exe [/append] [/empty] [/touch] [/lock] [/exit] "target"
//
// It appends its raw command line to "<target>.cmdline" (to "<its own
// path>.cmdline" when no target is given), then
//   /append  adds the line "edit" to the target (a change made in the run);
//   /empty   cuts the target to 0 bytes (a run that damages the database);
//   /touch   writes "edit" over the target's last four bytes, keeping its
//            size (a change that leaves a database whole);
//   /lock    keeps the target open with no sharing until it ends;
//   /loaddll loads planted_probe.dll by its bare name, as a program loads
//            a DLL of its own, and writes the path it came from (or
//            "not found") to "<target>.dll";
//   /exit    ends at once; otherwise it shows a window of class
//            "QuandrelStandIn" and runs until that window is closed.
#include <string>

#include "standin_common.h"

namespace {

std::string LastQuotedArgument(const std::string& line) {
  std::size_t close = line.rfind('"');
  if (close == std::string::npos || close == 0) return "";
  std::size_t open = line.rfind('"', close - 1);
  if (open == std::string::npos) return "";
  return line.substr(open + 1, close - open - 1);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  std::string line = ::GetCommandLineA();
  std::string rest = standin::ArgumentsOf(line);
  std::string target = LastQuotedArgument(rest);
  auto has = [&](const char* option) { return rest.find(option) != std::string::npos; };

  standin::AppendTo((target.empty() ? standin::OwnPath() : target) + ".cmdline", line + "\r\n");
  if (has("/append") && !target.empty()) standin::AppendTo(target, "edit\r\n");
  if (has("/empty") && !target.empty()) {
    HANDLE file = ::CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
  }
  if (has("/touch") && !target.empty()) {
    HANDLE file = ::CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      ::SetFilePointer(file, -4, nullptr, FILE_END);
      ::WriteFile(file, "edit", 4, &written, nullptr);
      ::CloseHandle(file);
    }
  }

  if (has("/loaddll") && !target.empty()) {
    HMODULE dll = ::LoadLibraryA("planted_probe.dll");
    char path[MAX_PATH] = "not found";
    if (dll) ::GetModuleFileNameA(dll, path, MAX_PATH);
    standin::AppendTo(target + ".dll", path);
  }

  HANDLE held = INVALID_HANDLE_VALUE;
  if (has("/lock") && !target.empty()) {
    held = ::CreateFileA(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  }
  if (has("/exit")) return 0;

  standin::RunWindow(instance, "QuandrelStandIn", "StandIn - " + target, 100, 100);
  if (held != INVALID_HANDLE_VALUE) ::CloseHandle(held);
  return 0;
}
