// The single-instance guard: a named mutex that exists while a launcher of
// this executable path runs.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/unique_handle.h"

namespace quandrel::win32 {

class InstanceMutex {
 public:
  enum class Outcome { Acquired, AlreadyRunning };

  // Looks for a running launcher with this instance name and, when there is
  // none, creates the guard. Of any number of simultaneous starts with the
  // same name exactly one acquires it.
  Outcome Acquire(const std::string& instanceName);
  // Releases the guard at the end of the run (also when the guard goes).
  void Release();

 private:
  KernelHandle handle_;
};

}  // namespace quandrel::win32
