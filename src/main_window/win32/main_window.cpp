#include "main_window/win32/main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "main_window/win32/title_art.h"
#include "resource_ids.h"
#include "ui/win32/colours.h"
#include "ui/win32/common_controls.h"
#include "ui/win32/control_table.h"
#include "ui/win32/dialog_keys.h"
#include "ui/win32/message_loops.h"
#include "ui/win32/monitor_fit.h"
#include "ui/win32/picture_button.h"
#include "ui/win32/tooltips.h"
#include "ui/win32/window_class.h"

namespace quandrel::win32 {

namespace {

const char kMainClass[] = "TFormMain";

constexpr int kClientW = 420;
constexpr int kClientH = 486;
constexpr int kPictureW = 300;
constexpr int kPictureH = 120;

const COLORREF kPurple = RGB(128, 0, 128);
const COLORREF kDbPathColour = RGB(255, 241, 255);
const COLORREF kFieldColour = RGB(255, 255, 241);
const COLORREF kRequiredColour = RGB(255, 0, 0);

using Kind = ControlKind;
enum class Face { Base, Bold, Field, PathLabel, Required, Date };

struct Place {
  int x, y, w, h;  // at 96 DPI
};

// One control as designed; what a row leaves out takes the default. Which
// controls start hidden and the tab order are the view's shared facts
// (main_view.h).
struct ControlDef {
  Control id;
  Kind kind;
  Place at;  // a label of width 0 takes its text's size
  const char* caption = "";
  const char* hint = nullptr;
  Face face = Face::Base;
  Glyph glyph = Glyph::None;
  bool glyphAbove = false;
};

constexpr char kImageHint[] = "メインメニューに表示されるタイトルロゴファイル ( *.bmp 300 x 120 Pixel) を指定します";
constexpr char kIconHint[] = "タスクバー等に表示されるアイコンファイル ( *.ICO のみ) を指定します";
constexpr char kTitleHint[] = "タイトルバーに表示されるプログラム名を指定します。";

using C = Control;

// The main window's controls, in the order of the Control enumeration.
constexpr ControlDef kControls[] = {
    // Title strip
    {.id = C::BevelImageTitle, .kind = Kind::Frame, .at = {4, 0, 316, 136}},
    {.id = C::ImageTitle, .kind = Kind::Picture, .at = {12, 8, 300, 120}},
    {.id = C::BitBtnAcRepair, .kind = Kind::PictureButton, .at = {326, 8, 89, 25}, .caption = "修復(&R)",
     .hint = "データベースに異常が発生した場合に、修復します。", .glyph = Glyph::Repair},
    {.id = C::BitBtnAcCompact, .kind = Kind::PictureButton, .at = {326, 40, 89, 25}, .caption = "最適化(&C)",
     .hint = "データベースを最適化してコンパクトにします。", .glyph = Glyph::Compact},
    {.id = C::BitBtnBackup, .kind = Kind::PictureButton, .at = {326, 76, 89, 48}, .caption = "バックアップ(&B)",
     .hint = "データベースシステムをフォルダごとバックアップします。", .glyph = Glyph::Backup, .glyphAbove = true},
    {.id = C::BitBtnAcQuit, .kind = Kind::PictureButton, .at = {4, 142, 100, 48}, .caption = "破棄終了(&X)",
     .hint = "データベースの変更を破棄して、元に戻します。", .glyph = Glyph::Discard, .glyphAbove = true},
    {.id = C::BitBtnAcSave, .kind = Kind::PictureButton, .at = {160, 142, 100, 48}, .caption = "保存継続(&S)",
     .hint = "データベースの変更を一旦保存した後、改めて開きます。", .glyph = Glyph::SaveContinue, .glyphAbove = true},
    {.id = C::BitBtnRestart, .kind = Kind::PictureButton, .at = {160, 142, 100, 48}, .caption = "再起動(&R)",
     .hint = "改めて開きます。", .glyph = Glyph::Restart, .glyphAbove = true},
    {.id = C::BitBtnAcExit, .kind = Kind::PictureButton, .at = {315, 142, 100, 48}, .caption = "保存終了(&Q)",
     .hint = "データベースの変更を保存終了します。", .face = Face::Bold, .glyph = Glyph::SaveExit, .glyphAbove = true},
    {.id = C::BitBtnExit, .kind = Kind::PictureButton, .at = {315, 142, 100, 48}, .caption = "終了(&Q)",
     .hint = "終了します。", .face = Face::Bold, .glyph = Glyph::Exit, .glyphAbove = true},
    {.id = C::ListBoxFontName, .kind = Kind::ListBox, .at = {272, 92, 33, 37}},
    // Settings area
    {.id = C::PanelDBpath, .kind = Kind::Panel, .at = {4, 196, 409, 73}},
    {.id = C::LabelDBPath, .kind = Kind::Label, .at = {188, 206, 216, 24},
     .caption = " 最初に開くファイル名の指定\r\n( *.Exe, *.Wfm, *.Cmd, *.Mdb その他)", .face = Face::PathLabel},
    {.id = C::LabelRequired, .kind = Kind::Label, .at = {108, 206, 57, 20}, .caption = "必須!!",
     .face = Face::Required},
    {.id = C::BitBtnDBpath, .kind = Kind::PictureButton, .at = {12, 204, 75, 25}, .caption = "参照",
     .hint = "最初に開くファイル名 ( *.Exe, *.Wfm, *.Cmd ) を指定します。", .glyph = Glyph::Browse},
    {.id = C::EditDBpath, .kind = Kind::Edit, .at = {12, 236, 393, 21},
     .hint = "最初に開くファイル名の指定 ( *.Exe, *.Wfm, *.Cmd )", .face = Face::Field},
    {.id = C::BitBtnCustom, .kind = Kind::PictureButton, .at = {12, 272, 83, 29}, .caption = "設定変更",
     .hint = "初期設定を変更します。", .glyph = Glyph::Custom},
    {.id = C::BitBtnClose, .kind = Kind::PictureButton, .at = {241, 272, 83, 29}, .caption = "変更破棄",
     .hint = "設定の変更を破棄します。", .glyph = Glyph::Abort},
    {.id = C::BitBtnOK, .kind = Kind::PictureButton, .at = {330, 272, 83, 29}, .caption = "設定保存",
     .hint = "設定の変更を *.ini ファイルに保存します。", .glyph = Glyph::Ok},
    {.id = C::PanelImageEtc, .kind = Kind::Panel, .at = {4, 304, 409, 177}},
    {.id = C::BitBtnImage, .kind = Kind::PictureButton, .at = {12, 312, 75, 25}, .caption = "参照",
     .hint = kImageHint, .glyph = Glyph::Browse},
    {.id = C::LabelImagePath, .kind = Kind::Label, .at = {104, 320, 0, 0},
     .caption = "イメージファイルの指定 ( *.bmp,  300 x 120 Pixel)"},
    {.id = C::EditImagePath, .kind = Kind::Edit, .at = {12, 344, 393, 21}, .hint = kImageHint, .face = Face::Field},
    {.id = C::EditTitle, .kind = Kind::Edit, .at = {196, 374, 209, 21}, .hint = kTitleHint, .face = Face::Field},
    {.id = C::EditDate, .kind = Kind::Edit, .at = {16, 378, 89, 16}, .hint = "Today", .face = Face::Date},
    {.id = C::LabelTitle, .kind = Kind::Label, .at = {108, 379, 0, 0}, .caption = "システムタイトル",
     .hint = kTitleHint},
    {.id = C::BitBtnIcon, .kind = Kind::PictureButton, .at = {16, 398, 75, 25}, .caption = "参照",
     .hint = kIconHint, .glyph = Glyph::Browse},
    {.id = C::LabelIconPath, .kind = Kind::Label, .at = {104, 407, 0, 0},
     .caption = "アイコンファイルの指定 ( *.ICO のみ)"},
    {.id = C::EditIconPath, .kind = Kind::Edit, .at = {14, 425, 393, 21}, .hint = kIconHint, .face = Face::Field},
    {.id = C::CboxUnClose, .kind = Kind::CheckBox, .at = {295, 455, 112, 17}, .caption = "「閉じる」の無効化"},
    {.id = C::CboxNonCustom, .kind = Kind::CheckBox, .at = {14, 456, 120, 17}, .caption = "設定変更の不許可"},
    {.id = C::CboxMDBbak, .kind = Kind::CheckBox, .at = {156, 456, 117, 17}, .caption = "*.Mdb の非破棄化"},
};
static_assert(sizeof kControls / sizeof kControls[0] == static_cast<size_t>(Control::Count),
              "one row per control");

static_assert(RowsFollowEnumeration(kControls), "rows follow the Control enumeration");

const ControlDef& Def(Control c) { return kControls[static_cast<int>(c)]; }

bool IsField(Control c) {
  return c == Control::EditDBpath || c == Control::EditImagePath || c == Control::EditIconPath ||
         c == Control::EditTitle;
}

// Child windows are stacked in creation order, and the tab walk follows the
// stacking: first the tab stops in their order, then the other controls,
// the panels and frames last so that they lie under everything else.
std::vector<int> CreationOrder() {
  std::vector<int> order;
  for (Control c : kMainTabOrder) order.push_back(static_cast<int>(c));
  for (bool panels : {false, true}) {
    for (const ControlDef& d : kControls) {
      const bool panel = d.kind == Kind::Panel || d.kind == Kind::Frame;
      if (TabPosition(d.id) < 0 && panel == panels) order.push_back(static_cast<int>(d.id));
    }
  }
  return order;
}

HICON LoadBuiltInIcon(HINSTANCE instance, int cx, int cy) {
  HICON icon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_QUANDREL), IMAGE_ICON, cx, cy, 0));
  if (!icon) icon = CopyIcon(LoadIconA(nullptr, MAKEINTRESOURCEA(32512)));  // IDI_APPLICATION
  return icon;
}

}  // namespace

