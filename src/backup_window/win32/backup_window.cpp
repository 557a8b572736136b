#include "backup_window/win32/backup_window.h"

#include <commctrl.h>

#include <algorithm>

#include "backup_window/backup_window_logic.h"
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

const char kClass[] = "TFormBackUp";
const char kCaption[] = "システムのバックアップ";

constexpr int kClientW = 528;
constexpr int kClientH = 321;
// A caption but no system menu: no title-bar buttons at all.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

const COLORREF kDriveInfoColour = RGB(255, 241, 255);
const COLORREF kCopyToColour = RGB(241, 255, 241);

// The drive group's items: 6 rows down each of 5 columns, laid out the way
// the group was designed (column width (371 - 10) / 5, row height
// (185 - 12 - 5) / 6, below the group's caption).
constexpr int kGroupX = 6, kGroupY = 13;
constexpr int kItemColumnW = 72, kItemRowH = 28, kItemLeft = 8, kItemTop = 13, kItemH = 20;
constexpr int kItemsPerColumn = 6;

// The drive information panel; its controls are placed relative to it.
constexpr int kPanelX = 263, kPanelY = 80;

using Kind = ControlKind;
enum class Face { Base, Go, CopyToLabel, CopyTo };

struct Place {
  int x, y, w, h;  // client area at 96 DPI
};

// One control as designed; what a row leaves out takes the default. The tab
// order and the boxes' design state are the view's shared facts
// (backup_view.h).
struct ControlDef {
  BackupControl id;
  Kind kind;
  Place at;  // an ordinary label takes its text's size
  const char* caption = "";
  const char* hint = nullptr;
  Face face = Face::Base;
};

using C = BackupControl;
constexpr char kSubHint[] = "サブフォルダもバックアップに含めるか否かを選択します。";

// The backup window's controls, in the order of the BackupControl enumeration.
constexpr ControlDef kControls[] = {
    {.id = C::RadioGroupDrv, .kind = Kind::Group, .at = {kGroupX, kGroupY, 371, 185},
     .caption = " バックアップﾟ先ドライブ "},
    {.id = C::PanelDrvInfo, .kind = Kind::Panel, .at = {kPanelX, kPanelY, 101, 113}},
    {.id = C::LabelDrvKind2, .kind = Kind::Label, .at = {kPanelX + 8, kPanelY + 16, 75, 12},
     .caption = "ドライブの種類"},
    {.id = C::LabelDrvKind, .kind = Kind::FixedLabel, .at = {kPanelX + 6, kPanelY + 32, 90, 17},
     .caption = kDriveLabelBlanks, .hint = "ドライブの種類です"},
    {.id = C::BtnDrvLeft, .kind = Kind::PushButton, .at = {kPanelX + 6, kPanelY + 56, 90, 25},
     .caption = "残容量の確認"},
    {.id = C::LabelDrvLeft, .kind = Kind::FixedLabel, .at = {kPanelX + 6, kPanelY + 84, 90, 17},
     .caption = kDriveLabelBlanks, .hint = "ドライブの残り容量です"},
    {.id = C::Bevel1, .kind = Kind::Frame, .at = {383, 20, 139, 41}},
    {.id = C::Label2, .kind = Kind::Label, .at = {391, 12, 116, 12}, .caption = "プレフィックス フォルダ"},
    {.id = C::EditPreFix, .kind = Kind::Edit, .at = {393, 30, 121, 20},
     .hint = "対象ドライブのバックアップ先フォルダを指定します。"},
    {.id = C::BevelMulti, .kind = Kind::Frame, .at = {384, 86, 137, 105},
     .hint = "バックアップ先のフォルダ名に日付を加えるか否かを選択します。"},
    {.id = C::LabelMulti, .kind = Kind::Label, .at = {387, 78, 131, 12}, .caption = " 日付を基準とした多重化 "},
    {.id = C::CheckBoxMultiDay, .kind = Kind::CheckBox, .at = {425, 102, 70, 17}, .caption = "日付する",
     .hint = "バックアップ先のフォルダ名に日付を加えます。"},
    {.id = C::CheckBoxMultiOff, .kind = Kind::CheckBox, .at = {425, 130, 70, 17}, .caption = "しない",
     .hint = "バックアップ先のフォルダ名に日付や曜日を加えません。"},
    {.id = C::CheckBoxMultiWeek, .kind = Kind::CheckBox, .at = {425, 158, 70, 17}, .caption = "曜日する",
     .hint = "バックアップ先のフォルダ名に曜日を加えます。"},
    {.id = C::Label1, .kind = Kind::Label, .at = {387, 188, 131, 12}, .caption = " 曜日を基準とした多重化 "},
    {.id = C::BevelSub, .kind = Kind::Frame, .at = {8, 216, 169, 41}},
    {.id = C::LabelSub, .kind = Kind::Label, .at = {16, 208, 101, 12}, .caption = "サブフォルダの扱い"},
    {.id = C::CheckBoxSubOn, .kind = Kind::CheckBox, .at = {24, 232, 57, 17}, .caption = "含む", .hint = kSubHint},
    {.id = C::CheckBoxSubOff, .kind = Kind::CheckBox, .at = {104, 232, 57, 17}, .caption = "不要", .hint = kSubHint},
    {.id = C::Bevel2, .kind = Kind::Frame, .at = {184, 216, 169, 41}},
    {.id = C::Label3, .kind = Kind::Label, .at = {192, 208, 137, 12}, .caption = "同一名ファイル既存の場合"},
    {.id = C::CheckBoxUpDate, .kind = Kind::CheckBox, .at = {200, 232, 73, 17}, .caption = "日時更新",
     .hint = "日時を比較して、より新しいファイルのみ更新します。"},
    {.id = C::CheckBoxOverWrite, .kind = Kind::CheckBox, .at = {280, 232, 65, 17}, .caption = "強制上書",
     .hint = "どんな場合も強制上書きします。"},
    {.id = C::ButtonGo, .kind = Kind::PushButton, .at = {362, 213, 159, 44}, .caption = "バックアップ実行(&B)",
     .hint = "データベースシステムをフォルダごとバックアップします。", .face = Face::Go},
    {.id = C::LabelCopyTo, .kind = Kind::Label, .at = {18, 268, 212, 15}, .caption = "バックアップ先(予定)フォルダ名",
     .face = Face::CopyToLabel},
    {.id = C::EditCopyTo, .kind = Kind::Edit, .at = {16, 289, 393, 22},
     .hint = "バックアップ先フォルダ名を表示しています。", .face = Face::CopyTo},
    {.id = C::BitBtnClose, .kind = Kind::PictureButton, .at = {422, 279, 99, 33}, .caption = "戻る(&Q)",
     .hint = "メインメニューに戻ります。"},
};
static_assert(sizeof kControls / sizeof kControls[0] == static_cast<size_t>(BackupControl::Count),
              "one row per control");

