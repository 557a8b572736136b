#include "backup_window/win32/backup_window.h"

#include <algorithm>

#include "backup_window/backup_window_logic.h"
#include "ui/win32/colours.h"
#include "ui/win32/common_controls.h"
#include "ui/win32/window_class.h"

namespace quandrel::win32 {

namespace {

// A caption but no system menu: no title-bar buttons at all.
constexpr WindowDesign kDesign{"TFormBackUp", "システムのバックアップ", 528, 321,
                               WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN, WS_EX_DLGMODALFRAME};

constexpr COLORREF kDriveInfoColour = RGB(255, 241, 255);
constexpr COLORREF kCopyToColour = RGB(241, 255, 241);

// The drive group's items: 6 rows down each of 5 columns, laid out the way
// the group was designed (column width (371 - 10) / 5, row height
// (185 - 12 - 5) / 6, below the group's caption).
constexpr int kGroupX = 6, kGroupY = 13;
constexpr int kItemColumnW = 72, kItemRowH = 28, kItemLeft = 8, kItemTop = 13, kItemH = 20;
constexpr int kItemsPerColumn = 6;

// The drive information panel; its controls are placed relative to it.
constexpr int kPanelX = 263, kPanelY = 80;

using Kind = ControlKind;
// The fonts; Base first (the table's face 0).
enum class Face { Base, Go, CopyToLabel, CopyTo };
int FaceIndex(Face f) { return static_cast<int>(f); }

// The tab order and the boxes' design state are the view's shared facts
// (backup_view.h). The labels take their texts' sizes.
using ControlDef = ControlRow<BackupControl, Face>;

using C = BackupControl;
constexpr char kSubHint[] = "サブフォルダもバックアップに含めるか否かを選択します。";

// The backup window's controls, in the order of the BackupControl enumeration.
constexpr ControlDef kControls[] = {
    {.id = C::RadioGroupDrv, .kind = Kind::Group, .at = {kGroupX, kGroupY, 371, 185},
     .caption = " バックアップﾟ先ドライブ "},
    {.id = C::PanelDrvInfo, .kind = Kind::Panel, .at = {kPanelX, kPanelY, 101, 113}},
    {.id = C::LabelDrvKind2, .kind = Kind::Label, .at = {kPanelX + 8, kPanelY + 16, 0, 0},
     .caption = "ドライブの種類"},
    {.id = C::LabelDrvKind, .kind = Kind::FixedLabel, .at = {kPanelX + 6, kPanelY + 32, 90, 17},
     .caption = kDriveLabelBlanks, .hint = "ドライブの種類です", .back = kDriveInfoColour, .align = Align::Centre},
    {.id = C::BtnDrvLeft, .kind = Kind::PushButton, .at = {kPanelX + 6, kPanelY + 56, 90, 25},
     .caption = "残容量の確認"},
    {.id = C::LabelDrvLeft, .kind = Kind::FixedLabel, .at = {kPanelX + 6, kPanelY + 84, 90, 17},
     .caption = kDriveLabelBlanks, .hint = "ドライブの残り容量です", .back = kDriveInfoColour, .align = Align::Right},
    {.id = C::Bevel1, .kind = Kind::Frame, .at = {383, 20, 139, 41}},
    {.id = C::Label2, .kind = Kind::Label, .at = {391, 12, 0, 0}, .caption = "プレフィックス フォルダ"},
    {.id = C::EditPreFix, .kind = Kind::Edit, .at = {393, 30, 121, 20},
     .hint = "対象ドライブのバックアップ先フォルダを指定します。"},
    {.id = C::BevelMulti, .kind = Kind::Frame, .at = {384, 86, 137, 105},
     .hint = "バックアップ先のフォルダ名に日付を加えるか否かを選択します。"},
    {.id = C::LabelMulti, .kind = Kind::Label, .at = {387, 78, 0, 0}, .caption = " 日付を基準とした多重化 "},
    {.id = C::CheckBoxMultiDay, .kind = Kind::CheckBox, .at = {425, 102, 70, 17}, .caption = "日付する",
     .hint = "バックアップ先のフォルダ名に日付を加えます。"},
    {.id = C::CheckBoxMultiOff, .kind = Kind::CheckBox, .at = {425, 130, 70, 17}, .caption = "しない",
     .hint = "バックアップ先のフォルダ名に日付や曜日を加えません。"},
    {.id = C::CheckBoxMultiWeek, .kind = Kind::CheckBox, .at = {425, 158, 70, 17}, .caption = "曜日する",
     .hint = "バックアップ先のフォルダ名に曜日を加えます。"},
    {.id = C::Label1, .kind = Kind::Label, .at = {387, 188, 0, 0}, .caption = " 曜日を基準とした多重化 "},
    {.id = C::BevelSub, .kind = Kind::Frame, .at = {8, 216, 169, 41}},
    {.id = C::LabelSub, .kind = Kind::Label, .at = {16, 208, 0, 0}, .caption = "サブフォルダの扱い"},
    {.id = C::CheckBoxSubOn, .kind = Kind::CheckBox, .at = {24, 232, 57, 17}, .caption = "含む", .hint = kSubHint},
    {.id = C::CheckBoxSubOff, .kind = Kind::CheckBox, .at = {104, 232, 57, 17}, .caption = "不要", .hint = kSubHint},
    {.id = C::Bevel2, .kind = Kind::Frame, .at = {184, 216, 169, 41}},
    {.id = C::Label3, .kind = Kind::Label, .at = {192, 208, 0, 0}, .caption = "同一名ファイル既存の場合"},
    {.id = C::CheckBoxUpDate, .kind = Kind::CheckBox, .at = {200, 232, 73, 17}, .caption = "日時更新",
     .hint = "日時を比較して、より新しいファイルのみ更新します。"},
    {.id = C::CheckBoxOverWrite, .kind = Kind::CheckBox, .at = {280, 232, 65, 17}, .caption = "強制上書",
     .hint = "どんな場合も強制上書きします。"},
    {.id = C::ButtonGo, .kind = Kind::PushButton, .at = {362, 213, 159, 44}, .caption = "バックアップ実行(&B)",
     .hint = "データベースシステムをフォルダごとバックアップします。", .face = Face::Go},
    {.id = C::LabelCopyTo, .kind = Kind::Label, .at = {18, 268, 0, 0}, .caption = "バックアップ先(予定)フォルダ名",
     .face = Face::CopyToLabel, .text = kNavy},
    {.id = C::EditCopyTo, .kind = Kind::Edit, .at = {16, 289, 393, 22},
     .hint = "バックアップ先フォルダ名を表示しています。", .face = Face::CopyTo, .text = kNavy,
     .back = kCopyToColour},
    {.id = C::BitBtnClose, .kind = Kind::PictureButton, .at = {422, 279, 99, 33}, .caption = "戻る(&Q)",
     .hint = "メインメニューに戻ります。", .glyph = Glyph::Return},
};
static_assert(sizeof kControls / sizeof kControls[0] == static_cast<size_t>(BackupControl::Count),
              "one row per control");

static_assert(RowsFollowEnumeration(kControls), "rows follow the BackupControl enumeration");

bool IsDriveItemId(int id, int first) { return id >= first && id < first + kDriveItems; }

}  // namespace

// ---------------------------------------------------------------------------
// Creation

BackupWindow::BackupWindow() : table_(kControls, kBackupTabOrder, kFirstId) {}

std::unique_ptr<BackupWindow> BackupWindow::Create(HINSTANCE instance, HWND owner) {
  std::unique_ptr<BackupWindow> w(new BackupWindow());
  if (!w->CreateDesignedFrame(instance, kDesign, owner, owner, w->dpi_)) return nullptr;
  const Dpi& dpi = w->dpi_;
  ControlTable& table = w->table_;
  table.SetFont(FaceIndex(Face::Base), FontHandle(MakeFont(dpi, kBaseFace, 12)));
  table.SetFont(FaceIndex(Face::Go), FontHandle(MakeFont(dpi, kBaseFace, 16, true)));
  table.SetFont(FaceIndex(Face::CopyToLabel), FontHandle(MakeFont(dpi, kBaseFace, 15, true)));
  table.SetFont(FaceIndex(Face::CopyTo), FontHandle(MakeFont(dpi, kFixedFace, 16, true)));
  SendMessageA(w->hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(table.Font(FaceIndex(Face::Base))), FALSE);
  LoadCommonControls();
  w->CreateControls(instance);
  w->tooltip_ = table.MakeHints(instance, w->hwnd_);
  return w;
}

void BackupWindow::CreateControls(HINSTANCE instance) {
  const ScreenDc screen;
  table_.Make(instance, hwnd_, dpi_, nullptr, [&](int) {
    for (int item = 0; item < kDriveItems; ++item) {
      items_[static_cast<size_t>(item)] = CreateDriveItem(instance, item, screen.get());
    }
  });

  // The design state of the boxes.
  for (C box : kBackupTickedInDesign) SetChecked(box, true);
  // A fixed-height destination field: its font must not make it grow.
  if (HWND copyTo = Ctl(C::EditCopyTo)) {
    SendMessageA(copyTo, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(dpi_(2), dpi_(2)));
  }
}

HWND BackupWindow::CreateDriveItem(HINSTANCE instance, int item, HDC screen) {
  const std::string caption = std::string(1, static_cast<char>('A' + item)) + ":";
  const HFONT font = table_.Font(FaceIndex(Face::Base));
  const SIZE text = TextExtent(screen, font, caption.c_str(), DT_SINGLELINE);
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
  return MakeControl(instance, hwnd_, {"BUTTON", caption.c_str(), style, 0, x, y, w, dpi_(kItemH), DriveItemId(item), font});
}

BackupWindow::~BackupWindow() {
  // Nothing the destruction causes (a focus that leaves a field) reaches
  // the logic.
  events_ = nullptr;
  ReleaseOwner();
  if (hwnd_) DestroyWindow(hwnd_);
}

// ---------------------------------------------------------------------------
// Modal showing

void BackupWindow::ShowModal() { RunOwnedModal(Ctl(C::ButtonGo)); }

void BackupWindow::Close() { CloseOwnedModal(); }

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
  const Kind kind = table_.RowAt(index).kind;
  if (c == C::EditPreFix) {
    if (code == EN_SETFOCUS) PrefixFocus(true);
    if (code == EN_KILLFOCUS) PrefixFocus(false);
    return;
  }
  if (code == BN_CLICKED && (kind == Kind::PushButton || kind == Kind::PictureButton || kind == Kind::CheckBox)) {
    RunHandler(c);
  }
}

