// Times the launcher around the program it starts, against starting that
// program directly. The same executable is also the started program (a
// "probe"): copied into the bench folder as PROBE.EXE it notes when it began,
// waits for a quit file and notes when it ends.
//   start_time_win32.exe start <Quandrel.exe> <folder> <rounds> <empty launcher>
//     one line per round: direct_ms launcher_ms end_to_window_ms empty_ms
//     (empty_ms: the same program started by the empty launcher, a GUI
//     program with Quandrel.exe's DLLs and manifest that does nothing else)
//   start_time_win32.exe idle <Quandrel.exe> <folder> <seconds> [lockfile]
//     the launcher waits in the tray that long (its CPU time is read outside:
//     Wine does not report another process's times); with "lockfile" the
//     database has a lock file beside it, as while Access has it open, that
//     names this computer and two others
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

double NowMs() {
  FILETIME t;
  ::GetSystemTimePreciseAsFileTime(&t);
  ULARGE_INTEGER u{};
  u.LowPart = t.dwLowDateTime;
  u.HighPart = t.dwHighDateTime;
  return static_cast<double>(u.QuadPart) / 10000.0;
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void Write(const std::string& path, const std::string& text) {
  HANDLE f = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  DWORD n = 0;
  ::WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
  ::CloseHandle(f);
}

double ReadNumber(const std::string& path) {
  char buffer[64] = {};
  HANDLE f = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
  if (f == INVALID_HANDLE_VALUE) return -1;
  DWORD n = 0;
  ::ReadFile(f, buffer, sizeof buffer - 1, &n, nullptr);
  ::CloseHandle(f);
  return n ? std::atof(buffer) : -1;
}

// Waits (polling each millisecond) until `ready` holds; false after `ms`.
template <typename F>
bool WaitFor(F ready, DWORD ms = 20000) {
  const DWORD start = ::GetTickCount();
  while (!ready()) {
    if (::GetTickCount() - start > ms) return false;
    ::Sleep(1);
  }
  return true;
}

int Probe(const std::string& self) {
  const double started = NowMs();
  Write(self + ".start.part", std::to_string(started));
  ::MoveFileA((self + ".start.part").c_str(), (self + ".start").c_str());
  while (!Exists(self + ".quit")) ::Sleep(1);
  Write(self + ".end", std::to_string(NowMs()));
  return 0;
}

PROCESS_INFORMATION Start(const std::string& exe, const std::string& args) {
  std::string line = "\"" + exe + "\"" + args;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::fprintf(stderr, "cannot start %s: error %lu\n", exe.c_str(), ::GetLastError());
    std::exit(1);
  }
  ::CloseHandle(pi.hThread);
  return pi;
}

struct Bench {
  std::string folder, probe, launcher, empty, target;

  void Reset() {
    for (const char* s : {".start", ".quit", ".end"}) ::DeleteFileA((probe + s).c_str());
  }
  // Milliseconds from the start of `exe` to the probe's first moment.
  double TimeToProbe(const std::string& exe, const std::string& args) {
    Reset();
    const double t0 = NowMs();
    PROCESS_INFORMATION pi = Start(exe, args);
    if (!WaitFor([&] { return Exists(probe + ".start"); })) {
      std::fprintf(stderr, "the probe did not start\n");
      std::exit(1);
    }
    last = pi;
    double started = -1;
    WaitFor([&] { return (started = ReadNumber(probe + ".start")) > 0; });  // the probe may still hold it
    return started - t0;
  }
  PROCESS_INFORMATION last{};
};