// ---------------------------------------------------------------------------
// Creation

MainWindow::MainWindow(HINSTANCE instance) : instance_(instance) {}

std::unique_ptr<MainWindow> MainWindow::Create(HINSTANCE instance) {
  std::unique_ptr<MainWindow> w(new MainWindow(instance));
  if (!RegisterWindowClass(instance, kMainClass, WindowBase::Proc, IDC_ARROW) || !w->CreateWindows()) return nullptr;
  return w;
}

bool MainWindow::CreateWindows() {
  app_ = TaskbarWindow::Create(instance_, [this] { return hwnd_; });
  if (!app_) return false;

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  // Drawn smaller when the screen's scale would not fit the work area.
  dpi_ = Dpi(FittingDotsPerInch(nullptr, dpi_.DotsPerInch(), kClientW, kClientH, style, 0));
  const RECT r = PlacedWindowRect(nullptr, dpi_(kClientW), dpi_(kClientH), style, 0);
  if (!CreateFrame(instance_, 0, kMainClass, "Quandrel", style, r, app_->Handle())) return false;
  EnableDialogKeys(hwnd_);

  baseFont_.reset(MakeFont(dpi_, kBaseFace, 12));
  boldFont_.reset(MakeFont(dpi_, kBaseFace, 12, true));
  fieldFont_.reset(MakeFont(dpi_, kFixedFace, 13));
  pathLabelFont_.reset(MakeFont(dpi_, kFixedFace, 12));
  requiredFont_.reset(MakeFont(dpi_, kBaseFace, 16, true));
  dateFont_.reset(MakeFont(dpi_, kBaseFace, 11));
  dbPathBrush_.reset(CreateSolidBrush(kDbPathColour));
  fieldBrush_.reset(CreateSolidBrush(kFieldColour));
  requiredBrush_.reset(CreateSolidBrush(kRequiredColour));
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(baseFont_.get()), FALSE);

  // The controls, the hints and the built-in title picture wait: a start
  // that launches a program shows the window only at the run's end, and
  // makes them once the program has run a while (the hints at the first
  // showing). Until then the controls' state is kept here, starting as
  // designed: EditDate is read-only from the start.
  for (const ControlDef& d : kControls) {
    ControlState& state = early_[Index(d.id)];
    if (d.kind != Kind::Edit) state.text = d.caption;
    state.visible = !StartsHidden(d.id);
    state.readOnly = d.id == Control::EditDate;
  }
  bigIcon_.reset(LoadBuiltInIcon(instance_, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)));
  smallIcon_.reset(LoadBuiltInIcon(instance_, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)));
  // The windows get their icons when they are prepared for showing: handing
  // an icon to a hidden window costs the start time for nothing.

  tray_ = std::make_unique<TrayIcon>(hwnd_, kTrayMessage);

  // The taskbar button is not shown here: the first launch hides it again
  // before anything is drawn, and the watch end shows it. Mapping and
  // unmapping it cost the start time for a flash nobody could use.
  return true;
}

