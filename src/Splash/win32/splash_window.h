// The wait window TFormSplash: stands on the screen while a snapshot is
// copied, with a picture asking the user to wait and a thin progress bar.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "MainMenu/win32/window_kit.h"
#include "Splash/wait_window.h"

namespace quandrel::win32 {

class SplashWindow : public WaitWindow {
 public:
  // Creates the window owned by `owner`, centred on the work area, shows it
  // and paints it at once. Null when it can't be created.
  static std::unique_ptr<SplashWindow> Open(HINSTANCE instance, HWND owner);
  ~SplashWindow() override;  // destroys the window
  SplashWindow(const SplashWindow&) = delete;
  SplashWindow& operator=(const SplashWindow&) = delete;

  // Repaints the bar when its filled width changes; handles no message of
  // any other window.
  void ShowProgress(std::uint64_t done, std::uint64_t total) override;

  HWND Handle() const { return hwnd_; }
  // Width of the bar's filled part in pixels, as last painted.
  int FilledPixels() const { return filled_; }

 private:
  SplashWindow() = default;
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  void Paint(HDC dc);
  RECT BarRect() const;

  Dpi dpi_;
  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr, lineFont_ = nullptr, bigFont_ = nullptr;
  int filled_ = 0;
};

}  // namespace quandrel::win32
