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

// The process record: what the start reports. The handles are opaque here.
struct ProcessRecord {
  std::uintptr_t process = 0;
  std::uintptr_t thread = 0;
  std::uint32_t processId = 0;
  std::uint32_t threadId = 0;  // the primary thread: the close lock compares it
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
  // `record` is overwritten; on failure it holds no process.
  virtual OsResult Start(const std::string& commandLine, StartupShape shape,
                         ProcessRecord* record) = 0;
  // Waits at most `milliseconds` for the process of the record to end.
  virtual WaitOutcome Wait(const ProcessRecord& record, std::uint32_t milliseconds) = 0;
  // Closes the record's handles; the record then holds no process.
  virtual void Release(ProcessRecord* record) = 0;
  // ShellExecuteA(owner, "OPEN", file, parameters, "", SW_SHOW).
  virtual OsResult ShellOpen(std::uintptr_t owner, const std::string& file,
                             const std::string& parameters) = 0;
};

}  // namespace quandrel
