#pragma once

#include "platform/processes.h"

namespace quandrel::win32 {

// ShellExecuteA reports a failure by a code of its own (SE_ERR_...); the
// error code of the system that means the same, so that every OsResult
// carries one kind of code and is worded right.
std::uint32_t Win32ErrorOfShellResult(std::uintptr_t code);

class Win32Processes : public Processes {
 public:
  OsResult Start(const std::string& commandLine, StartupShape shape, ProcessRecord* record) override;
  WaitOutcome Wait(const ProcessRecord& record, std::uint32_t milliseconds) override;
  void CloseHandles(std::uintptr_t process, std::uintptr_t thread) override;
  OsResult ShellOpen(std::uintptr_t owner, const std::string& file, const std::string& parameters) override;
};

}  // namespace quandrel::win32
