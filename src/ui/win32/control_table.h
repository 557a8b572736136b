// Control tables: each window's controls are the rows of one table (kind,
// place, caption, hint, font, colours, alignment, picture), and this code,
// shared by every window, makes them from it (stacking and tab order,
// styles, places, fonts, hints), colours them and draws the owner-drawn
// ones. A new kind of control, or a new column, is added here alone.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

#include "ui/position_in.h"
#include "ui/win32/dpi_fonts.h"
#include "ui/win32/gdi_objects.h"
#include "ui/win32/glyphs.h"

namespace quandrel::win32 {

// The kinds of control the windows are made of.
enum class ControlKind {
  Frame,          // owner-drawn etched bevel
  Panel,          // owner-drawn sunken box
  Picture,        // owner-drawn picture, which its window paints
  Group,          // group box; its items are its window's, made in its place in the tab order
  Label,          // text, sized as the row's place says
  FixedLabel,     // text in a box of the design's size, centred down
  PushButton,     // system push button; Enter presses it while it has the focus
  PictureButton,  // owner-drawn button with a glyph
  ListBox,
  ListView,       // report-style list (common controls), one line chosen at a time
  Edit,
  CheckBox,
};

// Where a fixed label puts its text across.
enum class Align { Left, Centre, Right };

// A colour column left at this takes the system's colour for the control.
inline constexpr COLORREF kSystemColour = CLR_INVALID;

// A place in the client area, in pixels at 96 DPI.
struct Place {
  int x, y, w, h;
};

// One control as designed; what a row leaves out takes the default. `Id` is
// the window's control enumeration, which the rows follow; `Face` its fonts,
// the first of which (0) is the window's base font, the hints' too.
template <typename Id, typename Face>
struct ControlRow {
  Id id;
  ControlKind kind;
  // A label of width 0 takes its text's size; a label with a width keeps it
  // unless its text is wider (another DPI, a substitute font), and then
  // grows to the left, keeping its right edge.
  Place at;
  const char* caption = "";
  const char* hint = nullptr;
  Face face{};
  COLORREF text = kSystemColour;
  // An edit with a colour of its own shows the read-only look (the colour
  // of inactive captions) while it is read-only.
  COLORREF back = kSystemColour;
  Align align = Align::Left;  // of a fixed label
  bool flat = false;          // an edit without the sunken edge
  Glyph glyph = Glyph::None;  // a picture button's picture...
  bool glyphAbove = false;    // ... above its caption, else beside it
};

// A control table lists one row per control, in the order of its enumeration
// (each row's `id` is the control's enumerator).
template <typename Row, std::size_t N>
constexpr bool RowsFollowEnumeration(const Row (&rows)[N]) {
  for (std::size_t i = 0; i < N; ++i) {
    if (static_cast<std::size_t>(rows[i].id) != i) return false;
  }
  return true;
}

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

// Makes one child control of `parent` and gives it its font; null when it
// can't be made.
HWND MakeControl(HINSTANCE instance, HWND parent, const ControlArgs& args);

// The size of `text` drawn on one line (or, without DT_SINGLELINE, on the
// lines it holds) in `font`, in pixels.
SIZE TextExtent(HDC dc, HFONT font, const char* text, UINT format);

// A window's controls, made from its table: their handles and ids, fonts,
// colours and hints.
class ControlTable {
 public:
  // A row without the window's enumerations.
  struct Row {
    ControlKind kind;
    Place at;
    const char* caption;
    const char* hint;
    int face;
    COLORREF text, back;
    Align align;
    bool flat;
    Glyph glyph;
    bool glyphAbove;
    int tabPosition;  // -1: no tab stop
  };
  // The state a control is made in.
  struct Start {
    bool visible = true, enabled = true, readOnly = false;
  };

  // `rows` follow the window's control enumeration (RowsFollowEnumeration);
  // the controls get the ids firstId, firstId + 1, ... in that order.
  template <typename Id, typename Face, std::size_t N, std::size_t T>
  ControlTable(const ControlRow<Id, Face> (&rows)[N], const Id (&tabOrder)[T], int firstId)
      : handles_(N, nullptr), firstId_(firstId) {
    for (const ControlRow<Id, Face>& r : rows) {
      rows_.push_back({r.kind, r.at, r.caption, r.hint, static_cast<int>(r.face), r.text, r.back, r.align, r.flat,
                       r.glyph, r.glyphAbove, PositionIn(tabOrder, r.id)});
    }
    for (Id id : tabOrder) tabOrder_.push_back(static_cast<int>(id));
  }
  ControlTable(const ControlTable&) = delete;
  ControlTable& operator=(const ControlTable&) = delete;

  int Count() const { return static_cast<int>(rows_.size()); }
  const Row& RowAt(int index) const { return rows_[static_cast<std::size_t>(index)]; }
  int ControlId(int index) const { return firstId_ + index; }
  // The row of a control id, or of a control of the window; -1 for any other.
  int IndexOfId(int id) const;
  int IndexOf(HWND control) const;
  // Null until the controls are made, and once the window is gone.
  HWND Handle(int index) const { return handles_[static_cast<std::size_t>(index)]; }

  // The fonts, by face; the table keeps them.
  void SetFont(int face, FontHandle font);
  HFONT Font(int face) const;
  // Gives the controls of that face the new font; the old one goes once no
  // control uses it.
  void ReplaceFont(int face, FontHandle font);

  // Makes the controls of `parent`, each in the state `startOf(index)` says
  // (all visible and enabled without it), in the order they are stacked and
  // walked by Tab: first the tab stops in their order, a group's items
  // (`makeItems(index of the group)`) in the group's place, then the other
  // controls, the panels and frames under them, and the groups last, so
  // that each lies under what it holds. In a window with a group every tab
  // stop starts a group of its own, so that the arrow keys stay inside
  // the group's items.
  void Make(HINSTANCE instance, HWND parent, const Dpi& dpi, const std::function<Start(int)>& startOf = nullptr,
            const std::function<void(int)>& makeItems = nullptr);
  // A tooltip window of `parent` that shows each control's hint while the
  // pointer rests on it, in the base font; null when it can't be made.
  HWND MakeHints(HINSTANCE instance, HWND parent) const;
  // The window is gone, and its controls with it.
  void Forget();

  // WM_CTLCOLOR... for a control of the window (or any other child, which
  // gets the system's colours): the row's text and background colours, the
  // read-only look, and the brush to answer.
  LRESULT Colour(UINT msg, HDC dc, HWND control);
  // WM_DRAWITEM of a picture button, a panel or a frame; false for any
  // other control, which its window paints. `defaultButton` is the button
  // Enter presses, which shows a black outline unless another picture
  // button has the focus (none: no outline).
  bool Draw(const DRAWITEMSTRUCT& item, HWND defaultButton, const Dpi& dpi) const;

 private:
  std::vector<int> CreationOrder() const;
  HBRUSH BrushFor(COLORREF colour);

  std::vector<Row> rows_;
  std::vector<int> tabOrder_;
  std::vector<HWND> handles_;
  std::vector<FontHandle> fonts_;
  std::vector<std::pair<COLORREF, BrushHandle>> brushes_;
  int firstId_;
};

}  // namespace quandrel::win32