void MainWindow::CreateControls() {
  const ScreenDc screen;
  // The texts the controls start with are the logic's own, not the user's:
  // a change notification they cause must not reach the handlers.
  ++settingText_;
  for (int i : CreationOrder()) {
    const ControlDef& d = kControls[i];
    ControlArgs args = ArgsFor(d.kind, d.hint != nullptr);
    if (d.id == Control::LabelRequired) args.style = (args.style & ~SS_TYPEMASK) | SS_CENTER | SS_CENTERIMAGE;
    if (d.id == Control::EditDate) args.exStyle = 0;  // flat; read-only comes with the state
    const ControlState& state = early_[i];
    DWORD& style = args.style;
    if (state.visible) style |= WS_VISIBLE;
    if (!state.enabled) style |= WS_DISABLED;
    if (d.kind == Kind::Edit && state.readOnly) style |= ES_READONLY;
    if (TabPosition(d.id) >= 0) style |= WS_TABSTOP;

    HFONT font = baseFont_.get();
    switch (d.face) {
      case Face::Base: font = baseFont_.get(); break;
      case Face::Bold: font = boldFont_.get(); break;
      case Face::Field: font = fieldFont_.get(); break;
      case Face::PathLabel: font = pathLabelFont_.get(); break;
      case Face::Required: font = requiredFont_.get(); break;
      case Face::Date: font = dateFont_.get(); break;
    }

    int x = dpi_(d.at.x), w = dpi_(d.at.w), h = dpi_(d.at.h);
    if (d.kind == Kind::Label) {
      const SIZE text = TextExtent(screen.get(), font, d.caption, DT_NOPREFIX);
      if (d.at.w == 0) {
        w = text.cx;
        h = text.cy;
      } else if (d.id != Control::LabelRequired) {
        // A face whose glyphs come out wider than the design's (another
        // DPI, a substitute font) must not cut the text: the label grows to
        // the left, keeping its right edge.
        if (text.cx > w) {
          x -= text.cx - w;
          w = text.cx;
        }
        if (text.cy > h) h = text.cy;
      }
    }
    args.caption = state.text.c_str();
    args.x = x;
    args.y = dpi_(d.at.y);
    args.w = w;
    args.h = h;
    args.id = ControlId(d.id);
    args.font = font;
    controls_[i] = CreateControl(instance_, args);
    if (state.checked && controls_[i]) SendMessageA(controls_[i], BM_SETCHECK, BST_CHECKED, 0);
  }
  --settingText_;
  controlsMade_ = true;
}

