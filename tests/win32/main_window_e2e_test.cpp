// The main window end to end: caption, the buttons each mode shows, and
// settings editing through to the INI file.
#include <gtest/gtest.h>

#include <algorithm>

#include "main_window/win32/main_window.h"
#include "driver/launcher.h"

namespace qtest {
namespace {

using quandrel::Control;
using quandrel::win32::MainWindow;

HWND ControlOf(HWND main, Control c) { return ::GetDlgItem(main, MainWindow::ControlId(c)); }

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

class MainWindowE2E : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_TRUE(CloseStandIns()) << "a stand-in did not end";
    launcher_.Kill();
    DeleteKeyTree(HKEY_CLASSES_ROOT, ".mdb");
    DeleteKeyTree(HKEY_CLASSES_ROOT, "QuandrelTest.Mdb");
  }
  // Without a program to expect there is no target, which the launcher says.
  HWND StartAndEndRun(bool expectProgram = true) {
    launcher_ = Process::Start(exe_);
    if (expectProgram) {
      if (!WaitStandIn()) return nullptr;
      if (!CloseStandIns()) return nullptr;
    } else if (!AnswerNoTargetBox(launcher_)) {
      return nullptr;
    }
    return WaitMainShown(launcher_);
  }
  Sandbox box_{"main"};
  std::string exe_ = box_.InstallLauncher();
  Process launcher_;
};

