#include "history_window/win32/history_window.h"

#include <commctrl.h>

#include "history_window/history_window_logic.h"
#include "ui/win32/common_controls.h"

namespace quandrel::win32 {

namespace {

// A caption but no system menu: no title-bar buttons at all.
constexpr WindowDesign kDesign{"TFormHistory", "データベースの履歴", 620, 300,
                               WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN, WS_EX_DLGMODALFRAME};

using Kind = ControlKind;
enum class Face { Base };
using ControlDef = ControlRow<HistoryControl, Face>;
using C = HistoryControl;

constexpr ControlDef kControls[] = {
    {.id = C::LabelHistory, .kind = Kind::Label, .at = {8, 8, 0, 0},
     .caption = "バックアップ（.BAK）と履歴（新しい順）"},
    {.id = C::ListViewHistory, .kind = Kind::ListView, .at = {8, 28, 604, 222},
     .hint = "戻したい状態を選びます。"},
    {.id = C::BitBtnRestore, .kind = Kind::PictureButton, .at = {400, 259, 99, 33}, .caption = "復元(&R)",
     .hint = "選んだ状態にデータベースを戻します。今の状態は履歴に残ります。", .glyph = Glyph::Restart},
    {.id = C::BitBtnClose, .kind = Kind::PictureButton, .at = {513, 259, 99, 33}, .caption = "閉じる(&Q)",
     .hint = "メインメニューに戻ります。", .glyph = Glyph::Return},
};
static_assert(sizeof kControls / sizeof kControls[0] == static_cast<size_t>(HistoryControl::Count),
              "one row per control");
static_assert(RowsFollowEnumeration(kControls), "rows follow the HistoryControl enumeration");

struct Column {
  const char* title;
  int width;  // pixels at 96 DPI
  int format;
};
// In the order of HistoryColumn.
constexpr Column kColumns[] = {
    {"日時", 160, LVCFMT_LEFT},          {"内容", 140, LVCFMT_LEFT}, {"サイズ", 80, LVCFMT_RIGHT},
    {"コンピューター", 110, LVCFMT_LEFT}, {"ユーザー", 90, LVCFMT_LEFT},
};
static_assert(sizeof kColumns / sizeof kColumns[0] == static_cast<size_t>(HistoryColumn::Count),
              "one column per HistoryColumn");

const std::string& CellOf(const HistoryRow& row, int column) {
  switch (static_cast<HistoryColumn>(column)) {
    case HistoryColumn::When: return row.when;
    case HistoryColumn::What: return row.what;
    case HistoryColumn::Size: return row.size;
    case HistoryColumn::Computer: return row.computer;
    default: return row.user;
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Creation

HistoryWindow::HistoryWindow() : table_(kControls, kHistoryTabOrder, kFirstId) {}

std::unique_ptr<HistoryWindow> HistoryWindow::Create(HINSTANCE instance, HWND owner, WaitFactory waitFactory) {
  std::unique_ptr<HistoryWindow> w(new HistoryWindow());
  w->waitFactory_ = std::move(waitFactory);
  if (!w->CreateDesignedFrame(instance, kDesign, owner, owner, w->dpi_)) return nullptr;
  ControlTable& table = w->table_;
  table.SetFont(static_cast<int>(Face::Base), FontHandle(MakeFont(w->dpi_, kBaseFace, 12)));
  SendMessageA(w->hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(table.Font(0)), FALSE);
  LoadCommonControls();
  table.Make(instance, w->hwnd_, w->dpi_, [](int index) {
    ControlTable::Start start;
    // Nothing is chosen yet.
    if (index == static_cast<int>(C::BitBtnRestore)) start.enabled = false;
    return start;
  });
  w->MakeColumns();
  w->tooltip_ = table.MakeHints(instance, w->hwnd_);
  return w;
}

void HistoryWindow::MakeColumns() {
  HWND list = Ctl(C::ListViewHistory);
  if (!list) return;
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  for (int i = 0; i < static_cast<int>(HistoryColumn::Count); ++i) {
    const Column& c = kColumns[i];
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = c.format;
    column.cx = dpi_(c.width);
    column.pszText = const_cast<char*>(c.title);
    column.iSubItem = i;
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
  }
}

HistoryWindow::~HistoryWindow() {
  events_ = nullptr;
  ReleaseOwner();
  if (hwnd_) DestroyWindow(hwnd_);
}

// ---------------------------------------------------------------------------
// Modal showing

void HistoryWindow::ShowModal() { RunOwnedModal(Ctl(C::ListViewHistory)); }

void HistoryWindow::Close() { CloseOwnedModal(); }

// ---------------------------------------------------------------------------
// Events

std::optional<int> HistoryWindow::SelectedRow() const {
  HWND list = Ctl(C::ListViewHistory);
  if (!list) return std::nullopt;
  const int row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  if (row < 0) return std::nullopt;
  return row;
}

void HistoryWindow::OnNotify(const NMHDR& header) {
  if (header.hwndFrom != Ctl(C::ListViewHistory)) return;
  if (header.code == LVN_ITEMCHANGED) {
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if (!(change.uChanged & LVIF_STATE) || quiet_) return;
    // A move to another line clears the old one before it marks the new:
    // the choice is read once the list is done, so none shows in between.
    if (!choicePending_ && PostMessageA(hwnd_, kChoiceChanged, 0, 0)) choicePending_ = true;
  } else if (header.code == NM_DBLCLK) {
    // A double click on a line asks to put it back, as the button does,
    // once the logic knows which line that is.
    ReportChoice();
    if (SelectedRow() && IsWindowEnabled(Ctl(C::BitBtnRestore)) && events_) events_->ControlUsed(C::BitBtnRestore);
  }
}

void HistoryWindow::ReportChoice() {
  choicePending_ = false;
  // One report per change of the chosen line, not one per line touched.
  const std::optional<int> now = SelectedRow();
  if (now == reported_) return;
  reported_ = now;
  if (events_) events_->RowChosen(now);
}

LRESULT HistoryWindow::ControlColour(UINT msg, HDC dc, HWND control) { return table_.Colour(msg, dc, control); }

void HistoryWindow::DrawItem(const DRAWITEMSTRUCT& item) { table_.Draw(item, nullptr, dpi_); }

void HistoryWindow::OnDestroyed() {
  tooltip_ = nullptr;
  table_.Forget();
}

LRESULT HistoryWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  HWND self = hwnd_;
  switch (msg) {
    case WM_CLOSE:
      Close();
      return 0;
    case WM_COMMAND: {
      if (LOWORD(wp) == IDCANCEL) {  // Esc, through the dialog keys
        Close();
        return 0;
      }
      const int index = LOWORD(wp) - kFirstId;
      if (HIWORD(wp) == BN_CLICKED && index >= 0 && index < kCount && events_) {
        const C c = static_cast<C>(index);
        HWND h = Ctl(c);
        // Enter on the list comes here too: only a usable button counts,
        // for the line the list shows chosen.
        if (c == C::BitBtnRestore) ReportChoice();
        if ((c == C::BitBtnRestore || c == C::BitBtnClose) && h && IsWindowEnabled(h)) events_->ControlUsed(c);
      }
      return 0;
    }
    case kChoiceChanged:
      ReportChoice();
      return 0;
    case WM_NOTIFY:
      if (lp) OnNotify(*reinterpret_cast<const NMHDR*>(lp));
      return 0;
    case DM_GETDEFID: {
      // Enter on the list puts the chosen line back; on a button it
      // presses that button (the dialog keys do that themselves).
      if (GetFocus() == Ctl(C::ListViewHistory) && IsWindowEnabled(Ctl(C::BitBtnRestore))) {
        return MAKELRESULT(ControlId(C::BitBtnRestore), DC_HASDEFID);
      }
      return 0;
    }
  }
  if (OwnedModalMessage(msg, wp)) return 0;
  return DefWindowProcA(self, msg, wp, lp);
}

// ---------------------------------------------------------------------------
// HistoryView

void HistoryWindow::ShowRows(const std::vector<HistoryRow>& rows) {
  HWND list = Ctl(C::ListViewHistory);
  if (!list) return;
  quiet_ = true;
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (int column = 0; column < static_cast<int>(HistoryColumn::Count); ++column) {
      LVITEMA item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(r);
      item.iSubItem = column;
      item.pszText = const_cast<char*>(CellOf(rows[r], column).c_str());
      SendMessageA(list, column == 0 ? LVM_INSERTITEMA : LVM_SETITEMTEXTA, column == 0 ? 0 : r,
                   reinterpret_cast<LPARAM>(&item));
    }
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  reported_.reset();
  quiet_ = false;
}

void HistoryWindow::ChooseRow(std::optional<int> row) {
  HWND list = Ctl(C::ListViewHistory);
  if (!list) return;
  quiet_ = true;
  LVITEMA state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = 0;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
  if (row && *row >= 0 && *row < RowCount()) {
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(*row), reinterpret_cast<LPARAM>(&state));
    SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(*row), FALSE);
  }
  reported_ = SelectedRow();
  quiet_ = false;
}

void HistoryWindow::SetEnabled(HistoryControl c, bool enabled) {
  HWND h = Ctl(c);
  if (!h) return;
  // A button that goes off while it has the focus hands it to the list.
  if (!enabled && GetFocus() == h) SetFocus(Ctl(C::ListViewHistory));
  EnableWindow(h, enabled ? TRUE : FALSE);
}

std::unique_ptr<WaitWindow> HistoryWindow::OpenWaitWindow() {
  return waitFactory_ ? waitFactory_(hwnd_) : nullptr;
}

int HistoryWindow::RowCount() const {
  HWND list = Ctl(C::ListViewHistory);
  return list ? static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

std::string HistoryWindow::CellText(int row, HistoryColumn column) const {
  HWND list = Ctl(C::ListViewHistory);
  if (!list) return std::string();
  char buffer[512] = {};
  LVITEMA item{};
  item.iSubItem = static_cast<int>(column);
  item.pszText = buffer;
  item.cchTextMax = sizeof buffer;
  SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return buffer;
}

// ---------------------------------------------------------------------------
// Window and logic together

std::unique_ptr<HistoryForm> HistoryForm::Create(HINSTANCE instance, HWND owner, Platform& platform,
                                                 std::string target, std::string settingsPath, int historyCount,
                                                 HistoryWindow::WaitFactory waitFactory) {
  std::unique_ptr<HistoryForm> form(new HistoryForm());
  form->view_ = HistoryWindow::Create(instance, owner, std::move(waitFactory));
  if (!form->view_) return nullptr;
  form->logic_ = std::make_unique<HistoryWindowLogic>(platform, *form->view_, std::move(target),
                                                      std::move(settingsPath), historyCount);
  form->view_->Attach(form->logic_.get());
  form->logic_->ShowHistory();
  return form;
}

HistoryForm::~HistoryForm() = default;

}  // namespace quandrel::win32