void MainWindow::PrepareMainWindow() {
  if (prepared_ || !hwnd_) return;
  prepared_ = true;
  LoadCommonControls();
  CreateControls();
  ApplyIcons();
  // A picture file loaded before replaces the built-in one for good.
  if (!title_) title_.reset(RenderBuiltInTitle(dpi_(kPictureW), dpi_(kPictureH), dpi_));
}

void MainWindow::CreateTooltips() {
  if (tooltip_) return;
  std::vector<std::pair<HWND, const char*>> hints;
  for (const ControlDef& d : kControls) hints.emplace_back(controls_[Index(d.id)], d.hint);
  tooltip_ = CreateHintTooltips(instance_, hwnd_, baseFont_.get(), hints);
}

MainWindow::~MainWindow() {
  tray_.reset();
  if (hwnd_) {
    // Dropped without being closed (a failed start, a test): no logic to
    // tell and no loop to end.
    discarding_ = true;
    DestroyWindow(hwnd_);
  }
  app_.reset();
}

// ---------------------------------------------------------------------------
// Messages

LRESULT MainWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  HWND self = hwnd_;
  // Explorer started again: the icon is put back while it stands for us.
  if (tray_ && tray_->Restore(msg)) return 0;
  switch (msg) {
    case kTrayMessage:
      // WM_USER is also DM_GETDEFID, which the dialog manager sends with
      // both parameters 0 when Enter is pressed; the tray icon always sends
      // its id (1) and a mouse message.
      if (wp == 0 && lp == 0) {
        HWND def = DefaultButton();
        return def ? MAKELRESULT(GetDlgCtrlID(def), DC_HASDEFID) : 0;
      }
      if (events_ && events_->TrayIconNotified(static_cast<long>(lp))) return 0;
      break;
    case WM_COMMAND: {
      const int id = LOWORD(wp) - kFirstId;
      if (id < 0 || id >= kCount) return 0;
      const Control c = static_cast<Control>(id);
      const int code = HIWORD(wp);
      if (code == BN_CLICKED && Def(c).kind == Kind::PictureButton) {
        RunHandler(c);
      } else if (code == EN_CHANGE && settingText_ == 0 &&
                 (c == Control::EditTitle || c == Control::EditImagePath || c == Control::EditIconPath)) {
        RunHandler(c);
      }
      return 0;
    }
    case WM_ACTIVATE:
      RememberOrRestoreFocus(wp);
      return 0;
    case WM_CLOSE:
      if (!closeHeld_) DestroyWindow(self);
      return 0;
    case WM_DESTROY:
      if (TrayIconShown()) RemoveTrayIcon();
      if (!discarding_) {
        if (events_) events_->WindowClosed();
        PostQuitMessage(0);
      }
      return 0;
  }
  return DefWindowProcA(self, msg, wp, lp);
}

