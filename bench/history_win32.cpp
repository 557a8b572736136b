// Times the file work of history inside a Win32 process, with the real
// Win32 adapters, against what it is measured by:
//   history_win32.exe fill <target> <count>     makes <count> generations of the
//                                               target (copies of it), untimed
//   history_win32.exe newest <target>           prints the newest generation's path
//   history_win32.exe restore <target> <settings>
//                                               puts the newest generation back
//                                               over the target (keeping 10)
//   history_win32.exe copyfile <source> <copy>  CopyFileA, then FlushFileBuffers
//                                               of the copy
//   history_win32.exe save <target> <settings> on|off
//                                               save & continue of the target's
//                                               .TMP, keeping 10 generations and
//                                               logging (on) or neither (off)
// The timed modes print the seconds they took. The log goes beside
// <settings> as the program's does. With QUANDREL_BENCH_STEPS set, restore
// and save print each file call's time to stderr as well, to see where a
// figure's time goes.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "history/generations.h"
#include "history/restore.h"
#include "history/run_log.h"
#include "launch/end_of_run.h"
#include "launch/history_keeping.h"
#include "launch/snapshot.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_system.h"

namespace {

using namespace quandrel;

constexpr int kKeep = 10;

double Now() {
  LARGE_INTEGER frequency, now;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&now);
  return double(now.QuadPart) / double(frequency.QuadPart);
}

// Passes every call on and prints how long it took.
class TimedFiles : public Files {
 public:
  explicit TimedFiles(Files& inner) : inner_(inner) {}

#define QUANDREL_TIMED(name, call)                                                  \
  const double from = Now();                                                        \
  auto result = inner_.call;                                                        \
  std::fprintf(stderr, "  %-14s %8.2f ms\n", name, (Now() - from) * 1000.0);        \
  return result;
  bool FileExists(const std::string& p) override { QUANDREL_TIMED("FileExists", FileExists(p)) }
  std::string FullPath(const std::string& p) override { QUANDREL_TIMED("FullPath", FullPath(p)) }
  OsResult Read(const std::string& p, std::string* b) override { QUANDREL_TIMED("Read", Read(p, b)) }
  OsResult ReadHead(const std::string& p, std::size_t n, std::string* h, std::uint64_t* s) override {
    QUANDREL_TIMED("ReadHead", ReadHead(p, n, h, s))
  }
  std::optional<FileStamp> Stamp(const std::string& p) override { QUANDREL_TIMED("Stamp", Stamp(p)) }
  OsResult OpenExclusively(const std::string& p) override { QUANDREL_TIMED("OpenExclusively", OpenExclusively(p)) }
  OsResult WriteNew(const std::string& p, const std::string& b) override { QUANDREL_TIMED("WriteNew", WriteNew(p, b)) }
  OsResult Copy(const std::string& s, const std::string& d, const CopyProgress& g) override {
    QUANDREL_TIMED("Copy", Copy(s, d, g))
  }
  OsResult Remove(const std::string& p) override { QUANDREL_TIMED("Remove", Remove(p)) }
  OsResult Move(const std::string& s, const std::string& d) override { QUANDREL_TIMED("Move", Move(s, d)) }
  OsResult Replace(const std::string& s, const std::string& d) override { QUANDREL_TIMED("Replace", Replace(s, d)) }
  OsResult Hold(const std::string& p, std::unique_ptr<FileHold>* h) override { QUANDREL_TIMED("Hold", Hold(p, h)) }
  bool InUse(const std::string& p) override { QUANDREL_TIMED("InUse", InUse(p)) }
  std::string FinalPath(const std::string& p) override { QUANDREL_TIMED("FinalPath", FinalPath(p)) }
  OsResult ChangeDirectory(const std::string& p) override { QUANDREL_TIMED("ChangeDirectory", ChangeDirectory(p)) }
  std::vector<std::string> FindNames(const std::string& p) override { QUANDREL_TIMED("FindNames", FindNames(p)) }
  std::vector<FileEntry> FindEntries(const std::string& p) override { QUANDREL_TIMED("FindEntries", FindEntries(p)) }
  OsResult MakeFolder(const std::string& p) override { QUANDREL_TIMED("MakeFolder", MakeFolder(p)) }
  OsResult SetReadOnly(const std::string& p, bool r) override { QUANDREL_TIMED("SetReadOnly", SetReadOnly(p, r)) }
  OsResult Append(const std::string& p, const std::string& b) override { QUANDREL_TIMED("Append", Append(p, b)) }
#undef QUANDREL_TIMED

