// What every window of the program shares: its object is found from its
// handle (stored when the window is made, before any other message), it
// forgets the handle when the window is gone, it gives the focus back to the
// control that had it when it is activated again. Its controls come from a
// control table (control_table.h).
#pragma once

#include <windows.h>

#include "ui/win32/dpi_fonts.h"

namespace quandrel::win32 {

// What a window's frame is made from: its registered class, caption, client
// size (pixels at 96 DPI) and styles.
struct WindowDesign {
  const char* cls;
  const char* caption;
  int clientW, clientH;
  DWORD style, exStyle;
};

// While one of these lives, no window of the program runs a handler: the
// commands of its controls (WM_COMMAND), close requests and window-menu
// commands that still reach a window are refused. Held while the thread is
// busy inside a handler and only looks at its queue to stay responsive:
// messages sent from other threads are then still delivered. One thread.
class HandlersHeld {
 public:
  HandlersHeld() { ++depth_; }
  ~HandlersHeld() { --depth_; }
  HandlersHeld(const HandlersHeld&) = delete;
  HandlersHeld& operator=(const HandlersHeld&) = delete;
  static bool Active() { return depth_ > 0; }

 private:
  static int depth_;
};

class WindowBase {
 public:
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;

  // The window procedure of every class whose windows derive from this.
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

 protected:
  WindowBase() = default;
  virtual ~WindowBase() = default;

  // Makes the window of a class registered with Proc; false when it can't be
  // made. The handle is set before the first message is handled.
  bool CreateFrame(HINSTANCE instance, DWORD exStyle, const char* cls, const char* caption, DWORD style,
                   const RECT& outer, HWND owner);
  // Registers the design's class (once), scales the design down from `dpi`
  // until it fits the work area of the monitor `neighbour` lies on (the
  // primary one when null) and makes the frame centred there, owned by
  // `owner`, with the dialog keys. `dpi` becomes the scale it is drawn at.
  // False when it can't be made.
  bool CreateDesignedFrame(HINSTANCE instance, const WindowDesign& design, HWND owner, HWND neighbour, Dpi& dpi);
  // Every message but WM_NCCREATE and WM_NCDESTROY, WM_DRAWITEM and the
  // WM_CTLCOLOR... ones; the default passes it on.
  virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  // An owner-drawn control to paint.
  virtual void DrawItem(const DRAWITEMSTRUCT&) {}
  // WM_CTLCOLOR... of a control: sets the colours, answers the brush. The
  // default is the system's.
  virtual LRESULT ControlColour(UINT msg, HDC dc, HWND control);
  // After WM_NCDESTROY: the window and its controls are gone.
  virtual void OnDestroyed() {}

  // For WM_ACTIVATE: the focused control is remembered when the window loses
  // the activation and gets the focus back when it is activated again (not
  // when minimised); a control gone, hidden, disabled or out of view gives
  // way to the first tab stop in view.
  void RememberOrRestoreFocus(WPARAM wp);
  // The focus to the first tab stop in view, else the window itself.
  void FocusFirstControl();

  // A window shown modally over its owner (the backup and history windows).
  // Shows it with the focus on `focus` and returns when it is closed; the
  // owner takes no input meanwhile.
  void RunOwnedModal(HWND focus);
  // Ends the modal showing: the owner is enabled before this window goes, so
  // that the activation falls back to it and not to another program.
  void CloseOwnedModal();
  // For a destructor: the owner takes input again when the window was still
  // shown modally.
  void ReleaseOwner();
  // The messages every owned modal window answers alike: the focus kept over
  // activations (RememberOrRestoreFocus), and Esc and Alt+F4 (there is no
  // system menu) closing it. True when `msg` was handled here.
  bool OwnedModalMessage(UINT msg, WPARAM wp);

  HWND hwnd_ = nullptr;
  HWND owner_ = nullptr;      // as given to CreateFrame
  HWND lastFocus_ = nullptr;  // given back when the window is activated again
  bool modal_ = false;        // RunOwnedModal is running
};

}  // namespace quandrel::win32