LRESULT BackupWindow::ControlColour(UINT msg, HDC dc, HWND control) { return table_.Colour(msg, dc, control); }

void BackupWindow::DrawItem(const DRAWITEMSTRUCT& item) { table_.Draw(item, nullptr, dpi_); }

void BackupWindow::OnDestroyed() {
  tooltip_ = nullptr;
  table_.Forget();
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
      const int focused = table_.IndexOf(GetFocus());
      if (focused >= 0 && table_.RowAt(focused).kind == Kind::PushButton) {
        return MAKELRESULT(table_.ControlId(focused), DC_HASDEFID);
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
  }
  if (OwnedModalMessage(msg, wp)) return 0;
  return DefWindowProcA(self, msg, wp, lp);
}

// ---------------------------------------------------------------------------
// BackupView

bool BackupWindow::IsChecked(BackupControl c) const {
  HWND h = Ctl(c);
  return h && SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void BackupWindow::SetChecked(BackupControl c, bool checked) {
  HWND h = Ctl(c);
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
  HWND h = Ctl(c);
  return h ? WindowText(h) : std::string();
}

void BackupWindow::SetText(BackupControl c, const std::string& text) {
  HWND h = Ctl(c);
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

BackupForm::~BackupForm() = default;

}  // namespace quandrel::win32
