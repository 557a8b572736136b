// What every window of the program shares: its object is found from its
// handle (stored when the window is made, before any other message), it
// forgets the handle when the window is gone, it gives the focus back to the
// control that had it when it is activated again, and it makes its controls
// from the rows of a table.
#pragma once

#include <windows.h>

namespace quandrel::win32 {

// One control to make: its class, caption, styles, place and size (already
// scaled), control id and font.
struct ControlArgs {
  const char* cls = "STATIC";
  const char* caption = "";
  DWORD style = 0;  // WS_CHILD and WS_CLIPSIBLINGS are always added
  DWORD exStyle = 0;
  int x = 0, y = 0, w = 0, h = 0;
  int id = 0;
  HFONT font = nullptr;
};

// The kinds of control the windows are made of.
enum class ControlKind {
  Frame,          // owner-drawn bevel
  Panel,          // owner-drawn sunken panel
  Picture,        // owner-drawn picture
  Group,          // group box
  Label,          // text sized to its caption, on one line
  FixedLabel,     // text in a box of the design's size, centred vertically
  PushButton,     // system push button
  PictureButton,  // owner-drawn button with a glyph
  ListBox,
  Edit,
  CheckBox,
};

// The class, styles and extended styles of a control of that kind; a
// static control with a hint is told of the mouse, so its tooltip shows.
ControlArgs ArgsFor(ControlKind kind, bool hasHint);

// Fills an owner-drawn frame or panel with the button face and draws its
// edge (BDR_SUNKENOUTER, EDGE_ETCHED, ...).
void DrawBevel(const DRAWITEMSTRUCT& item, UINT edge);

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
  // Makes one child control of the window and gives it its font; null when
  // it can't be made.
  HWND CreateControl(HINSTANCE instance, const ControlArgs& args) const;

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

  HWND hwnd_ = nullptr;
  HWND lastFocus_ = nullptr;  // given back when the window is activated again
};

// The size of `text` drawn on one line (or, without DT_SINGLELINE, on the
// lines it holds) in `font`, in pixels.
SIZE TextExtent(HDC dc, HFONT font, const char* text, UINT format);

}  // namespace quandrel::win32
