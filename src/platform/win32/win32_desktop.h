#pragma once

#include "platform/desktop.h"

namespace quandrel::win32 {

class Win32Desktop : public Desktop {
 public:
  std::vector<TopLevelWindow> TopLevelWindows() override;
  void DisableClose(std::uintptr_t window) override;
  unsigned DriveType(const std::string& root) override;
  bool FreeBytes(const std::string& root, std::uint64_t* bytes) override;
};

}  // namespace quandrel::win32
