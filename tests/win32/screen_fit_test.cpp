// Every window fits the screen at the screen's DPI: each lies inside its
// monitor's work area, each visible control inside its window's client
// area, and the controls overlap only where the design lays one on
// another (a label on a frame's edge, controls inside a panel or group).
// tools/dpi-check.sh runs these at 96, 144 and 192 DPI on a 1366 x 768
// screen; the screenshots carry the DPI in their names.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "backup_window/win32/backup_window.h"
#include "history_window/win32/history_window.h"
#include "main_window/win32/main_window.h"
#include "wait_window/win32/wait_window_view.h"
#include "driver/launcher.h"

namespace qtest {
namespace {

using quandrel::BackupControl;
using quandrel::Control;
using quandrel::HistoryControl;
using quandrel::win32::BackupWindow;
using quandrel::win32::HistoryWindow;
using quandrel::win32::MainWindow;
using quandrel::win32::WaitWindowView;

int ScreenDpi() {
  HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi;
}

std::string Shot(const std::string& name) { return "dpi" + std::to_string(ScreenDpi()) + "-" + name; }

RECT WorkAreaOf(HWND window) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  ::GetMonitorInfoA(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info);
  return info.rcWork;
}

std::string Describe(const RECT& r) {
  std::ostringstream s;
  s << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
  return s.str();
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

bool Overlap(const RECT& a, const RECT& b) {
  RECT both;
  return ::IntersectRect(&both, &a, &b) != FALSE;
}

// The design's overlaps: each container with the controls it holds or
// that lie on its edge. Names are for the failure messages.
struct Container {
  int id;
  std::vector<int> members;
};

struct Design {
  std::map<int, std::string> names;
  std::vector<Container> containers;
};

using Pair = std::pair<int, int>;
Pair Ordered(int a, int b) { return a < b ? Pair{a, b} : Pair{b, a}; }

// Checks one window as it is on the screen now. `cutBelow` is the client
// y (as drawn) from which the design puts controls out of view (the
// compact layout); they must then lie wholly below the client area.
void ExpectFits(HWND window, const Design& design, int cutBelow = -1) {
  ASSERT_TRUE(::IsWindow(window));
  RECT outer, client;
  ::GetWindowRect(window, &outer);
  ::GetClientRect(window, &client);
  const RECT work = WorkAreaOf(window);
  EXPECT_TRUE(Inside(outer, work)) << "window " << Describe(outer) << " leaves the work area " << Describe(work);
  // Client area in screen coordinates, for comparing with the controls.
  ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);

  std::map<int, RECT> shown;
  for (HWND c = ::GetWindow(window, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
    if (!(::GetWindowLongA(c, GWL_STYLE) & WS_VISIBLE)) continue;
    const int id = ::GetDlgCtrlID(c);
    auto name = design.names.find(id);
    const std::string label = name != design.names.end() ? name->second : "control " + std::to_string(id);
    RECT r;
    ::GetWindowRect(c, &r);
    if (cutBelow >= 0 && r.top - client.top >= cutBelow) {
      EXPECT_GE(r.top, client.bottom) << label << " should be out of view";
      continue;
    }
    EXPECT_TRUE(Inside(r, client)) << label << " " << Describe(r) << " is not inside the client area "
                                   << Describe(client);
    shown[id] = r;
  }

  std::set<Pair> expected, actual;
  for (const Container& box : design.containers) {
    for (int m : box.members) {
      if (shown.count(box.id) && shown.count(m)) expected.insert(Ordered(box.id, m));
    }
  }
  for (auto a = shown.begin(); a != shown.end(); ++a) {
    for (auto b = std::next(a); b != shown.end(); ++b) {
      if (Overlap(a->second, b->second)) actual.insert(Ordered(a->first, b->first));
    }
  }
  auto name = [&](int id) {
    auto n = design.names.find(id);
    return n != design.names.end() ? n->second : std::to_string(id);
  };
  for (const Pair& p : actual) {
    EXPECT_TRUE(expected.count(p)) << name(p.first) << " " << Describe(shown[p.first]) << " overlaps "
                                   << name(p.second) << " " << Describe(shown[p.second]);
  }
  for (const Pair& p : expected) {
    EXPECT_TRUE(actual.count(p)) << name(p.first) << " should overlap " << name(p.second);
  }
}

Design MainDesign() {
  Design d;
  const std::pair<Control, const char*> all[] = {
      {Control::BevelImageTitle, "BevelImageTitle"}, {Control::ImageTitle, "ImageTitle"},
      {Control::BitBtnAcRepair, "BitBtnAcRepair"},   {Control::BitBtnAcCompact, "BitBtnAcCompact"},
      {Control::BitBtnBackup, "BitBtnBackup"},       {Control::BitBtnAcQuit, "BitBtnAcQuit"},
      {Control::BitBtnAcSave, "BitBtnAcSave"},       {Control::BitBtnRestart, "BitBtnRestart"},
      {Control::BitBtnAcExit, "BitBtnAcExit"},       {Control::BitBtnExit, "BitBtnExit"},
      {Control::ListBoxFontName, "ListBoxFontName"}, {Control::PanelDBpath, "PanelDBpath"},
      {Control::LabelDBPath, "LabelDBPath"},         {Control::LabelRequired, "LabelRequired"},
      {Control::BitBtnDBpath, "BitBtnDBpath"},       {Control::EditDBpath, "EditDBpath"},
      {Control::BitBtnCustom, "BitBtnCustom"},       {Control::BitBtnClose, "BitBtnClose"},
      {Control::BitBtnOK, "BitBtnOK"},               {Control::PanelImageEtc, "PanelImageEtc"},
      {Control::BitBtnImage, "BitBtnImage"},         {Control::LabelImagePath, "LabelImagePath"},
      {Control::EditImagePath, "EditImagePath"},     {Control::EditTitle, "EditTitle"},
      {Control::EditDate, "EditDate"},               {Control::LabelTitle, "LabelTitle"},
      {Control::BitBtnIcon, "BitBtnIcon"},           {Control::LabelIconPath, "LabelIconPath"},
      {Control::EditIconPath, "EditIconPath"},       {Control::CboxUnClose, "CboxUnClose"},
      {Control::CboxNonCustom, "CboxNonCustom"},     {Control::CboxMDBbak, "CboxMDBbak"},
      {Control::BitBtnHistory, "BitBtnHistory"},
  };
  for (const auto& [c, n] : all) d.names[MainWindow::ControlId(c)] = n;
  auto ids = [](std::initializer_list<Control> cs) {
    std::vector<int> v;
    for (Control c : cs) v.push_back(MainWindow::ControlId(c));
    return v;
  };
  d.containers = {
      {MainWindow::ControlId(Control::BevelImageTitle), ids({Control::ImageTitle})},
      {MainWindow::ControlId(Control::PanelDBpath),
       ids({Control::LabelDBPath, Control::LabelRequired, Control::BitBtnDBpath, Control::EditDBpath})},
      {MainWindow::ControlId(Control::PanelImageEtc),
       ids({Control::BitBtnImage, Control::LabelImagePath, Control::EditImagePath, Control::EditTitle,
            Control::EditDate, Control::LabelTitle, Control::BitBtnIcon, Control::LabelIconPath,
            Control::EditIconPath, Control::CboxUnClose, Control::CboxNonCustom, Control::CboxMDBbak})},
  };
  return d;
}

Design HistoryDesign() {
  using C = HistoryControl;
  Design d;
  const std::pair<C, const char*> all[] = {
      {C::LabelHistory, "LabelHistory"}, {C::ListViewHistory, "ListViewHistory"},
      {C::BitBtnRestore, "BitBtnRestore"}, {C::BitBtnClose, "BitBtnClose"},
  };
  for (const auto& [c, n] : all) d.names[HistoryWindow::ControlId(c)] = n;
  return d;
}

Design BackupDesign() {
  using C = BackupControl;
  Design d;
  const std::pair<C, const char*> all[] = {
      {C::RadioGroupDrv, "RadioGroupDrv"},     {C::PanelDrvInfo, "PanelDrvInfo"},
      {C::LabelDrvKind2, "LabelDrvKind2"},     {C::LabelDrvKind, "LabelDrvKind"},
      {C::BtnDrvLeft, "BtnDrvLeft"},           {C::LabelDrvLeft, "LabelDrvLeft"},
      {C::Bevel1, "Bevel1"},                   {C::Label2, "Label2"},
      {C::EditPreFix, "EditPreFix"},           {C::BevelMulti, "BevelMulti"},
      {C::LabelMulti, "LabelMulti"},           {C::CheckBoxMultiDay, "CheckBoxMultiDay"},
      {C::CheckBoxMultiOff, "CheckBoxMultiOff"}, {C::CheckBoxMultiWeek, "CheckBoxMultiWeek"},
      {C::Label1, "Label1"},                   {C::BevelSub, "BevelSub"},
      {C::LabelSub, "LabelSub"},               {C::CheckBoxSubOn, "CheckBoxSubOn"},
      {C::CheckBoxSubOff, "CheckBoxSubOff"},   {C::Bevel2, "Bevel2"},
      {C::Label3, "Label3"},                   {C::CheckBoxUpDate, "CheckBoxUpDate"},
      {C::CheckBoxOverWrite, "CheckBoxOverWrite"}, {C::ButtonGo, "ButtonGo"},
      {C::LabelCopyTo, "LabelCopyTo"},         {C::EditCopyTo, "EditCopyTo"},
      {C::BitBtnClose, "BitBtnClose"},
  };
  for (const auto& [c, n] : all) d.names[BackupWindow::ControlId(c)] = n;
  for (int i = 0; i < quandrel::kDriveItems; ++i) {
    d.names[BackupWindow::DriveItemId(i)] = std::string("drive ") + static_cast<char>('A' + i) + ":";
  }
  auto ids = [](std::initializer_list<C> cs) {
    std::vector<int> v;
    for (C c : cs) v.push_back(BackupWindow::ControlId(c));
    return v;
  };
  const std::vector<int> panel = ids({C::LabelDrvKind2, C::LabelDrvKind, C::BtnDrvLeft, C::LabelDrvLeft});
  std::vector<int> group = panel;
  group.push_back(BackupWindow::ControlId(C::PanelDrvInfo));
  for (int i = 0; i < quandrel::kDriveItems; ++i) group.push_back(BackupWindow::DriveItemId(i));
  d.containers = {
      {BackupWindow::ControlId(C::RadioGroupDrv), group},
      {BackupWindow::ControlId(C::PanelDrvInfo), panel},
      {BackupWindow::ControlId(C::Bevel1), ids({C::Label2, C::EditPreFix})},
      {BackupWindow::ControlId(C::BevelMulti),
       ids({C::LabelMulti, C::CheckBoxMultiDay, C::CheckBoxMultiOff, C::CheckBoxMultiWeek, C::Label1})},
      {BackupWindow::ControlId(C::BevelSub), ids({C::LabelSub, C::CheckBoxSubOn, C::CheckBoxSubOff})},
      {BackupWindow::ControlId(C::Bevel2), ids({C::Label3, C::CheckBoxUpDate, C::CheckBoxOverWrite})},
  };
  return d;
}

// The client width of a window drawn at the screen's scale or the largest
// smaller one that fits: never below the design's.
void ExpectNotSmallerThanDesign(HWND window, int designClientW) {
  RECT client;
  ::GetClientRect(window, &client);
  EXPECT_GE(client.right, designClientW);
  if (ScreenDpi() > 96) {
    EXPECT_GT(client.right, designClientW) << "drawn larger on a screen of more dots per inch";
  }
}

class ScreenFitE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    // The DPI run names the scale the prefix was set to: the screen must show it.
    if (const char* want = std::getenv("QUANDREL_EXPECT_DPI")) {
      ASSERT_EQ(ScreenDpi(), std::atoi(want));
    }
  }
  void TearDown() override {
    CloseStandIns();
    launcher_.Kill();
    DeleteKeyTree(HKEY_CLASSES_ROOT, ".mdb");
    DeleteKeyTree(HKEY_CLASSES_ROOT, "QuandrelTest.Mdb");
  }
  // End mode with every end-mode button of an .mdb target.
  HWND StartMdbRun(const std::string& extraIni = "") {
    WriteBytes(box_.Path("sales.mdb"), "data");
    box_.WriteIni("[Execute]\nDBPath=sales.mdb\n" + extraIni);
    RegisterExtension(".mdb", "QuandrelTest.Mdb", StandInCommand("/keep"));
    launcher_ = Process::Start(exe_);
    if (!WaitStandIn() || !CloseStandIns()) return nullptr;
    return WaitMainShown(launcher_);
  }
  Sandbox box_{"fit"};
  std::string exe_ = box_.InstallLauncher();
  Process launcher_;
};

