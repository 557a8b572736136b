#include "ui/win32/window_base.h"

#include "ui/win32/dialog_keys.h"

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
  // The creation parameter is this base's own address, whatever else the
  // window derives from.
  CreateWindowExA(exStyle, cls, caption, style, outer.left, outer.top, outer.right - outer.left,
                  outer.bottom - outer.top, owner, nullptr, instance, static_cast<WindowBase*>(this));
  return hwnd_ != nullptr;
}

HWND WindowBase::CreateControl(HINSTANCE instance, const ControlArgs& args) const {
  HWND c = CreateWindowExA(args.exStyle, args.cls, args.caption, args.style | WS_CHILD | WS_CLIPSIBLINGS, args.x,
                           args.y, args.w, args.h, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)),
                           instance, nullptr);
  if (c && args.font) SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(args.font), FALSE);
  return c;
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

ControlArgs ArgsFor(ControlKind kind, bool hasHint) {
  ControlArgs args;
  switch (kind) {
    case ControlKind::Frame:
    case ControlKind::Panel:
    case ControlKind::Picture:
      args.style = SS_OWNERDRAW;
      break;
    case ControlKind::Group:
      args.cls = "BUTTON";
      args.style = BS_GROUPBOX;
      break;
    case ControlKind::Label:
      args.style = SS_NOPREFIX | SS_LEFTNOWORDWRAP;
      break;
    case ControlKind::FixedLabel:
      args.style = SS_NOPREFIX | SS_CENTERIMAGE;
      break;
    case ControlKind::PushButton:
      args.cls = "BUTTON";
      args.style = BS_PUSHBUTTON;
      break;
    case ControlKind::PictureButton:
      args.cls = "BUTTON";
      args.style = BS_OWNERDRAW;
      break;
    case ControlKind::ListBox:
      args.cls = "LISTBOX";
      args.style = LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
      args.exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::Edit:
      args.cls = "EDIT";
      args.style = ES_AUTOHSCROLL;
      args.exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::CheckBox:
      args.cls = "BUTTON";
      args.style = BS_AUTOCHECKBOX;
      break;
  }
  if (hasHint && args.cls[0] == 'S') args.style |= SS_NOTIFY;
  return args;
}

void DrawBevel(const DRAWITEMSTRUCT& item, UINT edge) {
  RECT r = item.rcItem;
  FillRect(item.hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(item.hDC, &r, edge, BF_RECT);
}

SIZE TextExtent(HDC dc, HFONT font, const char* text, UINT format) {
  HGDIOBJ old = SelectObject(dc, font);
  RECT r{0, 0, 0, 0};
  DrawTextA(dc, text, -1, &r, format | DT_CALCRECT);
  SelectObject(dc, old);
  return SIZE{r.right, r.bottom};
}

}  // namespace quandrel::win32