static_assert(RowsFollowEnumeration(kControls), "rows follow the BackupControl enumeration");

const ControlDef& Def(BackupControl c) { return kControls[static_cast<int>(c)]; }

constexpr int kDriveItemsSlot = -1;

// Child windows are stacked in creation order, and the tab walk follows the
// stacking: first the tab stops in their order (the drive group's items in
// the group's place), then the labels, then the panel and the frames, and
// the group's own frame last, so that each lies under what it holds.
std::vector<int> CreationOrder() {
  std::vector<int> order;
  for (C c : kBackupTabOrder) order.push_back(c == C::RadioGroupDrv ? kDriveItemsSlot : static_cast<int>(c));
  auto rank = [](const ControlDef& d) {
    if (d.kind == Kind::Group) return 3;
    if (d.kind == Kind::Panel || d.kind == Kind::Frame) return 2;
    return 1;
  };
  for (int r = 1; r <= 3; ++r) {
    for (const ControlDef& d : kControls) {
      // The group's tab position went to its items above.
      const bool placed = TabPosition(d.id) >= 0 && d.kind != Kind::Group;
      if (!placed && rank(d) == r) order.push_back(static_cast<int>(d.id));
    }
  }
  return order;
}

bool IsDriveItemId(int id, int first) { return id >= first && id < first + kDriveItems; }

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

}  // namespace

// ---------------------------------------------------------------------------
// Creation

