// Starting and waiting for other programs.
#pragma once

#include <cstdint>
#include <string>

#include "platform/os_result.h"

namespace quandrel {

// How the startup record handed to a new process is filled.
enum class StartupShape {
  // The launcher's own startup information unchanged (GetStartupInfoA).
  AsLauncher,
  // The launcher's own, with wShowWindow 3 (maximized) and dwXSize and
  // dwYSize 0xF030, as for the program that works on the target.
  Maximized,
};

class Processes;

// The process record: what the start reports. The handles are opaque here;
// the record owns them and has the Processes that started it close them
// when it is reset, given another process, or goes. It must not outlive
// that Processes.
class ProcessRecord {
 public:
  std::uintptr_t process = 0;
  std::uintptr_t thread = 0;
  std::uint32_t processId = 0;
  std::uint32_t threadId = 0;  // the primary thread: the close lock compares it

  ProcessRecord() = default;
  ProcessRecord(const ProcessRecord&) = delete;
  ProcessRecord& operator=(const ProcessRecord&) = delete;
  ProcessRecord(ProcessRecord&& other) noexcept { TakeFrom(other); }
  ProcessRecord& operator=(ProcessRecord&& other) noexcept {
    if (this != &other) {
      Reset();
      TakeFrom(other);
    }
    return *this;
  }
  ~ProcessRecord() { Reset(); }

  // Closes the handles; the record then holds no process.
  void Reset();
  // Called by the Processes that filled in the handles: it closes them.
  void ClosedBy(Processes& processes) { closer_ = &processes; }

 private:
  void TakeFrom(ProcessRecord& other) {
    process = other.process;
    thread = other.thread;
    processId = other.processId;
    threadId = other.threadId;
    closer_ = other.closer_;
    other.process = other.thread = 0;
    other.processId = other.threadId = 0;
    other.closer_ = nullptr;
  }
  Processes* closer_ = nullptr;
};

enum class WaitOutcome {
  StillRunning,  // the wait timed out
  Over,          // the process has ended, or there is no process to wait for
};

class Processes {
 public:
  virtual ~Processes() = default;

  // CreateProcessA with no application name, this command line, no
  // inheritance, flags 0, the launcher's environment and current directory.
  // `record` is overwritten (a process it held is closed first); on failure
  // it holds no process.
  virtual OsResult Start(const std::string& commandLine, StartupShape shape,
                         ProcessRecord* record) = 0;
  // Waits at most `milliseconds` for the process of the record to end.
  virtual WaitOutcome Wait(const ProcessRecord& record, std::uint32_t milliseconds) = 0;
  // Closes the handles of a record this started (ProcessRecord::Reset
  // calls it; zero stands for no handle).
  virtual void CloseHandles(std::uintptr_t process, std::uintptr_t thread) = 0;
  // ShellExecuteA(owner, "OPEN", file, parameters, "", SW_SHOW).
  virtual OsResult ShellOpen(std::uintptr_t owner, const std::string& file,
                             const std::string& parameters) = 0;
};

inline void ProcessRecord::Reset() {
  if (closer_ && (process != 0 || thread != 0)) closer_->CloseHandles(process, thread);
  process = thread = 0;
  processId = threadId = 0;
  closer_ = nullptr;
}

}  // namespace quandrel
