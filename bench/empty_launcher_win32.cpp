// The floor of the start figure: a launcher that loads what Quandrel.exe
// loads (the same system DLLs, the same manifest, a GUI program) and does
// nothing but start the bench's program on its database, then wait for it.
// What Quandrel.exe takes beyond this is its own work; this much any
// launcher pays under the Wine it runs on.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

// Quandrel.exe's imports, kept without being called: the loader maps and
// initialises them before WinMain as it does for the launcher.
void* volatile const kImports[] = {reinterpret_cast<void*>(&::RegOpenKeyExA), reinterpret_cast<void*>(&::CreateFontA),
                                   reinterpret_cast<void*>(&::Shell_NotifyIconA),
                                   reinterpret_cast<void*>(&::CreateWindowExA)};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char self[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  if (n == 0 || n >= MAX_PATH || kImports[0] == nullptr) return 1;
  std::string folder(self, n);
  folder.resize(folder.rfind('\\'));
  // As the bench registers it: the program, then the database in quotes.
  std::string line = "\"" + folder + "\\PROBE.EXE\" \"" + folder + "\\BENCH.MDB\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return 1;
  ::WaitForSingleObject(process.hProcess, INFINITE);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return 0;
}
