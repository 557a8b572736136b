// The wait window TFormSplash: stands on the screen while a snapshot is
// copied, with a picture asking the user to wait and a thin progress bar.
//
// The copy runs inside a handler, so while the window stands no window of
// the program runs a handler (HandlersHeld). Each progress call looks at the
// thread's queue: Windows takes a window whose thread has not done so for
// about five seconds for a hung one ("応答なし", a frozen ghost over the
// bar). Paint messages are handled, the user's clicks and keys are dropped
// (none may start anything when the copy is done), every other posted
// message waits for the loop after the copy, and messages sent from other
// threads are answered.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "ui/win32/dpi_fonts.h"
#include "ui/win32/gdi_objects.h"
#include "ui/win32/window_base.h"
#include "launch/wait_window.h"

namespace quandrel::win32 {

class WaitWindowView : public WaitWindow, private WindowBase {
 public:
  // Creates the window owned by `owner`, centred on the work area, shows it
  // and paints it at once. Null when it can't be created.
  static std::unique_ptr<WaitWindowView> Open(HINSTANCE instance, HWND owner);
  ~WaitWindowView() override;  // destroys the window
  WaitWindowView(const WaitWindowView&) = delete;
  WaitWindowView& operator=(const WaitWindowView&) = delete;

  // Looks at the thread's queue (above), then repaints the bar when its
  // filled width changes. Called by the copy every few dozen milliseconds.
  void ShowProgress(std::uint64_t done, std::uint64_t total) override;

  HWND Handle() const { return hwnd_; }
  // Width of the bar's filled part in pixels, as last painted.
  int FilledPixels() const { return filled_; }
  // While the amount copied is unknown: true, and how many steps the moving
  // block has taken.
  bool Indeterminate() const { return indeterminate_; }
  int MarqueeSteps() const { return marqueeSteps_; }

 private:
  WaitWindowView() = default;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void Paint(HDC dc);
  RECT BarRect() const;
  static void LookAtQueue();

  HandlersHeld held_;
  Dpi dpi_;
  FontHandle font_, lineFont_, bigFont_;
  int filled_ = 0;
  bool indeterminate_ = false;
  int marqueeSteps_ = 0;
};

}  // namespace quandrel::win32
