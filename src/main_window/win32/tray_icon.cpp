#include "main_window/win32/tray_icon.h"

#include <algorithm>
#include <cstring>

namespace quandrel::win32 {

// The tray record's classic size, the one every shell accepts.
static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V1_SIZE == 88, "88-byte tray record in 32-bit builds");

TrayIcon::TrayIcon(HWND window, UINT callbackMessage) : taskbarCreated_(RegisterWindowMessageA("TaskbarCreated")) {
  data_.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data_.hWnd = window;
  data_.uID = 1;
  data_.uCallbackMessage = callbackMessage;
}

TrayIcon::~TrayIcon() {
  if (shown_) Remove();
}

void TrayIcon::Add(const std::string& tip, HICON icon) {
  if (shown_) Remove();
  icon_.reset(icon ? CopyIcon(icon) : nullptr);
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.hIcon = icon_.get();
  const size_t n = std::min(tip.size(), sizeof data_.szTip - 1);
  std::memcpy(data_.szTip, tip.data(), n);
  data_.szTip[n] = '\0';
  Shell_NotifyIconA(NIM_ADD, &data_);
  shown_ = true;
}

void TrayIcon::Remove() {
  Shell_NotifyIconA(NIM_DELETE, &data_);
  shown_ = false;
  data_.hIcon = nullptr;
  icon_.reset();
}

bool TrayIcon::Restore(UINT msg) {
  if (taskbarCreated_ == 0 || msg != taskbarCreated_) return false;
  if (shown_) Shell_NotifyIconA(NIM_ADD, &data_);
  return true;
}

}  // namespace quandrel::win32
