#pragma once

#include "platform/desktop.h"

namespace quandrel::win32 {

class Win32Desktop : public Desktop {
 public:
  std::vector<TopLevelWindow> TopLevelWindowsOf(std::uint32_t threadId) override;
  void DisableClose(std::uintptr_t window) override;
  unsigned DriveType(const std::string& root) override;
  std::optional<std::uint64_t> FreeBytes(const std::string& root) override;
};

}  // namespace quandrel::win32
