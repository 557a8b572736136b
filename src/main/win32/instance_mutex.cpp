#include "main/win32/instance_mutex.h"

#include <utility>

namespace quandrel::win32 {

namespace {

// Mutex names may not hold a backslash (it would name a namespace) nor run
// past MAX_PATH. A name the platform refuses is made acceptable the same way
// in every start, so that such paths are guarded too instead of running
// unguarded.
std::string AcceptableName(const std::string& name) {
  std::string safe = name;
  for (char& c : safe) {
    if (c == '\\') c = '_';
  }
  if (safe.size() > MAX_PATH - 1) safe.resize(MAX_PATH - 1);
  return safe;
}

bool NameRefused(DWORD error) {
  return error == ERROR_PATH_NOT_FOUND || error == ERROR_BAD_PATHNAME || error == ERROR_INVALID_NAME ||
         error == ERROR_FILENAME_EXCED_RANGE || error == ERROR_INVALID_PARAMETER;
}

}  // namespace

InstanceMutex::Outcome InstanceMutex::Acquire(const std::string& instanceName) {
  std::string name = instanceName;
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (KernelHandle(::OpenMutexA(MUTEX_ALL_ACCESS, FALSE, name.c_str()))) return Outcome::AlreadyRunning;
    ::SetLastError(ERROR_SUCCESS);
    KernelHandle created(::CreateMutexA(nullptr, FALSE, name.c_str()));
    DWORD error = ::GetLastError();
    if (created) {
      // Another start created it between our open and our create.
      if (error == ERROR_ALREADY_EXISTS) return Outcome::AlreadyRunning;
      handle_ = std::move(created);
      return Outcome::Acquired;
    }
    // An object of another kind holds the name: treat it as taken.
    if (error == ERROR_INVALID_HANDLE) return Outcome::AlreadyRunning;
    if (!NameRefused(error) || name == AcceptableName(name)) break;
    name = AcceptableName(name);
  }
  // The platform gave no guard at all; the launcher still runs.
  return Outcome::Acquired;
}

void InstanceMutex::Release() {
  if (handle_) ::ReleaseMutex(handle_.get());
  handle_.reset();
}

}  // namespace quandrel::win32
