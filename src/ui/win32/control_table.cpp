#include "ui/win32/control_table.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/win32/common_controls.h"
#include "ui/win32/picture_button.h"
#include "ui/win32/tooltips.h"

namespace quandrel::win32 {

namespace {

// The class and styles of a control of that kind; a static control with a
// hint is told of the mouse, so its tooltip shows.
ControlArgs ArgsFor(ControlKind kind, Align align, bool hasHint) {
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
      if (align == Align::Centre) args.style |= SS_CENTER;
      if (align == Align::Right) args.style |= SS_RIGHT;
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
    case ControlKind::ListView:
      args.cls = WC_LISTVIEWA;
      args.style = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER;
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

// Stacked under the others: panels and frames, and groups under those.
int Layer(ControlKind kind) {
  if (kind == ControlKind::Group) return 3;
  if (kind == ControlKind::Panel || kind == ControlKind::Frame) return 2;
  return 1;
}

// In CreationOrder: the items of the group at `index`.
int ItemsOf(int index) { return -1 - index; }

// A group box paints its frame and caption but not what lies inside, and
// the window does not paint under its children: the group fills itself.
LRESULT CALLBACK GroupBoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (msg == WM_ERASEBKGND) {
    RECT r;
    GetClientRect(hwnd, &r);
    FillRect(reinterpret_cast<HDC>(wp), &r, GetSysColorBrush(COLOR_BTNFACE));
    return 1;
  }
  return DefaultSubclassProc(hwnd, msg, wp, lp);
}

// Fills an owner-drawn frame or panel with the button face and draws its edge.
void DrawBevel(const DRAWITEMSTRUCT& item, UINT edge) {
  RECT r = item.rcItem;
  FillRect(item.hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(item.hDC, &r, edge, BF_RECT);
}

}  // namespace

HWND MakeControl(HINSTANCE instance, HWND parent, const ControlArgs& args) {
  HWND c = CreateWindowExA(args.exStyle, args.cls, args.caption, args.style | WS_CHILD | WS_CLIPSIBLINGS, args.x,
                           args.y, args.w, args.h, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)),
                           instance, nullptr);
  if (c && args.font) SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(args.font), FALSE);
  return c;
}

SIZE TextExtent(HDC dc, HFONT font, const char* text, UINT format) {
  HGDIOBJ old = SelectObject(dc, font);
  RECT r{0, 0, 0, 0};
  DrawTextA(dc, text, -1, &r, format | DT_CALCRECT);
  SelectObject(dc, old);
  return SIZE{r.right, r.bottom};
}

int ControlTable::IndexOfId(int id) const {
  const int index = id - firstId_;
  return index >= 0 && index < Count() ? index : -1;
}

int ControlTable::IndexOf(HWND control) const {
  const int index = IndexOfId(GetDlgCtrlID(control));
  return index >= 0 && handles_[static_cast<std::size_t>(index)] == control ? index : -1;
}

void ControlTable::SetFont(int face, FontHandle font) {
  if (face < 0) return;
  if (static_cast<std::size_t>(face) >= fonts_.size()) fonts_.resize(static_cast<std::size_t>(face) + 1);
  fonts_[static_cast<std::size_t>(face)] = std::move(font);
}

HFONT ControlTable::Font(int face) const {
  return face >= 0 && static_cast<std::size_t>(face) < fonts_.size() ? fonts_[static_cast<std::size_t>(face)].get()
                                                                       : nullptr;
}