std::unique_ptr<BackupWindow> BackupWindow::Create(HINSTANCE instance, HWND owner) {
  if (!RegisterWindowClass(instance, kClass, WindowBase::Proc, IDC_ARROW)) return nullptr;
  std::unique_ptr<BackupWindow> w(new BackupWindow());
  w->owner_ = owner;
  // Drawn smaller when the screen's scale would not fit the work area.
  w->dpi_ = Dpi(FittingDotsPerInch(owner, w->dpi_.DotsPerInch(), kClientW, kClientH, kStyle, kExStyle));
  const Dpi& dpi = w->dpi_;
  w->baseFont_.reset(MakeFont(dpi, kBaseFace, 12));
  w->goFont_.reset(MakeFont(dpi, kBaseFace, 16, true));
  w->copyToLabelFont_.reset(MakeFont(dpi, kBaseFace, 15, true));
  w->copyToFont_.reset(MakeFont(dpi, kFixedFace, 16, true));
  w->driveInfoBrush_.reset(CreateSolidBrush(kDriveInfoColour));
  w->copyToBrush_.reset(CreateSolidBrush(kCopyToColour));
  const RECT r = PlacedWindowRect(owner, dpi(kClientW), dpi(kClientH), kStyle, kExStyle);
  if (!w->CreateFrame(instance, kExStyle, kClass, kCaption, kStyle, r, owner)) return nullptr;
  SendMessageA(w->hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(w->baseFont_.get()), FALSE);
  EnableDialogKeys(w->hwnd_);
  LoadCommonControls();
  w->CreateControls(instance);
  w->CreateTooltips(instance);
  return w;
}

HFONT BackupWindow::FontFor(BackupControl c) const {
  switch (Def(c).face) {
    case Face::Go: return goFont_.get();
    case Face::CopyToLabel: return copyToLabelFont_.get();
    case Face::CopyTo: return copyToFont_.get();
    case Face::Base: break;
  }
  return baseFont_.get();
}

void BackupWindow::CreateControls(HINSTANCE instance) {
  const ScreenDc screen;
  for (int i : CreationOrder()) {
    if (i == kDriveItemsSlot) {
      for (int item = 0; item < kDriveItems; ++item) {
        items_[static_cast<size_t>(item)] = CreateDriveItem(instance, item, screen.get());
      }
      continue;
    }
    const ControlDef& d = kControls[i];
    ControlArgs args = ArgsFor(d.kind, d.hint != nullptr);
    if (d.kind == Kind::FixedLabel) args.style |= d.id == C::LabelDrvKind ? SS_CENTER : SS_RIGHT;
    DWORD& style = args.style;
    style |= WS_VISIBLE;
    // The group's own frame takes no focus: its items hold its tab position.
    if (TabPosition(d.id) >= 0 && d.kind != Kind::Group) style |= WS_TABSTOP | WS_GROUP;

    const HFONT font = FontFor(d.id);
    int w = dpi_(d.at.w), h = dpi_(d.at.h);
    if (d.kind == Kind::Label) {
      // Sized to its text, as a label that sizes itself.
      const SIZE text = TextExtent(screen.get(), font, d.caption, DT_NOPREFIX | DT_SINGLELINE);
      w = text.cx;
      h = text.cy;
    }
    args.caption = d.caption;
    args.x = dpi_(d.at.x);
    args.y = dpi_(d.at.y);
    args.w = w;
    args.h = h;
    args.id = ControlId(d.id);
    args.font = font;
    HWND c = CreateControl(instance, args);
    controls_[static_cast<size_t>(i)] = c;
    if (c && d.kind == Kind::Group) SubclassControl(c, GroupBoxProc, 1, 0);
  }

  // The design state of the boxes.
  for (C box : kBackupTickedInDesign) SetChecked(box, true);
  // A fixed-height destination field: its font must not make it grow.
  if (HWND copyTo = controls_[Index(C::EditCopyTo)]) {
    SendMessageA(copyTo, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(dpi_(2), dpi_(2)));
  }
}

HWND BackupWindow::CreateDriveItem(HINSTANCE instance, int item, HDC screen) {
  const std::string caption = std::string(1, static_cast<char>('A' + item)) + ":";
  const SIZE text = TextExtent(screen, baseFont_.get(), caption.c_str(), DT_SINGLELINE);
  // As wide as its circle and text and a little less high than its row,
  // so that the drive panel right of the fourth column and below the fifth
  // lies clear of the items.
  const int column = item / kItemsPerColumn, row = item % kItemsPerColumn;
  const int x = dpi_(kGroupX + kItemLeft + column * kItemColumnW);
  const int y = dpi_(kGroupY + kItemTop + row * kItemRowH + (kItemRowH - kItemH) / 2);
  int w = std::min(dpi_(13 + 5) + static_cast<int>(text.cx) + dpi_(2), dpi_(kItemColumnW - 10));
  if (x < dpi_(kPanelX)) w = std::min(w, dpi_(kPanelX - 1) - x);
  // One group: the first item starts it; only the chosen item (the first
  // while none is) is a tab stop, and the arrow keys move inside.
  DWORD style = WS_VISIBLE | BS_AUTORADIOBUTTON;
  if (item == 0) style |= WS_GROUP | WS_TABSTOP;
  return CreateControl(instance,
                       {"BUTTON", caption.c_str(), style, 0, x, y, w, dpi_(kItemH), DriveItemId(item), baseFont_.get()});
}

