// Windows of other processes, and the drives of the machine.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quandrel {

struct TopLevelWindow {
  std::uintptr_t handle = 0;
  std::uint32_t threadId = 0;  // the thread that created the window
};

class Desktop {
 public:
  virtual ~Desktop() = default;

  // Every top-level window that the thread created (EnumThreadWindows):
  // the same windows as all top-level ones filtered by their thread, in one
  // request instead of one more for each window on the desktop. None for
  // thread 0.
  virtual std::vector<TopLevelWindow> TopLevelWindowsOf(std::uint32_t threadId) = 0;
  // Disables Close in the window's menu (and with it the title bar's close
  // box), redraws its menu bar and asks for the focus to go to it.
  virtual void DisableClose(std::uintptr_t window) = 0;

  // GetDriveTypeA of a root such as "E:\\".
  virtual unsigned DriveType(const std::string& root) = 0;
  // Free bytes available to the user on a root; none when the query fails.
  virtual std::optional<std::uint64_t> FreeBytes(const std::string& root) = 0;
};

}  // namespace quandrel