void MainWindow::OnDestroyed() {
  tooltip_ = nullptr;
  controls_.fill(nullptr);
}

void MainWindow::RunHandler(Control c) {
  if (events_) events_->ControlUsed(c);
}

HWND MainWindow::DefaultButton() const {
  for (Control c : {Control::BitBtnOK, Control::BitBtnAcExit, Control::BitBtnExit}) {
    if (IsVisible(c)) return controls_[Index(c)];
  }
  return nullptr;
}

LRESULT MainWindow::ControlColour(UINT, HDC dc, HWND control) {
  const int id = GetDlgCtrlID(control) - kFirstId;
  COLORREF text = GetSysColor(COLOR_BTNTEXT);
  COLORREF back = GetSysColor(COLOR_BTNFACE);
  HBRUSH brush = GetSysColorBrush(COLOR_BTNFACE);
  if (id >= 0 && id < kCount) {
    const Control c = static_cast<Control>(id);
    if (IsField(c)) {
      text = kNavy;
      if (IsReadOnly(c)) {
        back = GetSysColor(COLOR_INACTIVECAPTION);
        brush = GetSysColorBrush(COLOR_INACTIVECAPTION);
      } else if (c == Control::EditDBpath) {
        back = kDbPathColour;
        brush = dbPathBrush_.get();
      } else {
        back = kFieldColour;
        brush = fieldBrush_.get();
      }
    } else if (c == Control::EditDate) {
      text = kPurple;
    } else if (c == Control::LabelRequired) {
      text = RGB(255, 255, 255);
      back = kRequiredColour;
      brush = requiredBrush_.get();
    } else if (c == Control::LabelDBPath) {
      text = RGB(0, 0, 0);
    } else if (c == Control::ListBoxFontName) {
      back = GetSysColor(COLOR_WINDOW);
      brush = GetSysColorBrush(COLOR_WINDOW);
      text = GetSysColor(COLOR_WINDOWTEXT);
    }
  }
  SetTextColor(dc, text);
  SetBkColor(dc, back);
  return reinterpret_cast<LRESULT>(brush);
}

