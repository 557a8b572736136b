// Pieces shared by the launcher's own windows: DPI scaling of design sizes,
// fonts, the picture buttons, and keyboard handling of windows that behave
// like dialog boxes without being ones.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace quandrel::win32 {

// Design sizes are pixels at 96 dots per inch; every window scales them once,
// at creation, by the screen's DPI.
class Dpi {
 public:
  Dpi();  // the screen's
  explicit Dpi(int dotsPerInch) : dpi_(dotsPerInch) {}
  int operator()(int pixelsAt96) const { return MulDiv(pixelsAt96, dpi_, 96); }
  int DotsPerInch() const { return dpi_; }

 private:
  int dpi_;
};

// Registers a window class once (later calls find it registered): the given
// cursor (an IDC_ value) and, unless `background` is 0, that system colour.
bool RegisterWindowClass(HINSTANCE instance, const char* name, WNDPROC proc, LPCSTR cursor,
                         int background = COLOR_BTNFACE);

// A control table lists one row per control, in the order of its enumeration
// (each row's `id` is the control's enumerator).
template <typename Row, std::size_t N>
constexpr bool RowsFollowEnumeration(const Row (&rows)[N]) {
  for (std::size_t i = 0; i < N; ++i) {
    if (static_cast<std::size_t>(rows[i].id) != i) return false;
  }
  return true;
}

// A tooltip window of `window` that shows each control's hint while the
// pointer rests on it; null when it can't be created.
HWND CreateHintTooltips(HINSTANCE instance, HWND window, HFONT font,
                        const std::vector<std::pair<HWND, const char*>>& hints);

// A Shift-JIS font `pixels` high (character height, as a negative height).
HFONT MakeFont(const Dpi& dpi, const char* face, int pixels, bool bold = false);

// The small pictures on buttons, drawn with GDI at any size.
enum class Glyph {
  None,
  Repair,        // red cross
  Compact,       // two arrows pressing together
  Backup,        // floppy disk with an arrow
  Discard,       // waste bin
  SaveContinue,  // floppy disk with a circular arrow
  Restart,       // circular arrow
  SaveExit,      // floppy disk
  Exit,          // open door with an arrow
  Browse,        // open folder
  Custom,        // pencil
  Abort,         // red disc with a cross
  Ok,            // green tick
  Return,        // arrow to the left
};

// Draws `glyph` in the square (x, y, size, size); a disabled glyph is drawn
// embossed in the system's shadow and highlight colours.
void DrawGlyph(HDC dc, Glyph glyph, int x, int y, int size, bool disabled);

struct ButtonLook {
  Glyph glyph = Glyph::None;
  bool glyphAbove = false;  // picture above the caption, else beside it
  HFONT font = nullptr;
};

// Paints an owner-drawn push button: raised frame (pressed when selected),
// a black outline when it is the button that Enter presses, the glyph, the
// caption with its mnemonic underline, greyed when disabled, and the focus
// rectangle.
void DrawPictureButton(const DRAWITEMSTRUCT& item, const ButtonLook& look, bool isDefault,
                       const Dpi& dpi);

// Whether `hwnd` is one of the owner-drawn picture buttons.
bool IsPictureButton(HWND hwnd);

// Windows registered here get the dialog keys sent to them or to their
// controls: Tab
// and Shift+Tab walk the tab order, Enter presses the focused picture button
// or else the window's default button (answering DM_GETDEFID), Alt+letter
// presses the visible control whose caption marks that letter with "&".
void EnableDialogKeys(HWND window);
// The translation itself, for every message loop of the program. True when
// the message was handled (then it must not be dispatched again). The tab
// walk skips controls that lie wholly outside the window's client area:
// what the mouse can't reach, the keyboard can't either.
bool TranslateDialogKeys(MSG* msg);

// Whether any part of `control` lies inside the client area of `window`.
bool InView(HWND window, HWND control);
// The first usable tab stop of `window` that is in view, or null.
HWND FirstTabStopInView(HWND window);

// Handles every pending message of the thread. A WM_QUIT met here is posted
// again so that the main loop still ends; false then.
bool PumpPendingMessages();

// The caption's mnemonic letter (upper-cased ASCII), or 0.
char MnemonicOf(const std::string& caption);

// Window text as CP932 bytes.
std::string WindowText(HWND hwnd);

}  // namespace quandrel::win32