 private:
  Files& inner_;
};

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

bool CopyFileAndFlush(const std::string& source, const std::string& copy) {
  if (!::CopyFileA(source.c_str(), copy.c_str(), FALSE)) return false;
  HANDLE out = ::CreateFileA(copy.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  const bool flushed = ::FlushFileBuffers(out) != FALSE;
  return ::CloseHandle(out) && flushed;
}

int Fail(const char* what, std::uint32_t error) {
  std::fprintf(stderr, "%s failed: error %u\n", what, static_cast<unsigned>(error));
  return 1;
}

int Fill(Files& files, win32::Win32System& system, const std::string& target, int count) {
  const std::string seed = target + ".SEED";
  for (int i = 0; i < count; ++i) {
    OsResult copied = files.Copy(target, seed, nullptr);
    if (!copied) return Fail("copy", copied.error);
    history::Kept kept = history::Keep(files, system, target, seed, history::Reason::SaveAndExit);
    if (!kept.result) return Fail("keep", kept.result.error);
  }
  return 0;
}

int Restore(Files& files, win32::Win32System& system, const std::string& target,
            const std::string& settings) {
  const std::vector<history::Generation> all = history::List(files, target);
  if (all.empty()) return Fail("no generation to restore:", 0);
  history::RunLog log(files, system, settings, true);
  LARGE_INTEGER start, end;
  ::QueryPerformanceCounter(&start);
  history::RestoreOutcome out = history::Restore(files, system, log, {target, all.front().path, all.front().stamp, kKeep},
                                                 nullptr, nullptr, SoundDatabaseCheck(files));
  ::QueryPerformanceCounter(&end);
  if (!out.restored || !out.errors.empty()) {
    for (const std::string& e : out.errors) std::fprintf(stderr, "%s\n", e.c_str());
    return Fail("restore", 0);
  }
  std::printf("%.4f\n", Seconds(start, end));
  return 0;
}

int Save(Files& files, win32::Win32System& system, const std::string& target,
         const std::string& settings, bool on) {
  const RunFiles run = RunFilesFor(target);
  history::RunLog log(files, system, settings, on);
  HistoryKeeping history;
  if (on) history = HistoryKeeping{kKeep, &log};
  LARGE_INTEGER start, end;
  ::QueryPerformanceCounter(&start);
  ContinueOutcome out = SaveAndSnapshot(files, system, run, RunSnapshot{true, target}, nullptr, nullptr, history);
  ::QueryPerformanceCounter(&end);
  if (!out.relaunch || !out.snapshot.taken || !out.errors.empty()) {
    for (const std::string& e : out.errors) std::fprintf(stderr, "%s\n", e.c_str());
    return Fail("save & continue", 0);
  }
  std::printf("%.4f\n", Seconds(start, end));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: history_win32 fill|newest|restore|copyfile|save ...\n");
    return 2;
  }
  const std::string mode = argv[1], first = argv[2], second = argc > 3 ? argv[3] : "";
  win32::Win32Files win32Files;
  TimedFiles timed(win32Files);
  Files& files = std::getenv("QUANDREL_BENCH_STEPS") ? static_cast<Files&>(timed) : win32Files;
  win32::Win32System system;
  if (mode == "fill" && argc > 3) return Fill(files, system, first, std::atoi(argv[3]));
  if (mode == "newest") {
    const std::vector<history::Generation> all = history::List(files, first);
    if (all.empty()) return 1;
    std::printf("%s\n", all.front().path.c_str());
    return 0;
  }
  if (mode == "restore" && argc > 3) return Restore(files, system, first, second);
  if (mode == "copyfile" && argc > 3) {
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    if (!CopyFileAndFlush(first, second)) return Fail("CopyFileA", ::GetLastError());
    ::QueryPerformanceCounter(&end);
    std::printf("%.4f\n", Seconds(start, end));
    return 0;
  }
  if (mode == "save" && argc > 4) return Save(files, system, first, second, std::string(argv[4]) == "on");
  std::fprintf(stderr, "unknown mode or missing arguments: %s\n", mode.c_str());
  return 2;
}