void BackupWindow::CreateTooltips(HINSTANCE instance) {
  std::vector<std::pair<HWND, const char*>> hints;
  for (const ControlDef& d : kControls) hints.emplace_back(controls_[Index(d.id)], d.hint);
  tooltip_ = CreateHintTooltips(instance, hwnd_, baseFont_.get(), hints);
}

BackupWindow::~BackupWindow() {
  // Nothing the destruction causes (a focus that leaves a field) reaches
  // the logic.
  events_ = nullptr;
  if (modal_ && owner_) EnableWindow(owner_, TRUE);
  if (hwnd_) DestroyWindow(hwnd_);
}

// ---------------------------------------------------------------------------
// Modal showing

void BackupWindow::ShowModal() {
  if (!hwnd_ || modal_) return;
  modal_ = true;
  if (owner_) EnableWindow(owner_, FALSE);
  lastFocus_ = controls_[Index(C::ButtonGo)];
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  if (lastFocus_) SetFocus(lastFocus_);

  RunModalLoop([this] { return modal_ && hwnd_ != nullptr; });
  Close();
}

void BackupWindow::Close() {
  // The owner is enabled before this window goes, so that the activation
  // falls back to it and not to another program.
  if (modal_) {
    modal_ = false;
    if (owner_) EnableWindow(owner_, TRUE);
  }
  if (hwnd_ && IsWindowVisible(hwnd_)) {
    ShowWindow(hwnd_, SW_HIDE);
    if (owner_ && IsWindowVisible(owner_)) SetActiveWindow(owner_);
  }
}

// ---------------------------------------------------------------------------
// Events

void BackupWindow::RunHandler(BackupControl c) {
  if (events_) events_->ControlUsed(c);
}

void BackupWindow::DriveItemClicked(int item) {
  // A click on the item already chosen changes nothing.
  if (chosen_ == item) return;
  ChooseDrive(item);
  RunHandler(C::RadioGroupDrv);
}

void BackupWindow::PrefixFocus(bool entering) {
  // Only moves between this window's controls count: the focus that leaves
  // with the window's deactivation, and comes back with its activation,
  // never left the field for the user.
  if (entering) {
    if (prefixActive_) return;
    prefixActive_ = true;
  } else {
    HWND to = GetFocus();
    if (!to || (to != hwnd_ && !IsChild(hwnd_, to))) return;
    prefixActive_ = false;
  }
  RunHandler(C::EditPreFix);
}

void BackupWindow::OnCommand(int id, int code) {
  if (IsDriveItemId(id, kFirstDriveId)) {
    if (code == BN_CLICKED) DriveItemClicked(id - kFirstDriveId);
    return;
  }
  const int index = id - kFirstId;
  if (index < 0 || index >= kCount) return;
  const BackupControl c = static_cast<BackupControl>(index);
  const Kind kind = Def(c).kind;
  if (c == C::EditPreFix) {
    if (code == EN_SETFOCUS) PrefixFocus(true);
    if (code == EN_KILLFOCUS) PrefixFocus(false);
    return;
  }
  if (code == BN_CLICKED && (kind == Kind::PushButton || kind == Kind::PictureButton || kind == Kind::CheckBox)) {
    RunHandler(c);
  }
}

