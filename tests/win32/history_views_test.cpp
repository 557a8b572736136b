// The history window's view in this process: its controls and tab order,
// the lines it shows, and which user actions reach its logic.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "history_window/win32/history_window.h"
#include "ui/win32/dialog_keys.h"
#include "driver/driver.h"

namespace {

using qtest::DrainMessages;
using qtest::PlaceInParent;
using quandrel::HistoryColumn;
using quandrel::HistoryControl;
using quandrel::HistoryRow;
using quandrel::win32::Dpi;
using quandrel::win32::HistoryWindow;
using quandrel::win32::TranslateDialogKeys;
using C = HistoryControl;

int Scaled(int px) { return Dpi()(px); }

const std::vector<HistoryRow> kRows = {
    {"2026/12/10 09:30:05", "復元前", "1,024 KB", "KEIRI-PC2", "suzuki"},
    {"2026/12/09 17:00:00", "バックアップ（.BAK）", "0 KB", "", ""},
    {"2026/12/08 08:00:00", "保存終了", "12 KB", "表計算ソ", "能登"},
};

// Records what the view reports: "row 1", "row none", "used 2".
class HistoryViewTest : public ::testing::Test, public quandrel::HistoryViewEvents {
 protected:
  void ControlUsed(C c) override { events_.push_back("used " + std::to_string(static_cast<int>(c))); }
  void RowChosen(std::optional<int> row) override {
    events_.push_back(row ? "row " + std::to_string(*row) : std::string("row none"));
  }
  void SetUp() override {
    window_ = HistoryWindow::Create(GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
    w_ = window_->Handle();
    window_->Attach(this);
  }
  void TearDown() override {
    window_.reset();
    DrainMessages();
  }
  HWND Ctl(C c) const { return window_->ControlHandle(c); }
  void ShowActive() {
    ShowWindow(w_, SW_SHOW);
    SetForegroundWindow(w_);
    SetActiveWindow(w_);
    DrainMessages();
  }
  bool Key(WPARAM key) {
    MSG msg{};
    msg.hwnd = GetFocus();
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    const bool handled = TranslateDialogKeys(&msg);
    if (!handled) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    DrainMessages();
    return handled;
  }
  static std::string Used(C c) { return "used " + std::to_string(static_cast<int>(c)); }

  std::unique_ptr<HistoryWindow> window_;
  HWND w_ = nullptr;
  std::vector<std::string> events_;
};

TEST_F(HistoryViewTest, ControlsTabOrderAndClass) {
  char cls[32] = {};
  GetClassNameA(w_, cls, sizeof cls);
  EXPECT_STREQ(cls, "TFormHistory");
  RECT client;
  GetClientRect(w_, &client);
  EXPECT_EQ(client.right, Scaled(620));
  EXPECT_EQ(client.bottom, Scaled(300));
  struct Placed {
    C control;
    const char* cls;
    int x, y, w, h;
    const char* caption;
  };
  for (const Placed& p : std::vector<Placed>{
           {C::ListViewHistory, "SysListView32", 8, 28, 604, 222, ""},
           {C::BitBtnRestore, "Button", 400, 259, 99, 33, "復元(&R)"},
           {C::BitBtnClose, "Button", 513, 259, 99, 33, "閉じる(&Q)"},
       }) {
    HWND h = Ctl(p.control);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GetDlgCtrlID(h), HistoryWindow::ControlId(p.control));
    GetClassNameA(h, cls, sizeof cls);
    EXPECT_STREQ(cls, p.cls);
    const RECT r = PlaceInParent(h);
    EXPECT_EQ(r.left, Scaled(p.x));
    EXPECT_EQ(r.top, Scaled(p.y));
    EXPECT_EQ(r.right - r.left, Scaled(p.w));
    EXPECT_EQ(r.bottom - r.top, Scaled(p.h));
    char text[64] = {};
    GetWindowTextA(h, text, sizeof text);
    EXPECT_STREQ(text, p.caption);
  }
  EXPECT_FALSE(IsWindowEnabled(Ctl(C::BitBtnRestore))) << "nothing is chosen at first";

  window_->SetEnabled(C::BitBtnRestore, true);
  std::vector<HWND> walked;
  HWND first = GetNextDlgTabItem(w_, nullptr, FALSE);
  for (HWND h = first; h && walked.size() < 10; h = GetNextDlgTabItem(w_, h, FALSE)) {
    if (!walked.empty() && h == first) break;
    walked.push_back(h);
  }
  EXPECT_EQ(walked, (std::vector<HWND>{Ctl(C::ListViewHistory), Ctl(C::BitBtnRestore), Ctl(C::BitBtnClose)}));
}

TEST_F(HistoryViewTest, ShowsEveryCellAndChoosingFromTheLogicRunsNoHandler) {
  window_->ShowRows(kRows);
  ASSERT_EQ(window_->RowCount(), 3);
  for (int r = 0; r < 3; ++r) {
    const HistoryRow& row = kRows[static_cast<size_t>(r)];
    EXPECT_EQ(window_->CellText(r, HistoryColumn::When), row.when);
    EXPECT_EQ(window_->CellText(r, HistoryColumn::What), row.what);
    EXPECT_EQ(window_->CellText(r, HistoryColumn::Size), row.size);
    EXPECT_EQ(window_->CellText(r, HistoryColumn::Computer), row.computer);
    EXPECT_EQ(window_->CellText(r, HistoryColumn::User), row.user);
  }
  window_->ChooseRow(2);
  window_->ChooseRow(std::nullopt);
  window_->ShowRows({kRows[0]});
  EXPECT_EQ(window_->RowCount(), 1);
  DrainMessages();
  EXPECT_TRUE(events_.empty());
}

TEST_F(HistoryViewTest, KeysChooseALineAndEnterOnTheListRestoresIt) {
  window_->ShowRows(kRows);
  ShowActive();
  SetFocus(Ctl(C::ListViewHistory));
  Key(VK_END);
  EXPECT_EQ(events_, (std::vector<std::string>{"row 2"}));
  // Enter does nothing while the logic keeps the restore button off.
  Key(VK_RETURN);
  EXPECT_EQ(events_.size(), 1u);
  window_->SetEnabled(C::BitBtnRestore, true);
  Key(VK_RETURN);
  Key(VK_HOME);
  EXPECT_EQ(events_, (std::vector<std::string>{"row 2", Used(C::BitBtnRestore), "row 0"}));
}

TEST_F(HistoryViewTest, ButtonsReachTheLogicAndEscCloses) {
  window_->ShowRows(kRows);
  ShowActive();
  window_->SetEnabled(C::BitBtnRestore, true);
  SetFocus(Ctl(C::BitBtnRestore));
  Key(VK_RETURN);
  MSG alt{};
  alt.hwnd = GetFocus();
  alt.message = WM_SYSCHAR;
  alt.wParam = 'q';
  EXPECT_TRUE(TranslateDialogKeys(&alt));
  DrainMessages();
  EXPECT_EQ(events_, (std::vector<std::string>{Used(C::BitBtnRestore), Used(C::BitBtnClose)}));

  // A button turned off while focused hands the focus to the list.
  SetFocus(Ctl(C::BitBtnRestore));
  window_->SetEnabled(C::BitBtnRestore, false);
  EXPECT_EQ(GetFocus(), Ctl(C::ListViewHistory));

  EXPECT_TRUE(Key(VK_ESCAPE));
  EXPECT_FALSE(IsWindowVisible(w_));
  EXPECT_EQ(events_.size(), 2u) << "Esc closes without the logic";
}

}  // namespace