TEST_F(ScreenFitE2E, EndAndSettingsModes) {
  // With History on, so that the history button shows among the others.
  HWND main = StartMdbRun("[System]\nHistory=2\n");
  ASSERT_NE(main, nullptr);
  ExpectNotSmallerThanDesign(main, 420);
  SaveScreenshot(Shot("main-end-mode"));
  ExpectFits(main, MainDesign());

  ASSERT_TRUE(PressButton(main, "設定変更"));
  ASSERT_TRUE(WaitUntil([&] { return IsShown(FindChild(main, "設定保存", "Button")); }));
  SaveScreenshot(Shot("main-settings-mode"));
  ExpectFits(main, MainDesign());
}

TEST_F(ScreenFitE2E, CompactLayoutShowsTheTitleStripAlone) {
  HWND main = StartMdbRun("[System]\nCustomize=Disable\nHistory=2\n");
  ASSERT_NE(main, nullptr);
  SaveScreenshot(Shot("main-compact"));
  // The settings area starts at PanelDBpath's top, as drawn.
  RECT panel;
  ::GetWindowRect(::GetDlgItem(main, MainWindow::ControlId(Control::PanelDBpath)), &panel);
  ::MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&panel), 2);
  ExpectFits(main, MainDesign(), panel.top);
  RECT client;
  ::GetClientRect(main, &client);
  EXPECT_LE(client.bottom, panel.top) << "a strip of PanelDBpath shows along the lower edge";
  // The title strip's buttons stay in view.
  RECT exit;
  ::GetWindowRect(::GetDlgItem(main, MainWindow::ControlId(Control::BitBtnAcExit)), &exit);
  ::MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&exit), 2);
  EXPECT_GT(client.bottom, exit.top);
  RECT history;
  ::GetWindowRect(::GetDlgItem(main, MainWindow::ControlId(Control::BitBtnHistory)), &history);
  ::MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&history), 2);
  EXPECT_TRUE(IsShown(::GetDlgItem(main, MainWindow::ControlId(Control::BitBtnHistory))));
  EXPECT_GE(client.bottom, history.bottom) << "the history button shows whole";
}

