#include "BackUp/win32/backup_window.h"

namespace quandrel::win32 {

namespace {

const char kClass[] = "TFormBackUp";
const char kCaption[] = "システムのバックアップ";
const char kBaseFace[] = "ＭＳ Ｐゴシック";

constexpr int kClientW = 528;
constexpr int kClientH = 321;
// A caption but no system menu: no title-bar buttons at all.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

}  // namespace

std::unique_ptr<BackupWindow> BackupWindow::Create(HINSTANCE instance, HWND owner) {
  if (!RegisterWindowClass(instance, kClass, Proc, IDC_ARROW)) return nullptr;
  std::unique_ptr<BackupWindow> w(new BackupWindow());
  w->owner_ = owner;
  w->font_ = MakeFont(w->dpi_, kBaseFace, 12);
  const RECT r = CentredWindowRect(w->dpi_(kClientW), w->dpi_(kClientH), kStyle, kExStyle);
  CreateWindowExA(kExStyle, kClass, kCaption, kStyle, r.left, r.top, r.right - r.left, r.bottom - r.top, owner,
                  nullptr, instance, w.get());
  if (!w->hwnd_) return nullptr;
  SendMessageA(w->hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(w->font_), FALSE);
  EnableDialogKeys(w->hwnd_);
  return w;
}

BackupWindow::~BackupWindow() {
  if (modal_ && owner_) EnableWindow(owner_, TRUE);
  if (hwnd_) DestroyWindow(hwnd_);
  if (font_) DeleteObject(font_);
}

void BackupWindow::ShowModal() {
  if (!hwnd_ || modal_) return;
  modal_ = true;
  if (owner_) EnableWindow(owner_, FALSE);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);

  MSG msg;
  while (modal_ && hwnd_) {
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
  Close();
}

void BackupWindow::Close() {
  // The owner is enabled before this window goes, so that the activation
  // falls back to it and not to another program.
  if (modal_) {
    modal_ = false;
    if (owner_) EnableWindow(owner_, TRUE);
  }
  if (hwnd_ && IsWindowVisible(hwnd_)) {
    ShowWindow(hwnd_, SW_HIDE);
    if (owner_ && IsWindowVisible(owner_)) SetActiveWindow(owner_);
  }
}

LRESULT CALLBACK BackupWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<BackupWindow*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<BackupWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    self->hwnd_ = nullptr;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    return DefWindowProcA(hwnd, msg, wp, lp);
  }
  return self->OnMessage(msg, wp, lp);
}

LRESULT BackupWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  HWND self = hwnd_;
  switch (msg) {
    case WM_CLOSE:
      Close();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wp) == IDCANCEL) Close();  // Esc, through the dialog keys
      return 0;
    case WM_KEYDOWN:
      if (wp == VK_ESCAPE) {
        Close();
        return 0;
      }
      break;
    case WM_SYSKEYDOWN:
      // Without a system menu Alt+F4 is still the way out.
      if (wp == VK_F4) {
        Close();
        return 0;
      }
      break;
  }
  return DefWindowProcA(self, msg, wp, lp);
}

}  // namespace quandrel::win32
