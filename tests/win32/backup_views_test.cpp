// The backup window's view in this process: the controls' places, the tab
// order, and which user actions reach which handler.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "backup_window/win32/backup_window.h"
#include "ui/win32/dialog_keys.h"
#include "driver/driver.h"

namespace {

using qtest::DrainMessages;
using qtest::PlaceInParent;
using quandrel::BackupControl;
using quandrel::kDriveItems;
using quandrel::win32::BackupWindow;
using quandrel::win32::Dpi;
using quandrel::win32::TranslateDialogKeys;
using C = BackupControl;
using Event = std::pair<BackupControl, int>;

int Scaled(int px) { return Dpi()(px); }

bool Checked(HWND h) { return SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// Records the user's actions the view reports: the control, and for the
// drive group the item then chosen.
class BackupViewTest : public ::testing::Test, public quandrel::BackupViewEvents {
 protected:
  void ControlUsed(C c) override {
    events_.push_back({c, c == C::RadioGroupDrv ? window_->ChosenDrive().value_or(-1) : -1});
  }
  void SetUp() override {
    window_ = BackupWindow::Create(GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
    w_ = window_->Handle();
    window_->Attach(this);
  }
  void TearDown() override {
    window_.reset();
    DrainMessages();
  }
  HWND Ctl(C c) const { return window_->ControlHandle(c); }
  HWND Item(int i) const { return window_->DriveItemHandle(i); }
  void ShowActive() {
    ShowWindow(w_, SW_SHOW);
    SetForegroundWindow(w_);
    SetActiveWindow(w_);
    DrainMessages();
  }
  // A key as the message loops hand it over.
  bool Key(WPARAM key) {
    MSG msg{};
    msg.hwnd = GetFocus();
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    const bool handled = TranslateDialogKeys(&msg);
    DrainMessages();
    return handled;
  }

  std::unique_ptr<BackupWindow> window_;
  HWND w_ = nullptr;
  std::vector<Event> events_;
};

struct Placed {
  C control;
  const char* cls;
  int x, y, w, h;
};

TEST_F(BackupViewTest, ControlsLieWhereTheDesignPutsThem) {
  RECT client;
  GetClientRect(w_, &client);
  EXPECT_EQ(client.right, Scaled(528));
  EXPECT_EQ(client.bottom, Scaled(321));
  for (const Placed& p : std::vector<Placed>{
           {C::RadioGroupDrv, "Button", 6, 13, 371, 185},
           {C::PanelDrvInfo, "Static", 263, 80, 101, 113},
           {C::LabelDrvKind, "Static", 269, 112, 90, 17},
           {C::BtnDrvLeft, "Button", 269, 136, 90, 25},
           {C::LabelDrvLeft, "Static", 269, 164, 90, 17},
           {C::Bevel1, "Static", 383, 20, 139, 41},
           {C::EditPreFix, "Edit", 393, 30, 121, 20},
           {C::BevelMulti, "Static", 384, 86, 137, 105},
           {C::CheckBoxMultiDay, "Button", 425, 102, 70, 17},
           {C::CheckBoxMultiOff, "Button", 425, 130, 70, 17},
           {C::CheckBoxMultiWeek, "Button", 425, 158, 70, 17},
           {C::BevelSub, "Static", 8, 216, 169, 41},
           {C::CheckBoxSubOn, "Button", 24, 232, 57, 17},
           {C::CheckBoxSubOff, "Button", 104, 232, 57, 17},
           {C::Bevel2, "Static", 184, 216, 169, 41},
           {C::CheckBoxUpDate, "Button", 200, 232, 73, 17},
           {C::CheckBoxOverWrite, "Button", 280, 232, 65, 17},
           {C::ButtonGo, "Button", 362, 213, 159, 44},
           {C::EditCopyTo, "Edit", 16, 289, 393, 22},
           {C::BitBtnClose, "Button", 422, 279, 99, 33},
       }) {
    HWND h = Ctl(p.control);
    ASSERT_NE(h, nullptr) << static_cast<int>(p.control);
    EXPECT_EQ(GetDlgCtrlID(h), BackupWindow::ControlId(p.control));
    char cls[32] = {};
    GetClassNameA(h, cls, sizeof cls);
    EXPECT_STREQ(cls, p.cls);
    const RECT r = PlaceInParent(h);
    EXPECT_EQ(r.left, Scaled(p.x)) << static_cast<int>(p.control);
    EXPECT_EQ(r.top, Scaled(p.y)) << static_cast<int>(p.control);
    EXPECT_EQ(r.right - r.left, Scaled(p.w)) << static_cast<int>(p.control);
    EXPECT_EQ(r.bottom - r.top, Scaled(p.h)) << static_cast<int>(p.control);
  }
}

TEST_F(BackupViewTest, DriveItemsRunDownFiveColumnsAroundThePanel) {
  const RECT group = PlaceInParent(Ctl(C::RadioGroupDrv));
  const RECT panel = PlaceInParent(Ctl(C::PanelDrvInfo));
  std::vector<RECT> items;
  for (int i = 0; i < kDriveItems; ++i) {
    HWND h = Item(i);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GetDlgCtrlID(h), BackupWindow::DriveItemId(i));
    items.push_back(PlaceInParent(h));
    RECT inside;
    EXPECT_TRUE(IntersectRect(&inside, &items.back(), &group) && EqualRect(&inside, &items.back()))
        << "item " << i << " lies in the group";
    EXPECT_FALSE(IntersectRect(&inside, &items.back(), &panel)) << "item " << i << " is clear of the panel";
  }
  for (int i = 0; i < kDriveItems; ++i) {
    const int column = i / 6, row = i % 6;
    EXPECT_EQ(items[i].left, items[column * 6].left) << "A-F, G-L, M-R, S-X, Y-Z share their column";
    EXPECT_EQ(items[i].top, items[row].top) << "each row starts level";
    if (row > 0) {
      EXPECT_GT(items[i].top, items[i - 1].top);
    }
    if (column > 0) {
      EXPECT_GT(items[i].left, items[i - 6].left);
    }
  }
  // The panel: right of the fourth column's items, below "Y:" and "Z:".
  EXPECT_GE(panel.left, items[18].right);
  EXPECT_GE(panel.top, items[25].bottom);
}

TEST_F(BackupViewTest, TabOrderStartsAtTheCopyButtonAndEntersTheDriveGroupAtItsChoice) {
  auto walk = [&] {
    std::vector<HWND> order;
    HWND first = GetNextDlgTabItem(w_, nullptr, FALSE);
    for (HWND h = first; h && order.size() < 40; h = GetNextDlgTabItem(w_, h, FALSE)) {
      if (!order.empty() && h == first) break;
      order.push_back(h);
    }
    return order;
  };
  std::vector<HWND> expected = {Ctl(C::ButtonGo),         Ctl(C::BitBtnClose),      Item(0),
                                Ctl(C::EditCopyTo),       Ctl(C::CheckBoxMultiDay), Ctl(C::CheckBoxMultiOff),
                                Ctl(C::CheckBoxSubOn),    Ctl(C::CheckBoxSubOff),   Ctl(C::BtnDrvLeft),
                                Ctl(C::CheckBoxMultiWeek), Ctl(C::EditPreFix),      Ctl(C::CheckBoxUpDate),
                                Ctl(C::CheckBoxOverWrite)};
  EXPECT_EQ(walk(), expected);
  window_->ChooseDrive(2);
  expected[2] = Item(2);
  EXPECT_EQ(walk(), expected);
  EXPECT_TRUE(Checked(Item(2)));
  window_->ChooseDrive(std::nullopt);
  EXPECT_FALSE(Checked(Item(2)));
  EXPECT_EQ(window_->ChosenDrive(), std::nullopt);
  EXPECT_TRUE(events_.empty()) << "choosing from the logic runs no handler";
}

TEST_F(BackupViewTest, DesignStateOfTheBoxesAndLabels) {
  EXPECT_TRUE(window_->IsChecked(C::CheckBoxMultiOff));
  EXPECT_TRUE(window_->IsChecked(C::CheckBoxSubOn));
  EXPECT_TRUE(window_->IsChecked(C::CheckBoxUpDate));
  EXPECT_FALSE(window_->IsChecked(C::CheckBoxMultiDay));
  EXPECT_FALSE(window_->IsChecked(C::CheckBoxSubOff));
  EXPECT_EQ(window_->GetText(C::LabelDrvKind), std::string(19, ' '));
  EXPECT_EQ(window_->GetText(C::LabelDrvLeft), std::string(19, ' '));
  EXPECT_EQ(window_->GetText(C::EditPreFix), "");
  EXPECT_EQ(window_->ChosenDrive(), std::nullopt);
}

TEST_F(BackupViewTest, ClicksReachTheirHandlers) {
  ShowActive();
  SendMessageA(Ctl(C::CheckBoxSubOff), BM_CLICK, 0, 0);
  EXPECT_TRUE(window_->IsChecked(C::CheckBoxSubOff)) << "the box flips before its handler";
  SendMessageA(Item(3), BM_CLICK, 0, 0);
  EXPECT_EQ(window_->ChosenDrive(), 3);
  SendMessageA(Item(3), BM_CLICK, 0, 0);  // the chosen item again: nothing
  SendMessageA(Item(25), BM_CLICK, 0, 0);
  EXPECT_FALSE(Checked(Item(3)));
  EXPECT_TRUE(Checked(Item(25)));
  for (C c : {C::BtnDrvLeft, C::CheckBoxMultiWeek, C::CheckBoxUpDate, C::ButtonGo, C::BitBtnClose}) {
    SendMessageA(Ctl(c), BM_CLICK, 0, 0);
  }
  DrainMessages();
  EXPECT_EQ(events_, (std::vector<Event>{{C::CheckBoxSubOff, -1},
                                         {C::RadioGroupDrv, 3},
                                         {C::RadioGroupDrv, 25},
                                         {C::BtnDrvLeft, -1},
                                         {C::CheckBoxMultiWeek, -1},
                                         {C::CheckBoxUpDate, -1},
                                         {C::ButtonGo, -1},
                                         {C::BitBtnClose, -1}}));
}

TEST_F(BackupViewTest, PrefixHandlerRunsWhenTheFocusMovesInOrOutWithinTheWindow) {
  ShowActive();
  events_.clear();
  SetFocus(Ctl(C::EditPreFix));
  SetFocus(Ctl(C::CheckBoxSubOn));
  SetFocus(Ctl(C::EditPreFix));
  EXPECT_EQ(events_.size(), 3u);
  window_->SetText(C::EditPreFix, "typed by the logic");
  EXPECT_EQ(events_.size(), 3u) << "a text set runs nothing";

  // Another window takes the focus and gives it back: the user never left
  // the field.
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  SetForegroundWindow(other);
  SetActiveWindow(other);
  SetFocus(other);
  DrainMessages();
  SetForegroundWindow(w_);
  SetActiveWindow(w_);
  DrainMessages();
  EXPECT_EQ(GetFocus(), Ctl(C::EditPreFix));
  EXPECT_EQ(events_.size(), 3u);
  DestroyWindow(other);

  SetFocus(Ctl(C::ButtonGo));
  EXPECT_EQ(events_, (std::vector<Event>(4, {C::EditPreFix, -1})));
}

TEST_F(BackupViewTest, KeysMoveThroughTheDriveItemsAndPressTheFocusedButton) {
  ShowActive();
  window_->ChooseDrive(2);
  SetFocus(Item(2));
  events_.clear();
  EXPECT_TRUE(Key(VK_DOWN));
  EXPECT_EQ(GetFocus(), Item(3));
  EXPECT_EQ(window_->ChosenDrive(), 3);
  EXPECT_TRUE(Key(VK_UP));
  EXPECT_EQ(window_->ChosenDrive(), 2);
  EXPECT_EQ(events_, (std::vector<Event>{{C::RadioGroupDrv, 3}, {C::RadioGroupDrv, 2}}));

  events_.clear();
  SetFocus(Ctl(C::ButtonGo));
  EXPECT_TRUE(Key(VK_RETURN));
  SetFocus(Ctl(C::BtnDrvLeft));
  EXPECT_TRUE(Key(VK_RETURN));
  SetFocus(Ctl(C::CheckBoxSubOn));
  Key(VK_RETURN);  // no default button: nothing
  EXPECT_EQ(events_, (std::vector<Event>{{C::ButtonGo, -1}, {C::BtnDrvLeft, -1}}));

  // Alt+B copies and Alt+Q returns, wherever the focus is.
  events_.clear();
  for (WPARAM letter : {'b', 'q'}) {
    MSG msg{};
    msg.hwnd = GetFocus();
    msg.message = WM_SYSCHAR;
    msg.wParam = letter;
    msg.lParam = 1 << 29;
    EXPECT_TRUE(TranslateDialogKeys(&msg));
    DrainMessages();
  }
  EXPECT_EQ(events_, (std::vector<Event>{{C::ButtonGo, -1}, {C::BitBtnClose, -1}}));
}

}  // namespace