TEST_F(ScreenFitE2E, HistoryWindow) {
  HWND main = StartMdbRun("[System]\nHistory=2\n");
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(PressButton(main, "履歴(&H)"));
  HWND history = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    for (HWND w : TopWindowsOf(launcher_.Id())) {
      if (ClassOf(w) == "TFormHistory" && IsShown(w)) history = w;
    }
    return history != nullptr;
  }));
  ExpectNotSmallerThanDesign(history, 620);
  SaveScreenshot(Shot("history-window"));
  ExpectFits(history, HistoryDesign());
  ASSERT_TRUE(PressButton(history, "閉じる(&Q)"));
  EXPECT_TRUE(WaitUntil([&] { return !IsShown(history); }));
}

TEST_F(ScreenFitE2E, BackupWindow) {
  HWND main = StartMdbRun();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(PressButton(main, "バックアップ(&B)"));
  HWND backup = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    for (HWND w : TopWindowsOf(launcher_.Id())) {
      if (ClassOf(w) == "TFormBackUp") backup = w;
    }
    return backup != nullptr;
  }));
  ExpectNotSmallerThanDesign(backup, 528);
  SaveScreenshot(Shot("backup-window"));
  ExpectFits(backup, BackupDesign());
  ASSERT_TRUE(PressButton(backup, "戻る(&Q)"));
  EXPECT_TRUE(WaitUntil([&] { return !IsShown(backup); }));
}