LRESULT BackupWindow::ControlColour(UINT msg, HDC dc, HWND control) {
  const int index = GetDlgCtrlID(control) - kFirstId;
  const BackupControl c = index >= 0 && index < kCount ? static_cast<BackupControl>(index) : C::Count;
  if (c == C::LabelDrvKind || c == C::LabelDrvLeft) {
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    SetBkColor(dc, kDriveInfoColour);
    return reinterpret_cast<LRESULT>(driveInfoBrush_.get());
  }
  if (c == C::EditCopyTo) {
    SetTextColor(dc, kNavy);
    SetBkColor(dc, kCopyToColour);
    return reinterpret_cast<LRESULT>(copyToBrush_.get());
  }
  if (msg == WM_CTLCOLORSTATIC) {
    // Labels, boxes, drive items and the group's frame on the button face.
    SetTextColor(dc, c == C::LabelCopyTo ? kNavy : GetSysColor(COLOR_BTNTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  }
  return DefWindowProcA(hwnd_, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
}

void BackupWindow::DrawItem(const DRAWITEMSTRUCT& item) {
  const int index = static_cast<int>(item.CtlID) - kFirstId;
  if (index < 0 || index >= kCount) return;
  const ControlDef& d = kControls[index];
  switch (d.kind) {
    case Kind::PictureButton: {
      ButtonLook look{Glyph::Return, false, baseFont_.get()};
      DrawPictureButton(item, look, false, dpi_);
      break;
    }
    case Kind::Panel:
      DrawBevel(item, BDR_SUNKENOUTER);
      break;
    case Kind::Frame:
      DrawBevel(item, EDGE_ETCHED);
      break;
    default:
      break;
  }
}

void BackupWindow::OnDestroyed() {
  tooltip_ = nullptr;
  controls_.fill(nullptr);
  items_.fill(nullptr);
}

LRESULT BackupWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  HWND self = hwnd_;
  switch (msg) {
    case WM_CLOSE:
      Close();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wp) == IDCANCEL) {  // Esc, through the dialog keys
        Close();
        return 0;
      }
      OnCommand(LOWORD(wp), HIWORD(wp));
      return 0;
    case DM_GETDEFID: {
      // Enter presses the focused push button; there is no default one.
      HWND focus = GetFocus();
      for (C b : {C::ButtonGo, C::BtnDrvLeft}) {
        if (focus && focus == controls_[Index(b)]) return MAKELRESULT(ControlId(b), DC_HASDEFID);
      }
      return 0;
    }
    case WM_NEXTDLGCTL: {
      // The dialog keys move the focus here; an arrow key onto a drive
      // item chooses it, as in any radio group.
      HWND target = lp ? reinterpret_cast<HWND>(wp) : GetNextDlgTabItem(self, GetFocus(), wp != 0);
      if (!target || !IsChild(self, target)) return 0;
      SetFocus(target);
      if (IsDriveItemId(GetDlgCtrlID(target), kFirstDriveId)) DriveItemClicked(GetDlgCtrlID(target) - kFirstDriveId);
      return 0;
    }
    case WM_ACTIVATE:
      RememberOrRestoreFocus(wp);
      return 0;
    case WM_KEYDOWN:
      if (wp == VK_ESCAPE) {
        Close();
        return 0;
      }
      break;
    case WM_SYSKEYDOWN:
      // Without a system menu Alt+F4 is still the way out.
      if (wp == VK_F4) {
        Close();
        return 0;
      }
      break;
  }
  return DefWindowProcA(self, msg, wp, lp);
}

// ---------------------------------------------------------------------------
// BackupView

bool BackupWindow::IsChecked(BackupControl c) const {
  HWND h = controls_[Index(c)];
  return h && SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void BackupWindow::SetChecked(BackupControl c, bool checked) {
  HWND h = controls_[Index(c)];
  if (h) SendMessageA(h, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void BackupWindow::ChooseDrive(std::optional<int> item) {
  if (item && (*item < 0 || *item >= kDriveItems)) item.reset();
  chosen_ = item;
  const int tabStop = item ? *item : 0;
  for (int i = 0; i < kDriveItems; ++i) {
    HWND h = items_[static_cast<size_t>(i)];
    if (!h) continue;
    SendMessageA(h, BM_SETCHECK, item == i ? BST_CHECKED : BST_UNCHECKED, 0);
    LONG style = GetWindowLongA(h, GWL_STYLE);
    style = i == tabStop ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
    SetWindowLongA(h, GWL_STYLE, style);
  }
}

std::string BackupWindow::GetText(BackupControl c) const {
  HWND h = controls_[Index(c)];
  return h ? WindowText(h) : std::string();
}

void BackupWindow::SetText(BackupControl c, const std::string& text) {
  HWND h = controls_[Index(c)];
  if (!h) return;
  SetWindowTextA(h, text.c_str());
  // A long free space count is shown whole in a smaller font, never cut.
  if (c == C::LabelDrvLeft) driveLeftFont_.Fit(h, kBaseFace, dpi_(12));
}

// ---------------------------------------------------------------------------
// Window and logic together

std::unique_ptr<BackupForm> BackupForm::Create(HINSTANCE instance, HWND owner, Platform& platform,
                                               std::vector<std::string> driveNames, std::string settingsPath) {
  std::unique_ptr<BackupForm> form(new BackupForm());
  form->view_ = BackupWindow::Create(instance, owner);
  if (!form->view_) return nullptr;
  form->logic_ = std::make_unique<BackupWindowLogic>(platform, *form->view_, std::move(driveNames), std::move(settingsPath));
  form->view_->Attach(form->logic_.get());
  form->logic_->LoadAndShowOptions();
  return form;
}

BackupForm::~BackupForm() {
  if (view_) view_->Attach(nullptr);
}

}  // namespace quandrel::win32
