#include "ui/win32/window_base.h"

#include "ui/win32/dialog_keys.h"
#include "ui/win32/message_loops.h"
#include "ui/win32/monitor_fit.h"
#include "ui/win32/window_class.h"

namespace quandrel::win32 {

int HandlersHeld::depth_ = 0;

LRESULT CALLBACK WindowBase::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->lastFocus_ = nullptr;
    self->OnDestroyed();
    return DefWindowProcA(hwnd, msg, wp, lp);
  }
  switch (msg) {
    case WM_COMMAND:
    case WM_CLOSE:
    case WM_SYSCOMMAND:
      if (HandlersHeld::Active()) return 0;
      break;
    case WM_DRAWITEM:
      self->DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
      return TRUE;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      return self->ControlColour(msg, reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
  }
  return self->OnMessage(msg, wp, lp);
}

bool WindowBase::CreateFrame(HINSTANCE instance, DWORD exStyle, const char* cls, const char* caption, DWORD style,
                             const RECT& outer, HWND owner) {
  owner_ = owner;
  // The creation parameter is this base's own address, whatever else the
  // window derives from.
  CreateWindowExA(exStyle, cls, caption, style, outer.left, outer.top, outer.right - outer.left,
                  outer.bottom - outer.top, owner, nullptr, instance, static_cast<WindowBase*>(this));
  return hwnd_ != nullptr;
}

bool WindowBase::CreateDesignedFrame(HINSTANCE instance, const WindowDesign& design, HWND owner, HWND neighbour,
                                     Dpi& dpi) {
  if (!RegisterWindowClass(instance, design.cls, WindowBase::Proc, IDC_ARROW)) return false;
  dpi = Dpi(FittingDotsPerInch(neighbour, dpi.DotsPerInch(), design.clientW, design.clientH, design.style,
                               design.exStyle));
  const RECT r =
      PlacedWindowRect(neighbour, dpi(design.clientW), dpi(design.clientH), design.style, design.exStyle);
  if (!CreateFrame(instance, design.exStyle, design.cls, design.caption, design.style, r, owner)) return false;
  EnableDialogKeys(hwnd_);
  return true;
}

LRESULT WindowBase::OnMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcA(hwnd_, msg, wp, lp); }

LRESULT WindowBase::ControlColour(UINT msg, HDC dc, HWND control) {
  return DefWindowProcA(hwnd_, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
}

void WindowBase::FocusFirstControl() {
  HWND first = FirstTabStopInView(hwnd_);
  SetFocus(first ? first : hwnd_);
}

void WindowBase::RememberOrRestoreFocus(WPARAM wp) {
  if (LOWORD(wp) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
  } else if (!HIWORD(wp)) {
    HWND target = lastFocus_;
    if (target && IsChild(hwnd_, target) && IsWindowVisible(target) && IsWindowEnabled(target) &&
        InView(hwnd_, target)) {
      SetFocus(target);
    } else {
      FocusFirstControl();
    }
  }
}

void WindowBase::RunOwnedModal(HWND focus) {
  if (!hwnd_ || modal_) return;
  modal_ = true;
  if (owner_) EnableWindow(owner_, FALSE);
  lastFocus_ = focus;
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  if (lastFocus_) SetFocus(lastFocus_);

  RunModalLoop([this] { return modal_ && hwnd_ != nullptr; });
  CloseOwnedModal();
}

void WindowBase::CloseOwnedModal() {
  if (modal_) {
    modal_ = false;
    if (owner_) EnableWindow(owner_, TRUE);
  }
  if (hwnd_ && IsWindowVisible(hwnd_)) {
    ShowWindow(hwnd_, SW_HIDE);
    if (owner_ && IsWindowVisible(owner_)) SetActiveWindow(owner_);
  }
}

bool WindowBase::OwnedModalMessage(UINT msg, WPARAM wp) {
  switch (msg) {
    case WM_ACTIVATE:
      RememberOrRestoreFocus(wp);
      return true;
    case WM_KEYDOWN:
      if (wp != VK_ESCAPE) return false;
      CloseOwnedModal();
      return true;
    case WM_SYSKEYDOWN:
      if (wp != VK_F4) return false;
      CloseOwnedModal();
      return true;
  }
  return false;
}

void WindowBase::ReleaseOwner() {
  if (modal_ && owner_) EnableWindow(owner_, TRUE);
  modal_ = false;
}

}  // namespace quandrel::win32