TEST(ScreenFit, WaitWindow) {
  auto wait = WaitWindowView::Open(::GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(wait, nullptr);
  wait->ShowProgress(1, 3);
  SaveScreenshot(Shot("wait-window"));
  RECT outer;
  ::GetWindowRect(wait->Handle(), &outer);
  const RECT work = WorkAreaOf(wait->Handle());
  EXPECT_TRUE(Inside(outer, work)) << Describe(outer) << " leaves " << Describe(work);
  EXPECT_GE(outer.right - outer.left, 333);
}

// The free space label shows its whole text, however many digits, in its
// own place and size.
TEST(ScreenFit, FreeSpaceLabelShowsTheWholeCount) {
  auto backup = BackupWindow::Create(::GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(backup, nullptr);
  HWND label = backup->ControlHandle(BackupControl::LabelDrvLeft);
  RECT before;
  ::GetWindowRect(label, &before);
  for (const std::string text : {"120,563 KB", "488,281,250 KB", "1,953,125,000 KB", "9,007,199,254,740,991 KB"}) {
    backup->SetText(BackupControl::LabelDrvLeft, text);
    EXPECT_EQ(TextOf(label), text);
    RECT client, after;
    ::GetClientRect(label, &client);
    ::GetWindowRect(label, &after);
    EXPECT_TRUE(::EqualRect(&before, &after)) << text;
    HDC dc = ::GetDC(label);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(label, WM_GETFONT, 0, 0)));
    RECT drawn{0, 0, 0, 0};
    ::DrawTextA(dc, text.c_str(), -1, &drawn, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(dc, old);
    ::ReleaseDC(label, dc);
    EXPECT_LE(drawn.right, client.right) << text << " is cut";
    EXPECT_GT(drawn.bottom, 4) << text << " is too small to read";
  }
  // A short count is drawn in the size of its neighbour again.
  backup->SetText(BackupControl::LabelDrvLeft, "120,563 KB");
  LOGFONTA base{}, now{};
  HWND kind = backup->ControlHandle(BackupControl::LabelDrvKind);
  ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(kind, WM_GETFONT, 0, 0)), sizeof base, &base);
  ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(label, WM_GETFONT, 0, 0)), sizeof now, &now);
  EXPECT_EQ(now.lfHeight, base.lfHeight);
}

}  // namespace
}  // namespace qtest
