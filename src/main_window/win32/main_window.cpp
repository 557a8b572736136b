#include "main_window/win32/main_window.h"

#include <utility>

#include "main_window/win32/title_art.h"
#include "resource_ids.h"
#include "ui/win32/colours.h"
#include "ui/win32/common_controls.h"
#include "ui/win32/dialog_keys.h"
#include "ui/win32/message_loops.h"
#include "ui/win32/monitor_fit.h"
#include "ui/win32/window_class.h"

namespace quandrel::win32 {

namespace {

// Titled "Quandrel" until the display title is known.
constexpr WindowDesign kDesign{"TFormMain", "Quandrel", 420, 486,
                               WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 0};
constexpr int kPictureW = 300;
constexpr int kPictureH = 120;

// The fields' own colours while they are editable.
constexpr COLORREF kDbPathColour = RGB(255, 241, 255);
constexpr COLORREF kFieldColour = RGB(255, 255, 241);

using Kind = ControlKind;
// The fonts; Base first (the table's face 0).
enum class Face { Base, Bold, Field, PathLabel, Required, Date };
int FaceIndex(Face f) { return static_cast<int>(f); }

// Which controls start hidden, the tab order and the sets of controls are
// the view's shared facts (main_view.h).
using ControlDef = ControlRow<Control, Face>;

constexpr char kImageHint[] = "メインメニューに表示されるタイトルロゴファイル ( *.bmp 300 x 120 Pixel) を指定します";
constexpr char kIconHint[] = "タスクバー等に表示されるアイコンファイル ( *.ICO のみ) を指定します";
constexpr char kTitleHint[] = "タイトルバーに表示されるプログラム名を指定します。";

using C = Control;

// The main window's controls, in the order of the Control enumeration.
constexpr ControlDef kControls[] = {
    // Title strip
    {.id = C::BevelImageTitle, .kind = Kind::Panel, .at = {4, 0, 316, 136}},
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
     .caption = " 最初に開くファイル名の指定\r\n( *.Exe, *.Wfm, *.Cmd, *.Mdb その他)", .face = Face::PathLabel,
     .text = RGB(0, 0, 0)},
    {.id = C::LabelRequired, .kind = Kind::FixedLabel, .at = {108, 206, 57, 20}, .caption = "必須!!",
     .face = Face::Required, .text = RGB(255, 255, 255), .back = RGB(255, 0, 0), .align = Align::Centre},
    {.id = C::BitBtnDBpath, .kind = Kind::PictureButton, .at = {12, 204, 75, 25}, .caption = "参照",
     .hint = "最初に開くファイル名 ( *.Exe, *.Wfm, *.Cmd ) を指定します。", .glyph = Glyph::Browse},
    {.id = C::EditDBpath, .kind = Kind::Edit, .at = {12, 236, 393, 21},
     .hint = "最初に開くファイル名の指定 ( *.Exe, *.Wfm, *.Cmd )", .face = Face::Field, .text = kNavy,
     .back = kDbPathColour},
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
    {.id = C::EditImagePath, .kind = Kind::Edit, .at = {12, 344, 393, 21}, .hint = kImageHint, .face = Face::Field,
     .text = kNavy, .back = kFieldColour},
    {.id = C::EditTitle, .kind = Kind::Edit, .at = {196, 374, 209, 21}, .hint = kTitleHint, .face = Face::Field,
     .text = kNavy, .back = kFieldColour},
    // Read-only from the start (a design fact the view keeps).
    {.id = C::EditDate, .kind = Kind::Edit, .at = {16, 378, 89, 16}, .hint = "Today", .face = Face::Date,
     .text = RGB(128, 0, 128), .flat = true},
    {.id = C::LabelTitle, .kind = Kind::Label, .at = {108, 379, 0, 0}, .caption = "システムタイトル",
     .hint = kTitleHint},
    {.id = C::BitBtnIcon, .kind = Kind::PictureButton, .at = {16, 398, 75, 25}, .caption = "参照",
     .hint = kIconHint, .glyph = Glyph::Browse},
    {.id = C::LabelIconPath, .kind = Kind::Label, .at = {104, 407, 0, 0},
     .caption = "アイコンファイルの指定 ( *.ICO のみ)"},
    {.id = C::EditIconPath, .kind = Kind::Edit, .at = {14, 425, 393, 21}, .hint = kIconHint, .face = Face::Field,
     .text = kNavy, .back = kFieldColour},
    {.id = C::CboxUnClose, .kind = Kind::CheckBox, .at = {295, 455, 112, 17}, .caption = "「閉じる」の無効化"},
    {.id = C::CboxNonCustom, .kind = Kind::CheckBox, .at = {14, 456, 120, 17}, .caption = "設定変更の不許可"},
    {.id = C::CboxMDBbak, .kind = Kind::CheckBox, .at = {156, 456, 117, 17}, .caption = "*.Mdb の非破棄化"},
    // In the gap of the end-of-run row, so that it shows in the compact
    // layout too and no other control moves.
    {.id = C::BitBtnHistory, .kind = Kind::PictureButton, .at = {108, 142, 48, 48}, .caption = "履歴(&H)",
     .hint = "以前の状態の一覧を開き、選んだ状態にデータベースを戻します。", .glyph = Glyph::History,
     .glyphAbove = true},
};
static_assert(sizeof kControls / sizeof kControls[0] == static_cast<size_t>(Control::Count),
              "one row per control");

static_assert(RowsFollowEnumeration(kControls), "rows follow the Control enumeration");

// Every picture button belongs to the buttons of one mode, which show and
// hide it; the text fields are the edits in the field font (whose face
// SetFieldFontFace changes), the switches check boxes.
constexpr bool SetsMatchTheTable() {
  for (const ControlDef& d : kControls) {
    const int modes = IsIn(kMainEndModeButtons, d.id) + IsIn(kMainLeaveSettingsButtons, d.id) +
                      IsIn(kMainBrowseButtons, d.id);
    if ((d.kind == Kind::PictureButton) != (modes == 1) || modes > 1) return false;
    if (IsIn(kMainTextFields, d.id) != (d.face == Face::Field) || (IsIn(kMainTextFields, d.id) && d.kind != Kind::Edit)) {
      return false;
    }
    if (IsIn(kMainSwitches, d.id) && d.kind != Kind::CheckBox) return false;
  }
  return true;
}
static_assert(SetsMatchTheTable(), "the sets of controls match the control table");

// The tray icon reports the mouse message in its second parameter.
TrayMouse TrayMouseOf(UINT mouseMessage) {
  switch (mouseMessage) {
    case WM_MOUSEMOVE: return TrayMouse::Move;
    case WM_LBUTTONDOWN: return TrayMouse::LeftDown;
    case WM_LBUTTONUP: return TrayMouse::LeftUp;
    case WM_LBUTTONDBLCLK: return TrayMouse::LeftDoubleClick;
    case WM_RBUTTONDOWN: return TrayMouse::RightDown;
    case WM_RBUTTONUP: return TrayMouse::RightUp;
    case WM_RBUTTONDBLCLK: return TrayMouse::RightDoubleClick;
    default: return TrayMouse::Other;
  }
}

HICON LoadBuiltInIcon(HINSTANCE instance, int cx, int cy) {
  HICON icon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_QUANDREL), IMAGE_ICON, cx, cy, 0));
  if (!icon) icon = CopyIcon(LoadIconA(nullptr, MAKEINTRESOURCEA(32512)));  // IDI_APPLICATION
  return icon;
}

}  // namespace

