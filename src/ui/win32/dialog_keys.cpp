#include "ui/win32/dialog_keys.h"

#include "text/sjis.h"
#include "ui/win32/picture_button.h"
#include "ui/win32/window_class.h"

namespace quandrel::win32 {

namespace {

const char kDialogKeysProp[] = "QuandrelDialogKeys";

bool IsUsable(HWND hwnd) { return IsWindowVisible(hwnd) && IsWindowEnabled(hwnd); }

void Press(HWND control) {
  if (IsPictureButton(control)) {
    SendMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
  } else {
    SendMessageA(control, BM_CLICK, 0, 0);
  }
}

// Alt+letter: the first usable button in the tab order (child order) whose
// caption marks the letter. Searching from the first child, not from the
// focus, keeps the choice the same whatever has the focus.
bool PressMnemonic(HWND window, WPARAM key) {
  if (key >= 0x80) return false;
  char wanted = static_cast<char>(key);
  if (wanted >= 'a' && wanted <= 'z') wanted = static_cast<char>(wanted - 'a' + 'A');
  for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!IsUsable(c) || !InView(window, c)) continue;
    if (!(SendMessageA(c, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)) continue;
    if (MnemonicOf(WindowText(c)) != wanted) continue;
    SetFocus(c);
    Press(c);
    return true;
  }
  return false;
}

// Tab and Shift+Tab: the next usable tab stop in view, round the window.
bool WalkTabOrder(HWND window, const MSG* msg) {
  if (GetKeyState(VK_CONTROL) & 0x8000) return false;
  if (SendMessageA(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg)) & DLGC_WANTTAB) {
    return false;
  }
  const BOOL back = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
  HWND from = IsChild(window, msg->hwnd) ? msg->hwnd : nullptr;
  HWND first = nullptr;
  HWND next = GetNextDlgTabItem(window, from, back);
  for (int guard = 0; next && next != from && guard < 1024; ++guard) {
    if (next == first) break;  // round once without finding one in view
    if (!first) first = next;
    if (InView(window, next)) {
      if (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageA(next, EM_SETSEL, 0, -1);
      SetFocus(next);
      return true;
    }
    next = GetNextDlgTabItem(window, next, back);
  }
  return true;
}

}  // namespace

bool InView(HWND window, HWND control) {
  RECT client, c, both;
  if (!GetClientRect(window, &client) || !GetWindowRect(control, &c)) return false;
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return IntersectRect(&both, &client, &c) != FALSE;
}

HWND FirstTabStopInView(HWND window) {
  HWND first = GetNextDlgTabItem(window, nullptr, FALSE);
  HWND next = first;
  for (int guard = 0; next && guard < 1024; ++guard) {
    if (InView(window, next)) return next;
    next = GetNextDlgTabItem(window, next, FALSE);
    if (next == first) break;
  }
  return nullptr;
}

char MnemonicOf(const std::string& caption) {
  for (size_t i = 0; i < caption.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(caption[i]);
    if (text::IsLeadByte(b)) {
      ++i;  // a trail byte is never an ampersand
      continue;
    }
    if (b != '&' || i + 1 >= caption.size()) continue;
    const char next = caption[i + 1];
    if (next == '&') {
      ++i;
      continue;
    }
    if (next >= 'a' && next <= 'z') return static_cast<char>(next - 'a' + 'A');
    return next;
  }
  return 0;
}

void EnableDialogKeys(HWND window) { SetPropA(window, kDialogKeysProp, reinterpret_cast<HANDLE>(1)); }

bool TranslateDialogKeys(MSG* msg) {
  // The window the keys are meant for is the one holding the control they
  // were sent to, even when the activation is still on its way there.
  HWND window = msg->hwnd ? GetAncestor(msg->hwnd, GA_ROOT) : nullptr;
  if (!window || !GetPropA(window, kDialogKeysProp)) return false;

  if (msg->message == WM_KEYDOWN && msg->wParam == VK_TAB && WalkTabOrder(window, msg)) return true;
  if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
    // A focused picture button takes Enter itself; otherwise the dialog
    // manager asks the window for its default button.
    if (msg->hwnd != window && IsPictureButton(msg->hwnd) && IsUsable(msg->hwnd)) {
      Press(msg->hwnd);
      return true;
    }
  }
  if (msg->message == WM_SYSCHAR && PressMnemonic(window, msg->wParam)) return true;
  return IsDialogMessageA(window, msg) != FALSE;
}

}  // namespace quandrel::win32