TEST_F(MainWindowE2E, MdbTargetShowsSaveAndMaintenanceButtons) {
  WriteBytes(box_.Path("sales.mdb"), "data");
  box_.WriteIni("[Execute]\nDBPath=sales.mdb\n");
  RegisterExtension(".mdb", "QuandrelTest.Mdb", StandInCommand("/keep"));
  HWND main = StartAndEndRun();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(TextOf(main), "sales.mdb の実行環境");
  EXPECT_EQ(Sorted(VisibleButtonCaptions(main)),
            Sorted({"修復(&R)", "最適化(&C)", "バックアップ(&B)", "破棄終了(&X)", "保存継続(&S)", "保存終了(&Q)",
                    "設定変更", "設定変更の不許可", "*.Mdb の非破棄化", "「閉じる」の無効化"}));
  // The settings fields are read-only in end mode and show the full path.
  HWND path = ControlOf(main, Control::EditDBpath);
  EXPECT_TRUE(::GetWindowLongA(path, GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(TextOf(path), box_.Path("sales.mdb"));
  EXPECT_FALSE(::IsWindowEnabled(ControlOf(main, Control::CboxMDBbak)));
  SaveScreenshot("main-end-mode-mdb");
}

TEST_F(MainWindowE2E, ProgramTargetShowsRestartAndExit) {
  CopyInto(StandInExe("standin_db"), box_.Path("tool.exe"));
  box_.WriteIni("[Execute]\nDBPath=tool.exe\n");
  HWND main = StartAndEndRun();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(TextOf(main), "tool.exe の実行環境");
  EXPECT_EQ(Sorted(VisibleButtonCaptions(main)),
            Sorted({"バックアップ(&B)", "再起動(&R)", "終了(&Q)", "設定変更", "設定変更の不許可", "*.Mdb の非破棄化",
                    "「閉じる」の無効化"}));
  SaveScreenshot("main-end-mode-exe");
}

TEST_F(MainWindowE2E, NoSettingsFileShowsTheDefaults) {
  HWND main = StartAndEndRun(false);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(TextOf(main), "Quandrel (" + exe_ + ")");
  EXPECT_EQ(Sorted(VisibleButtonCaptions(main)),
            Sorted({"バックアップ(&B)", "再起動(&R)", "終了(&Q)", "設定変更", "設定変更の不許可", "*.Mdb の非破棄化",
                    "「閉じる」の無効化"}));
  EXPECT_EQ(::SendMessageA(ControlOf(main, Control::CboxNonCustom), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(::SendMessageA(ControlOf(main, Control::CboxMDBbak), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(::SendMessageA(ControlOf(main, Control::CboxUnClose), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(TextOf(ControlOf(main, Control::EditDBpath)), "");
  RECT outer;
  ::GetWindowRect(main, &outer);
  RECT client;
  ::GetClientRect(main, &client);
  EXPECT_EQ(client.right - client.left, 420);
  EXPECT_EQ(client.bottom - client.top, 486);
}

TEST_F(MainWindowE2E, CompactLayoutWhenSettingsAreLockedAway) {
  box_.WriteIni("[System]\nCustomize=Disable\n");
  HWND main = StartAndEndRun(false);
  ASSERT_NE(main, nullptr);
  RECT outer;
  ::GetWindowRect(main, &outer);
  EXPECT_EQ(outer.bottom - outer.top, 220);
  EXPECT_EQ(::SendMessageA(ControlOf(main, Control::CboxNonCustom), BM_GETCHECK, 0, 0), BST_CHECKED);
  SaveScreenshot("main-compact");
}

TEST_F(MainWindowE2E, SettingsSavedWithATypedTitle) {
  std::string db = box_.Path("sales.mdb");
  WriteBytes(db, "data");
  // The target is given by its full path inside the program's folder.
  box_.WriteIni("[Execute]\nDBPath=" + db + "\n");
  RegisterExtension(".mdb", "QuandrelTest.Mdb", StandInCommand("/keep"));
  HWND main = StartAndEndRun();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(FileExists(db + ".TMP"));

  ASSERT_TRUE(PressButton(main, "設定変更"));
  ASSERT_TRUE(WaitUntil([&] { return IsShown(FindChild(main, "設定保存", "Button")); }));
  EXPECT_EQ(Sorted(VisibleButtonCaptions(main)),
            Sorted({"参照", "参照", "参照", "変更破棄", "設定保存", "設定変更の不許可", "*.Mdb の非破棄化",
                    "「閉じる」の無効化"}));
  HWND title = ControlOf(main, Control::EditTitle);
  EXPECT_FALSE(::GetWindowLongA(title, GWL_STYLE) & ES_READONLY);
  ::SendMessageA(title, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("販売管理ソフト表"));
  EXPECT_TRUE(WaitUntil([&] { return TextOf(main) == "販売管理ソフト表"; }));
  SaveScreenshot("main-settings-mode");

  ASSERT_TRUE(PressButton(main, "設定保存"));
  auto written = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(written.has_value());
  EXPECT_EQ(written->text, "設定が Ini ファイルに書き込まれました");
  EXPECT_EQ(written->caption, "販売管理ソフト表");
  ASSERT_TRUE(Answer(*written, "OK"));
  auto saved = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(saved->text, "現在作業中だった MDB ファイルを一旦保存終了します");
  ASSERT_TRUE(Answer(*saved, "OK"));
  EXPECT_TRUE(WaitUntil([&] { return !FileExists(db + ".TMP"); }));
  EXPECT_TRUE(WaitUntil([&] { return IsShown(FindChild(main, "設定変更", "Button")); }));

  auto ini = ReadBytes(box_.Path("Quandrel.INI"));
  ASSERT_TRUE(ini.has_value());
  EXPECT_EQ(IniLines(*ini), (std::vector<std::string>{"[Execute]", "DBPath=sales.mdb", "[System]", "ImagePath=",
                                                    "IconPath=", "Title=販売管理ソフト表", "Customize=Enable",
                                                    "MDBbak=Use", "UnClose=Use"}));
  EXPECT_NE(ini->find("\r\n"), std::string::npos);
  EXPECT_EQ(TextOf(main), "販売管理ソフト表");
  EXPECT_EQ(CloseLauncher(launcher_, main), std::optional<DWORD>(0));
}

// Values ending in the first byte of a double-byte character: shown as they
// were, such a byte made the window's conversion read on into the program's
// next text ("・ELLO-TITLE"), and a save with no edits then wrote that text
// into the file.
TEST_F(MainWindowE2E, ValueEndingInALoneLeadByteBringsNoOtherTextIntoTheFile) {
  box_.WriteIni("[System]\nTitle=HELLO-TITLE\nImagePath=\x81\nIconPath=ab\xE0\n");
  HWND main = StartAndEndRun(/*expectProgram=*/false);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(TextOf(ControlOf(main, Control::EditImagePath)), "");
  EXPECT_EQ(TextOf(ControlOf(main, Control::EditIconPath)), "ab");

  ASSERT_TRUE(PressButton(main, "設定変更"));
  ASSERT_TRUE(WaitUntil([&] { return IsShown(FindChild(main, "設定保存", "Button")); }));
  ASSERT_TRUE(PressButton(main, "設定保存"));
  auto written = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(written.has_value());
  EXPECT_EQ(written->text, "設定が Ini ファイルに書き込まれました");
  Answer(*written, "OK");
  EXPECT_TRUE(WaitUntil([&] { return IsShown(FindChild(main, "設定変更", "Button")); }));

  auto ini = ReadBytes(box_.Path("Quandrel.INI"));
  ASSERT_TRUE(ini.has_value());
  EXPECT_EQ(IniLines(*ini), (std::vector<std::string>{"[System]", "Title=HELLO-TITLE", "ImagePath=", "IconPath=ab",
                                                    "Customize=Enable", "MDBbak=Use", "UnClose=Use", "[Execute]",
                                                    "DBPath="}));
  EXPECT_EQ(CloseLauncher(launcher_, main), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace qtest