// ---------------------------------------------------------------------------
// Creation

MainWindow::MainWindow(HINSTANCE instance) : instance_(instance), table_(kControls, kMainTabOrder, kFirstId) {}

std::unique_ptr<MainWindow> MainWindow::Create(HINSTANCE instance) {
  std::unique_ptr<MainWindow> w(new MainWindow(instance));
  if (!w->CreateWindows()) return nullptr;
  return w;
}

bool MainWindow::CreateWindows() {
  app_ = TaskbarWindow::Create(instance_, [this] { return hwnd_; });
  if (!app_) return false;

  if (!CreateDesignedFrame(instance_, kDesign, app_->Handle(), nullptr, dpi_)) return false;

  table_.SetFont(FaceIndex(Face::Base), FontHandle(MakeFont(dpi_, kBaseFace, 12)));
  table_.SetFont(FaceIndex(Face::Bold), FontHandle(MakeFont(dpi_, kBaseFace, 12, true)));
  table_.SetFont(FaceIndex(Face::Field), FontHandle(MakeFont(dpi_, kFixedFace, 13)));
  table_.SetFont(FaceIndex(Face::PathLabel), FontHandle(MakeFont(dpi_, kFixedFace, 12)));
  table_.SetFont(FaceIndex(Face::Required), FontHandle(MakeFont(dpi_, kBaseFace, 16, true)));
  table_.SetFont(FaceIndex(Face::Date), FontHandle(MakeFont(dpi_, kBaseFace, 11)));
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(table_.Font(FaceIndex(Face::Base))), FALSE);

  // The controls, the hints and the built-in title picture wait: a start
  // that launches a program shows the window only at the run's end, and
  // makes them once the program has run a while (the hints at the first
  // showing). Until then the controls' state is kept here, starting as
  // designed: EditDate is read-only from the start.
  for (const ControlDef& d : kControls) {
    ControlTable::Start& state = early_[Index(d.id)];
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
  // The texts the controls start with are not the user's: a change
  // notification they cause must not reach the logic.
  ++settingText_;
  table_.Make(instance_, hwnd_, dpi_, [this](int i) { return early_[static_cast<size_t>(i)]; });
  --settingText_;
  controlsMade_ = true;
  // The fields' values are the logic's: it shows them now.
  if (events_) events_->ControlsMade();
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
  if (!tooltip_) tooltip_ = table_.MakeHints(instance_, hwnd_);
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
    case DM_GETDEFID: {
      // Enter, through the dialog keys: the visible default button.
      HWND def = DefaultButton();
      return def ? MAKELRESULT(GetDlgCtrlID(def), DC_HASDEFID) : 0;
    }
    case kTrayMessage:
      if (events_ && events_->TrayIconUsed(TrayMouseOf(static_cast<UINT>(lp)))) return 0;
      break;
    case WM_COMMAND: {
      const int id = LOWORD(wp) - kFirstId;
      if (id < 0 || id >= kCount) return 0;
      const Control c = static_cast<Control>(id);
      const int code = HIWORD(wp);
      HWND control = Ctl(c);
      if (!events_ || !control) return 0;
      if (code == BN_CLICKED && table_.RowAt(id).kind == Kind::PictureButton) {
        events_->ControlUsed(c);
      } else if (code == BN_CLICKED && IsIn(kMainSwitches, c)) {
        events_->SwitchClicked(c, SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED);
      } else if (code == EN_CHANGE && settingText_ == 0 && IsIn(kMainTextFields, c)) {
        events_->TextEdited(c, WindowText(control));
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
  table_.Forget();
}

HWND MainWindow::DefaultButton() const {
  for (Control c : kMainDefaultButtons) {
    if (IsVisible(c)) return Ctl(c);
  }
  return nullptr;
}

LRESULT MainWindow::ControlColour(UINT msg, HDC dc, HWND control) { return table_.Colour(msg, dc, control); }

void MainWindow::DrawItem(const DRAWITEMSTRUCT& item) {
  if (table_.Draw(item, DefaultButton(), dpi_)) return;
  if (table_.IndexOf(item.hwndItem) != Index(Control::ImageTitle)) return;
  const RECT& r = item.rcItem;
  if (!title_) {
    FillRect(item.hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
    return;
  }
  const MemoryDc mem(CreateCompatibleDC(item.hDC));
  const SelectedObject picture(mem.get(), title_.get());
  BITMAP bm{};
  GetObjectA(title_.get(), sizeof bm, &bm);
  BitBlt(item.hDC, r.left, r.top, bm.bmWidth, bm.bmHeight, mem.get(), 0, 0, SRCCOPY);
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
  ChangeFocusable(Ctl(c), visible, [visible](HWND h) { ShowWindow(h, visible ? SW_SHOWNA : SW_HIDE); });
  // Which button shows the default outline may have changed.
  if (Ctl(c) && table_.RowAt(Index(c)).kind == Kind::PictureButton) {
    for (Control b : kMainDefaultButtons) {
      if (Ctl(b)) InvalidateRect(Ctl(b), nullptr, FALSE);
    }
  }
}

void MainWindow::SetEnabled(Control c, bool enabled) {
  if (!controlsMade_) early_[Index(c)].enabled = enabled;
  ChangeFocusable(Ctl(c), enabled, [enabled](HWND h) { EnableWindow(h, enabled ? TRUE : FALSE); });
}

void MainWindow::ChangeFocusable(HWND control, bool usable, const std::function<void(HWND)>& change) {
  if (!control) return;
  const bool hadFocus = GetFocus() == control;
  change(control);
  // A control the user can no longer reach hands the focus on.
  if (hadFocus && !usable) FocusFirstControl();
}

void MainWindow::SetReadOnly(Control c, bool readOnly) {
  if (table_.RowAt(Index(c)).kind != Kind::Edit) return;
  if (!controlsMade_) early_[Index(c)].readOnly = readOnly;
  HWND h = Ctl(c);
  if (!h) return;
  SendMessageA(h, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
  InvalidateRect(h, nullptr, TRUE);
}

bool MainWindow::IsVisible(Control c) const {
  if (!controlsMade_) return early_[Index(c)].visible;
  return HasStyle(c, WS_VISIBLE);
}

bool MainWindow::IsEnabled(Control c) const {
  if (!controlsMade_) return early_[Index(c)].enabled;
  return Ctl(c) && IsWindowEnabled(Ctl(c));
}

bool MainWindow::IsReadOnly(Control c) const {
  if (table_.RowAt(Index(c)).kind != Kind::Edit) return false;
  if (!controlsMade_) return early_[Index(c)].readOnly;
  return HasStyle(c, ES_READONLY);
}

bool MainWindow::HasStyle(Control c, LONG style) const {
  HWND h = Ctl(c);
  return h && (GetWindowLongA(h, GWL_STYLE) & style) != 0;
}

void MainWindow::SetText(Control field, const std::string& text) {
  HWND h = Ctl(field);
  if (!h) return;  // ControlsMade asks for it again
  ++settingText_;  // the change notification this causes is not the user's
  SetWindowTextA(h, text.c_str());
  --settingText_;
}

void MainWindow::SetChecked(Control box, bool checked) {
  HWND h = Ctl(box);
  if (h) SendMessageA(h, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void MainWindow::SetFieldFontFace(const std::string& face) {
  FontHandle font(MakeFont(dpi_, face.c_str(), 13));
  if (font) table_.ReplaceFont(FaceIndex(Face::Field), std::move(font));
}

void MainWindow::SetOuterHeight(int pixelsAt96Dpi) {
  if (!hwnd_) return;
  // The settings area stays wholly out of view at every scale, and the
  // window inside the work area.
  SetOuterHeightShowingAbove(hwnd_, dpi_(pixelsAt96Dpi), dpi_(table_.RowAt(Index(Control::PanelDBpath)).at.y));
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  // A focus left below the lower edge would be out of the user's reach.
  HWND focus = GetFocus();
  if (focus && IsChild(hwnd_, focus) && !InView(hwnd_, focus)) FocusFirstControl();
}

bool MainWindow::LoadTitlePicture(const std::string& path, PictureKind kind) {
  BitmapHandle picture(RenderPictureFile(path, kind, dpi_(kPictureW), dpi_(kPictureH)));
  if (!picture) return false;
  title_ = std::move(picture);
  HWND image = Ctl(Control::ImageTitle);
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

void MainWindow::ShowOwnedModal(const ModalFactory& factory) {
  if (!factory) return;
  // A new window each time: it reads the settings and the files afresh.
  std::unique_ptr<ModalWindow> window = factory(hwnd_);
  if (!window) return;
  const HWND outer = openModal_;
  openModal_ = window->Handle();
  window->ShowModal();
  openModal_ = outer;
}

void MainWindow::OpenBackupWindow() { ShowOwnedModal(backupFactory_); }

void MainWindow::OpenHistoryWindow() { ShowOwnedModal(historyFactory_); }

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
