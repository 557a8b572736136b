// The single-instance guard: a named mutex that exists while a launcher of
// this executable path runs.
#pragma once

#include <windows.h>

#include <string>

namespace quandrel::win32 {

class InstanceMutex {
 public:
  enum class Outcome { Acquired, AlreadyRunning };

  // Looks for a running launcher with this instance name and, when there is
  // none, creates the guard. Of any number of simultaneous starts with the
  // same name exactly one acquires it.
  Outcome Acquire(const std::string& instanceName);
  // Releases the guard at the end of the run.
  void Release();

 private:
  HANDLE handle_ = nullptr;
};

}  // namespace quandrel::win32