struct FindMain {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindVisibleMain(HWND w, LPARAM lp) {
  auto* f = reinterpret_cast<FindMain*>(lp);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(w, &pid);
  char cls[64] = {};
  ::GetClassNameA(w, cls, sizeof cls);
  if (pid == f->pid && std::string(cls) == "TFormMain" && ::IsWindowVisible(w)) {
    f->found = w;
    return FALSE;
  }
  return TRUE;
}

HWND VisibleMain(DWORD pid) {
  FindMain f{pid, nullptr};
  ::EnumWindows(FindVisibleMain, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

void EndLauncher(const PROCESS_INFORMATION& pi) {
  ::TerminateProcess(pi.hProcess, 0);
  ::WaitForSingleObject(pi.hProcess, 10000);
  ::CloseHandle(pi.hProcess);
}

void EndProbe(Bench& b, const PROCESS_INFORMATION& pi) {
  Write(b.probe + ".quit", "");
  ::WaitForSingleObject(pi.hProcess, 10000);
  ::CloseHandle(pi.hProcess);
}

Bench Prepare(const std::string& launcherSource, const std::string& folder, const std::string& emptySource) {
  Bench b;
  b.folder = folder;
  ::CreateDirectoryA(folder.c_str(), nullptr);
  char self[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  b.probe = folder + "\\PROBE.EXE";
  b.launcher = folder + "\\Quandrel.exe";
  b.empty = folder + "\\EMPTY.EXE";
  b.target = folder + "\\BENCH.MDB";
  if (!::CopyFileA(self, b.probe.c_str(), FALSE) || !::CopyFileA(launcherSource.c_str(), b.launcher.c_str(), FALSE) ||
      (!emptySource.empty() && !::CopyFileA(emptySource.c_str(), b.empty.c_str(), FALSE))) {
    std::fprintf(stderr, "cannot prepare %s\n", folder.c_str());
    std::exit(1);
  }
  Write(b.target, std::string(64 * 1024, 'd'));  // a small database: its snapshot is part of the start
  Write(folder + "\\Quandrel.INI", "[Execute]\r\nDBPath=BENCH.MDB\r\n");
  // The database opens with the probe.
  HKEY key;
  ::RegCreateKeyA(HKEY_CLASSES_ROOT, ".mdb", &key);
  ::RegSetValueA(key, nullptr, REG_SZ, "QuandrelBench.Mdb", 0);
  ::RegCloseKey(key);
  const std::string command = "\"" + b.probe + "\" \"%1\"";
  ::RegCreateKeyA(HKEY_CLASSES_ROOT, "QuandrelBench.Mdb\\shell\\open\\command", &key);
  ::RegSetValueA(key, nullptr, REG_SZ, command.c_str(), 0);
  ::RegCloseKey(key);
  return b;
}

// How long the program runs in each round before it is told to end.
constexpr DWORD kRunMs = 2000;

int StartRounds(Bench& b, int rounds) {
  // Round -1 warms up and is not reported: the first start in a fresh
  // prefix builds Wine's caches (fonts, registry) and would stand for none.
  for (int i = -1; i < rounds; ++i) {
    double direct = 0, launcher = 0, toWindow = 0, empty = 0;
    for (int k = 0; k < 3; ++k) {
      const int which = (k + i + 3) % 3;  // the three are interleaved, their order rotating
      if (which == 0) {
        direct = b.TimeToProbe(b.probe, " \"" + b.target + "\"");
        EndProbe(b, b.last);
      } else if (which == 1) {
        empty = b.TimeToProbe(b.empty, "");
        PROCESS_INFORMATION launcherProcess = b.last;
        ::Sleep(kRunMs);  // as long as the program runs under Quandrel.exe
        EndProbe(b, launcherProcess);  // the empty launcher ends with its program
      } else {
        launcher = b.TimeToProbe(b.launcher, "");
        PROCESS_INFORMATION quandrel = b.last;
        // The program runs a while, as any database session does: the
        // launcher readies its main window once the program has run a
        // second, and a run ended at once would time a case no user meets.
        ::Sleep(kRunMs);
        Write(b.probe + ".quit", "");
        if (!WaitFor([&] { return Exists(b.probe + ".end"); }) || !WaitFor([&] { return VisibleMain(quandrel.dwProcessId) != nullptr; })) {
          std::fprintf(stderr, "the main window did not come back\n");
          return 1;
        }
        toWindow = NowMs() - ReadNumber(b.probe + ".end");
        EndLauncher(quandrel);
      }
    }
    if (i < 0) continue;
    std::printf("%.1f %.1f %.1f %.1f\n", direct, launcher, toWindow, empty);
    std::fflush(stdout);
  }
  return 0;
}

// One lock-file record: computer and user, 32 zero-padded bytes each.
std::string LockRecord(const std::string& computer, const std::string& user) {
  std::string record = computer;
  record.resize(32, '\0');
  record += user;
  record.resize(64, '\0');
  return record;
}

// Starts the launcher and leaves it waiting in the tray for `seconds`; the
// caller measures it meanwhile.
int Idle(Bench& b, int seconds, bool lockFile) {
  if (lockFile) {
    char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof computer;
    ::GetComputerNameA(computer, &size);
    Write(b.folder + "\\BENCH.ldb",
          LockRecord(computer, "Admin") + LockRecord("KEIRI-PC2", "Admin") + LockRecord("EIGYO-PC", "Admin"));
  }
  b.TimeToProbe(b.launcher, "");
  PROCESS_INFORMATION quandrel = b.last;
  ::Sleep(static_cast<DWORD>(seconds) * 1000);
  Write(b.probe + ".quit", "");
  WaitFor([&] { return Exists(b.probe + ".end"); });
  EndLauncher(quandrel);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  char self[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string me = self;
  if (me.size() >= 9 && lstrcmpiA(me.c_str() + me.size() - 9, "PROBE.EXE") == 0) return Probe(me);
  if (argc < 5 || (std::string(argv[1]) == "start" && argc < 6)) {
    std::fprintf(stderr, "usage: start_time_win32 start <Quandrel.exe> <folder> <rounds> <empty launcher>\n"
                         "       start_time_win32 idle <Quandrel.exe> <folder> <seconds> [lockfile]\n");
    return 2;
  }
  const bool idle = std::string(argv[1]) == "idle";
  Bench b = Prepare(argv[2], argv[3], !idle && argc > 5 ? argv[5] : "");
  const int n = std::atoi(argv[4]);
  return idle ? Idle(b, n, argc > 5 && std::string(argv[5]) == "lockfile") : StartRounds(b, n);
}
