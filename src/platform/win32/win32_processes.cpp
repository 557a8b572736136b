#include "platform/win32/win32_processes.h"

#include <windows.h>

#include <vector>

namespace quandrel::win32 {

OsResult Win32Processes::Start(const std::string& commandLine, StartupShape shape, ProcessRecord* record) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  ::GetStartupInfoA(&startup);
  if (shape == StartupShape::Maximized) {
    // The flags stay as the launcher got them: these take effect only where
    // the launcher itself was started with a show state or a size.
    startup.wShowWindow = SW_SHOWMAXIMIZED;
    startup.dwXSize = 0xF030;
    startup.dwYSize = 0xF030;
  }
  // CreateProcessA may write into the command line, so it gets a copy.
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  PROCESS_INFORMATION info{};
  *record = ProcessRecord{};
  if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return OsResult::Failure(::GetLastError());
  }
  record->process = reinterpret_cast<std::uintptr_t>(info.hProcess);
  record->thread = reinterpret_cast<std::uintptr_t>(info.hThread);
  record->processId = info.dwProcessId;
  record->threadId = info.dwThreadId;
  record->ClosedBy(*this);
  return OsResult::Success();
}

WaitOutcome Win32Processes::Wait(const ProcessRecord& record, std::uint32_t milliseconds) {
  if (record.process == 0) return WaitOutcome::Over;
  DWORD result = ::WaitForSingleObject(reinterpret_cast<HANDLE>(record.process), milliseconds);
  return result == WAIT_TIMEOUT ? WaitOutcome::StillRunning : WaitOutcome::Over;
}

void Win32Processes::CloseHandles(std::uintptr_t process, std::uintptr_t thread) {
  if (process) ::CloseHandle(reinterpret_cast<HANDLE>(process));
  if (thread) ::CloseHandle(reinterpret_cast<HANDLE>(thread));
}

std::uint32_t Win32ErrorOfShellResult(std::uintptr_t code) {
  switch (code) {
    case 0: return ERROR_NOT_ENOUGH_MEMORY;  // "out of memory or resources"
    case SE_ERR_SHARE: return ERROR_SHARING_VIOLATION;
    case SE_ERR_ASSOCINCOMPLETE:
    case SE_ERR_NOASSOC: return ERROR_NO_ASSOCIATION;
    case SE_ERR_DDETIMEOUT:
    case SE_ERR_DDEFAIL:
    case SE_ERR_DDEBUSY: return ERROR_DDE_FAIL;
    case SE_ERR_DLLNOTFOUND: return ERROR_DLL_NOT_FOUND;
    // Below 26 the codes are the system's own (file and path not found,
    // access denied, out of memory, bad format).
    default: return static_cast<std::uint32_t>(code);
  }
}

OsResult Win32Processes::ShellOpen(std::uintptr_t owner, const std::string& file, const std::string& parameters) {
  HINSTANCE result = ::ShellExecuteA(reinterpret_cast<HWND>(owner), "OPEN", file.c_str(), parameters.c_str(), "",
                                     SW_SHOW);
  auto code = reinterpret_cast<std::uintptr_t>(result);
  if (code > 32) return OsResult::Success();
  return OsResult::Failure(Win32ErrorOfShellResult(code));
}

}  // namespace quandrel::win32
