#include "ui/win32/message_loops.h"

#include "ui/win32/dialog_keys.h"

namespace quandrel::win32 {

bool PumpPendingMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    if (!TranslateDialogKeys(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return true;
}

int RunMessageLoop() {
  MSG msg{};
  BOOL got;
  while ((got = GetMessageA(&msg, nullptr, 0, 0)) != 0) {
    if (got == -1) return 0;
    if (!TranslateDialogKeys(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return static_cast<int>(msg.wParam);
}

void RunModalLoop(const std::function<bool()>& running) {
  MSG msg;
  while (running()) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // the main loop must see it too
      break;
    }
    if (got == -1) break;
    if (!TranslateDialogKeys(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

}  // namespace quandrel::win32
