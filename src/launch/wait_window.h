// The wait window as the logic sees it: it stands on screen from its opening
// until the object is destroyed, and shows how far a copy has come.
#pragma once

#include <cstdint>

namespace quandrel {

class WaitWindow {
 public:
  virtual ~WaitWindow() = default;  // releases the window
  // Redraws the progress bar and keeps the window answering the system;
  // no handler of the program runs meanwhile.
  // A `done` of kCopyAmountUnknown (platform/files.h) moves a block along
  // the bar instead: the copy goes on, how far is not known.
  virtual void ShowProgress(std::uint64_t done, std::uint64_t total) = 0;
};

}  // namespace quandrel