void MainWindow::DrawItem(const DRAWITEMSTRUCT& item) {
  const int id = static_cast<int>(item.CtlID) - kFirstId;
  if (id < 0 || id >= kCount) return;
  const ControlDef& d = kControls[id];
  if (item.CtlType == ODT_BUTTON) {
    // The black outline of the button that Enter presses: a focused
    // picture button, else the default button.
    HWND focus = GetFocus();
    const bool otherHasFocus = focus && focus != item.hwndItem && IsChild(hwnd_, focus) && IsPictureButton(focus);
    const bool isDefault = item.hwndItem == DefaultButton() && !otherHasFocus;
    ButtonLook look{d.glyph, d.glyphAbove, d.face == Face::Bold ? boldFont_.get() : baseFont_.get()};
    DrawPictureButton(item, look, isDefault, dpi_);
    if (item.itemAction == ODA_FOCUS) {
      HWND def = DefaultButton();
      if (def && def != item.hwndItem) InvalidateRect(def, nullptr, FALSE);
    }
    return;
  }
  RECT r = item.rcItem;
  switch (d.kind) {
    case Kind::Picture:
      if (title_) {
        const MemoryDc mem(CreateCompatibleDC(item.hDC));
        const SelectedObject picture(mem.get(), title_.get());
        BITMAP bm{};
        GetObjectA(title_.get(), sizeof bm, &bm);
        BitBlt(item.hDC, r.left, r.top, bm.bmWidth, bm.bmHeight, mem.get(), 0, 0, SRCCOPY);
      } else {
        FillRect(item.hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    case Kind::Panel:
    case Kind::Frame:
      DrawBevel(item, BDR_SUNKENOUTER);
      break;
    default:
      break;
  }
}

// ---------------------------------------------------------------------------
// Keyboard

bool MainWindow::TranslateDialogMessage(MSG* msg) { return TranslateDialogKeys(msg); }

int MainWindow::RunMessageLoop() { return win32::RunMessageLoop(); }

// ---------------------------------------------------------------------------
// MainView

std::string MainWindow::ApplicationTitle() const { return app_ ? WindowText(app_->Handle()) : std::string(); }

void MainWindow::SetDisplayTitle(const std::string& title) {
  if (app_) SetWindowTextA(app_->Handle(), title.c_str());
  if (hwnd_) SetWindowTextA(hwnd_, title.c_str());
}

void MainWindow::SetVisible(Control c, bool visible) {
  if (c == Control::ListBoxFontName) visible = false;  // a scratch list, never shown
  if (!controlsMade_) early_[Index(c)].visible = visible;
  HWND h = controls_[Index(c)];
  if (!h) return;
  const bool hadFocus = GetFocus() == h;
  ShowWindow(h, visible ? SW_SHOWNA : SW_HIDE);
  if (hadFocus && !visible) FocusFirstControl();
  // Which button shows the default outline may have changed.
  if (Def(c).kind == Kind::PictureButton) {
    for (Control b : {Control::BitBtnOK, Control::BitBtnAcExit, Control::BitBtnExit}) {
      if (controls_[Index(b)]) InvalidateRect(controls_[Index(b)], nullptr, FALSE);
    }
  }
}

void MainWindow::SetEnabled(Control c, bool enabled) {
  if (!controlsMade_) early_[Index(c)].enabled = enabled;
  HWND h = controls_[Index(c)];
  if (!h) return;
  const bool hadFocus = GetFocus() == h;
  EnableWindow(h, enabled ? TRUE : FALSE);
  if (hadFocus && !enabled) FocusFirstControl();
}

void MainWindow::SetReadOnly(Control c, bool readOnly) {
  if (Def(c).kind != Kind::Edit) return;
  if (!controlsMade_) early_[Index(c)].readOnly = readOnly;
  HWND h = controls_[Index(c)];
  if (!h) return;
  SendMessageA(h, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
  InvalidateRect(h, nullptr, TRUE);
}

bool MainWindow::IsVisible(Control c) const {
  if (!controlsMade_) return early_[Index(c)].visible;
  HWND h = controls_[Index(c)];
  return h && (GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool MainWindow::IsEnabled(Control c) const {
  if (!controlsMade_) return early_[Index(c)].enabled;
  HWND h = controls_[Index(c)];
  return h && IsWindowEnabled(h);
}

bool MainWindow::IsReadOnly(Control c) const {
  if (!controlsMade_) return Def(c).kind == Kind::Edit && early_[Index(c)].readOnly;
  HWND h = controls_[Index(c)];
  return h && Def(c).kind == Kind::Edit && (GetWindowLongA(h, GWL_STYLE) & ES_READONLY) != 0;
}

void MainWindow::SetText(Control c, const std::string& text) {
  if (!controlsMade_) early_[Index(c)].text = text;
  HWND h = controls_[Index(c)];
  if (!h) return;
  ++settingText_;  // the change notification this causes is not the user's
  SetWindowTextA(h, text.c_str());
  --settingText_;
}

std::string MainWindow::GetText(Control c) const {
  if (!controlsMade_) return early_[Index(c)].text;
  HWND h = controls_[Index(c)];
  return h ? WindowText(h) : std::string();
}

void MainWindow::SetChecked(Control c, bool checked) {
  if (!controlsMade_ && Def(c).kind == Kind::CheckBox) early_[Index(c)].checked = checked;
  HWND h = controls_[Index(c)];
  if (h) SendMessageA(h, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool MainWindow::IsChecked(Control c) const {
  if (!controlsMade_) return early_[Index(c)].checked;
  HWND h = controls_[Index(c)];
  return h && SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainWindow::SetFieldFontFace(const std::string& face) {
  FontHandle font(MakeFont(dpi_, face.c_str(), 13));
  if (!font) return;
  for (Control c : {Control::EditDBpath, Control::EditImagePath, Control::EditIconPath, Control::EditTitle}) {
    if (controls_[Index(c)]) SendMessageA(controls_[Index(c)], WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  }
  fieldFont_ = std::move(font);  // the old one goes once no field uses it
}

void MainWindow::SetOuterHeight(int pixelsAt96Dpi) {
  if (!hwnd_) return;
  // The settings area stays wholly out of view at every scale, and the
  // window inside the work area.
  SetOuterHeightShowingAbove(hwnd_, dpi_(pixelsAt96Dpi), dpi_(Def(Control::PanelDBpath).at.y));
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  // A focus left below the lower edge would be out of the user's reach.
  HWND focus = GetFocus();
  if (focus && IsChild(hwnd_, focus) && !InView(hwnd_, focus)) FocusFirstControl();
}

bool MainWindow::LoadTitlePicture(const std::string& path, PictureKind kind) {
  BitmapHandle picture(RenderPictureFile(path, kind, dpi_(kPictureW), dpi_(kPictureH)));
  if (!picture) return false;
  title_ = std::move(picture);
  HWND image = controls_[Index(Control::ImageTitle)];
  if (image) {
    InvalidateRect(image, nullptr, FALSE);
    UpdateWindow(image);
  }
  return true;
}

void MainWindow::ApplyIcons() {
  if (!prepared_) return;  // the preparation hands them over
  for (HWND w : {ApplicationWindow(), hwnd_}) {
    if (!w) continue;
    SendMessageA(w, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageA(w, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
  }
}

bool MainWindow::LoadApplicationIcon(const std::string& path) {
  IconHandle big(static_cast<HICON>(LoadImageA(nullptr, path.c_str(), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                               GetSystemMetrics(SM_CYICON), LR_LOADFROMFILE)));
  if (!big) return false;
  IconHandle small(static_cast<HICON>(LoadImageA(nullptr, path.c_str(), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), LR_LOADFROMFILE)));
  if (!small) small.reset(CopyIcon(big.get()));
  std::swap(bigIcon_, big);
  std::swap(smallIcon_, small);
  ApplyIcons();
  // The old icons go once the windows show the new ones; the tray keeps its
  // own copy of the icon it shows.
  return true;
}

void MainWindow::CloseWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void MainWindow::HoldClose(bool held) {
  closeHeld_ = held;
  // The close box and the window menu's Close show that they do nothing now.
  if (HMENU menu = hwnd_ ? GetSystemMenu(hwnd_, FALSE) : nullptr) {
    EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | (held ? MF_GRAYED : MF_ENABLED));
    DrawMenuBar(hwnd_);
  }
}

void MainWindow::OpenBackupWindow() {
  if (!backupFactory_) return;
  // A new window each time: it reads the settings and takes the date afresh.
  std::unique_ptr<ModalWindow> backup = backupFactory_(hwnd_);
  if (!backup) return;
  const HWND outer = openBackup_;
  openBackup_ = backup->Handle();
  backup->ShowModal();
  openBackup_ = outer;
}

// ---------------------------------------------------------------------------
// LauncherShell

void MainWindow::AddTrayIcon(const std::string& tip) {
  if (tray_) tray_->Add(tip, smallIcon_.get());
}

void MainWindow::RemoveTrayIcon() {
  if (tray_) tray_->Remove();
}

void MainWindow::ShowMainWindow(bool visible) {
  if (!hwnd_) return;
  if (visible) {
    PrepareMainWindow();
    // The hints come with the first showing: made during the run, the
    // tooltip window would cost CPU time while the launcher waits.
    CreateTooltips();
  }
  ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
}

void MainWindow::ShowApplicationWindow(bool visible) {
  if (visible) PrepareMainWindow();
  if (app_) ShowWindow(app_->Handle(), visible ? SW_SHOW : SW_HIDE);
}

void MainWindow::BringToFront() {
  HWND app = ApplicationWindow();
  if (!app) return;
  HWND popup = GetLastActivePopup(app);
  if (popup && popup != app && IsWindowVisible(popup) && IsWindowEnabled(popup)) SetForegroundWindow(popup);
  SetForegroundWindow(app);
}

void MainWindow::PumpMessages() { PumpPendingMessages(); }

std::unique_ptr<WaitWindow> MainWindow::OpenWaitWindow() {
  return waitFactory_ ? waitFactory_(hwnd_) : nullptr;
}

}  // namespace quandrel::win32