void ControlTable::ReplaceFont(int face, FontHandle font) {
  for (int i = 0; i < Count(); ++i) {
    if (rows_[static_cast<std::size_t>(i)].face == face && Handle(i)) {
      SendMessageA(Handle(i), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    }
  }
  SetFont(face, std::move(font));
}

std::vector<int> ControlTable::CreationOrder() const {
  std::vector<int> order;
  for (int i : tabOrder_) order.push_back(RowAt(i).kind == ControlKind::Group ? ItemsOf(i) : i);
  for (int layer = 1; layer <= 3; ++layer) {
    for (int i = 0; i < Count(); ++i) {
      const Row& r = RowAt(i);
      // A group's place in the tab order went to its items above.
      const bool placed = r.tabPosition >= 0 && r.kind != ControlKind::Group;
      if (!placed && Layer(r.kind) == layer) order.push_back(i);
    }
  }
  return order;
}

void ControlTable::Make(HINSTANCE instance, HWND parent, const Dpi& dpi, const std::function<Start(int)>& startOf,
                        const std::function<void(int)>& makeItems) {
  const bool hasGroup =
      std::any_of(rows_.begin(), rows_.end(), [](const Row& r) { return r.kind == ControlKind::Group; });
  const ScreenDc screen;
  for (int i : CreationOrder()) {
    if (i < 0) {
      if (makeItems) makeItems(ItemsOf(i));
      continue;
    }
    const Row& r = RowAt(i);
    const Start start = startOf ? startOf(i) : Start{};
    ControlArgs args = ArgsFor(r.kind, r.align, r.hint != nullptr);
    if (r.flat) args.exStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
    if (start.visible) args.style |= WS_VISIBLE;
    if (!start.enabled) args.style |= WS_DISABLED;
    if (r.kind == ControlKind::Edit && start.readOnly) args.style |= ES_READONLY;
    // The group's own frame takes no focus: its items hold its tab position.
    if (r.tabPosition >= 0 && r.kind != ControlKind::Group) args.style |= WS_TABSTOP | (hasGroup ? WS_GROUP : 0);

    const HFONT font = Font(r.face);
    int x = dpi(r.at.x), w = dpi(r.at.w), h = dpi(r.at.h);
    if (r.kind == ControlKind::Label) {
      const SIZE text = TextExtent(screen.get(), font, r.caption, DT_NOPREFIX);
      if (r.at.w == 0) {
        w = text.cx;
        h = text.cy;
      } else {
        if (text.cx > w) {
          x -= text.cx - w;
          w = text.cx;
        }
        if (text.cy > h) h = text.cy;
      }
    }
    args.caption = r.caption;
    args.x = x;
    args.y = dpi(r.at.y);
    args.w = w;
    args.h = h;
    args.id = ControlId(i);
    args.font = font;
    HWND made = MakeControl(instance, parent, args);
    handles_[static_cast<std::size_t>(i)] = made;
    if (made && r.kind == ControlKind::Group) SubclassControl(made, GroupBoxProc, 1, 0);
  }
}

HWND ControlTable::MakeHints(HINSTANCE instance, HWND parent) const {
  std::vector<std::pair<HWND, const char*>> hints;
  for (int i = 0; i < Count(); ++i) hints.emplace_back(Handle(i), RowAt(i).hint);
  return CreateHintTooltips(instance, parent, Font(0), hints);
}

void ControlTable::Forget() { std::fill(handles_.begin(), handles_.end(), nullptr); }

HBRUSH ControlTable::BrushFor(COLORREF colour) {
  for (const auto& [c, brush] : brushes_) {
    if (c == colour) return brush.get();
  }
  brushes_.emplace_back(colour, BrushHandle(CreateSolidBrush(colour)));
  return brushes_.back().second.get();
}

LRESULT ControlTable::Colour(UINT msg, HDC dc, HWND control) {
  // Edits and lists stand on the window colour, everything else on the
  // button face.
  const bool onWindow = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX;
  const int system = onWindow ? COLOR_WINDOW : COLOR_BTNFACE;
  COLORREF text = GetSysColor(onWindow ? COLOR_WINDOWTEXT : COLOR_BTNTEXT);
  COLORREF back = GetSysColor(system);
  HBRUSH brush = GetSysColorBrush(system);
  const int i = IndexOf(control);
  if (i >= 0) {
    const Row& r = RowAt(i);
    if (r.text != kSystemColour) text = r.text;
    if (r.back != kSystemColour) {
      if (r.kind == ControlKind::Edit && (GetWindowLongA(control, GWL_STYLE) & ES_READONLY)) {
        back = GetSysColor(COLOR_INACTIVECAPTION);
        brush = GetSysColorBrush(COLOR_INACTIVECAPTION);
      } else {
        back = r.back;
        brush = BrushFor(r.back);
      }
    }
  }
  SetTextColor(dc, text);
  SetBkColor(dc, back);
  return reinterpret_cast<LRESULT>(brush);
}

bool ControlTable::Draw(const DRAWITEMSTRUCT& item, HWND defaultButton, const Dpi& dpi) const {
  const int i = IndexOfId(static_cast<int>(item.CtlID));
  if (i < 0) return false;
  const Row& r = RowAt(i);
  switch (r.kind) {
    case ControlKind::PictureButton: {
      // The black outline of the button that Enter presses: a focused
      // picture button, else the default button.
      HWND focus = GetFocus();
      const bool otherHasFocus = focus && focus != item.hwndItem && IsChild(GetParent(item.hwndItem), focus) &&
                                 IsPictureButton(focus);
      const bool isDefault = defaultButton && item.hwndItem == defaultButton && !otherHasFocus;
      DrawPictureButton(item, ButtonLook{r.glyph, r.glyphAbove, Font(r.face)}, isDefault, dpi);
      if (item.itemAction == ODA_FOCUS && defaultButton && defaultButton != item.hwndItem) {
        InvalidateRect(defaultButton, nullptr, FALSE);
      }
      return true;
    }
    case ControlKind::Panel:
      DrawBevel(item, BDR_SUNKENOUTER);
      return true;
    case ControlKind::Frame:
      DrawBevel(item, EDGE_ETCHED);
      return true;
    default:
      return false;
  }
}

}  // namespace quandrel::win32
