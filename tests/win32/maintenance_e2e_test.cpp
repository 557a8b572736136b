// Compaction and repair end to end: Quandrel.exe runs the database stand-in
// once (it ends at once), then starts the Access stand-in, registered under
// App Paths, from the maintenance buttons. Also the folder listing the
// compaction's scan relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver/launcher.h"
#include "platform/win32/win32_files.h"

namespace qtest {
namespace {

const char kAppPaths[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\MSACCESS.EXE";
const char kAccessClass[] = "QuandrelAccessStandIn";

HWND WaitAccess(int timeoutMs = kWaitMs) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = ::FindWindowA(kAccessClass, nullptr)) != nullptr; }, timeoutMs);
  return found;
}

bool CloseAccess(HWND window) {
  ::PostMessageA(window, WM_CLOSE, 0, 0);
  return WaitUntil([&] { return !::IsWindow(window); });
}

class MaintenanceE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    exe_ = box_.InstallLauncher();
    db_ = box_.Path("顧客表.mdb");
    other_ = box_.Path("A.MDB");
    WriteBytes(db_, "db\r\n");
    WriteBytes(other_, "other\r\n");
    box_.WriteIni("[Execute]\nDBPath=顧客表.mdb\n");
    RegisterExtension(".mdb", "QuandrelTest.Mdb", StandInCommand("/exit"));
    SetDefaultValue(HKEY_LOCAL_MACHINE, kAppPaths, StandInExe("standin_access"));
  }
  void TearDown() override {
    while (HWND w = ::FindWindowA(kAccessClass, nullptr)) {
      if (!CloseAccess(w)) break;
    }
    launcher_.Kill();
    ::SetEnvironmentVariableA("QUANDREL_ACCESS_STANDIN", nullptr);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, kAppPaths);
    DeleteKeyTree(HKEY_CLASSES_ROOT, ".mdb");
    DeleteKeyTree(HKEY_CLASSES_ROOT, "QuandrelTest.Mdb");
  }

  // The launcher in end mode after the first run; also finds its
  // application window (the taskbar button).
  HWND Start() {
    launcher_ = Process::Start(exe_);
    HWND main = WaitMainShown(launcher_);
    app_ = FindTopWindow(launcher_.Id(), "QuandrelApplication");
    EXPECT_NE(app_, nullptr) << "no application window";
    return main;
  }
  static std::string AccessLine(const std::string& db, const char* option) {
    return "\"" + StandInExe("standin_access") + "\" \"" + db + "\" " + option + "\r\n";
  }
  static bool ButtonEnabled(HWND main, const char* caption) {
    HWND button = FindChild(main, caption, "Button");
    return button && ::IsWindowEnabled(button);
  }

  Sandbox box_{"db"};
  std::string exe_, db_, other_;
  Process launcher_;
  HWND app_ = nullptr;
};

TEST_F(MaintenanceE2E, CompactionOfTheTargetAndAnotherFileAnsweredYes) {
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  ASSERT_NE(app_, nullptr);
  const std::string title = TextOf(main);
  ASSERT_TRUE(PressButton(main, "最適化(&C)"));

  HWND access = WaitAccess();
  ASSERT_NE(access, nullptr);
  // Access runs: the window stays on screen with its buttons held, only
  // the taskbar button is gone.
  EXPECT_TRUE(IsShown(main));
  EXPECT_FALSE(IsShown(app_));
  EXPECT_TRUE(WaitUntil([&] { return !ButtonEnabled(main, "最適化(&C)"); }));
  EXPECT_FALSE(ButtonEnabled(main, "保存終了(&Q)"));
  EXPECT_FALSE(ButtonEnabled(main, "破棄終了(&X)"));
  SaveScreenshot("maintenance-access-running");
  ASSERT_TRUE(CloseAccess(access));

  auto done = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(done.has_value());
  EXPECT_EQ(done->caption, title);
  EXPECT_EQ(done->text, "「 顧客表.mdb 」の最適化が終了しました。");
  EXPECT_EQ(done->buttons, std::vector<std::string>{"OK"});
  ASSERT_TRUE(Answer(*done, "OK"));

  auto question = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(question.has_value());
  EXPECT_EQ(question->caption, "確認");
  EXPECT_EQ(question->text,
            "同一フォルダの別ファイルを探しています。\n\n「 A.MDB 」が同一フォルダに見つかりました\n\n"
            "このファイルも最適化しますか？\n\n");
  EXPECT_EQ(question->buttons, (std::vector<std::string>{"はい(&Y)", "いいえ(&N)", "中止(&A)"}));
  ASSERT_TRUE(Answer(*question, "はい(&Y)"));

  access = WaitAccess();
  ASSERT_NE(access, nullptr);
  EXPECT_TRUE(IsShown(main));
  ASSERT_TRUE(CloseAccess(access));

  // No message of its own for the other file: the closing one comes next.
  auto over = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(over.has_value());
  EXPECT_EQ(over->caption, title);
  EXPECT_EQ(over->text, "\n\n以上で最適化処理を終了します。");
  ASSERT_TRUE(Answer(*over, "OK"));

  EXPECT_TRUE(WaitUntil([&] { return IsShown(app_); }));
  EXPECT_TRUE(WaitUntil([&] { return ButtonEnabled(main, "最適化(&C)") && ButtonEnabled(main, "保存終了(&Q)"); }));
  EXPECT_EQ(ReadBytes(db_ + ".access"), AccessLine(db_, "/Compact"));
  EXPECT_EQ(ReadBytes(other_ + ".access"), AccessLine(box_.Dir() + "\\A.MDB", "/Compact"));
  // Neither the snapshot nor the launcher's own files were offered.
  EXPECT_FALSE(FileExists(db_ + ".TMP.access"));
  EXPECT_EQ(ReadBytes(db_ + ".TMP"), std::string("db\r\n"));
  EXPECT_EQ(CloseLauncher(launcher_, main), std::optional<DWORD>(0));
}

TEST_F(MaintenanceE2E, RepairStartsAccessAndShowsNothing) {
  ASSERT_TRUE(::SetEnvironmentVariableA("QUANDREL_ACCESS_STANDIN", "exit"));
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(PressButton(main, "修復(&R)"));

  ASSERT_TRUE(WaitUntil([&] { return ReadBytes(db_ + ".access").has_value(); }));
  EXPECT_TRUE(WaitUntil([&] { return ButtonEnabled(main, "修復(&R)") && IsShown(app_); }));
  ASSERT_TRUE(Settle(main));
  EXPECT_FALSE(WaitMessageBox(launcher_.Id(), 0).has_value());
  EXPECT_EQ(ReadBytes(db_ + ".access"), AccessLine(db_, "/Repair"));
  EXPECT_FALSE(FileExists(other_ + ".access"));
  EXPECT_TRUE(IsShown(main));
  EXPECT_EQ(CloseLauncher(launcher_, main), std::optional<DWORD>(0));
}

TEST_F(MaintenanceE2E, ClosingTheWindowWhileAccessRunsIsRefusedAndAllWorksAfterwards) {
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  ASSERT_NE(app_, nullptr);
  ASSERT_TRUE(PressButton(main, "修復(&R)"));
  HWND access = WaitAccess();
  ASSERT_NE(access, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return !ButtonEnabled(main, "修復(&R)"); }));

  // The close box (and Alt+F4) and the taskbar's close while Access runs on
  // for a few seconds; the launcher handles its messages meanwhile.
  DWORD_PTR result = 0;
  EXPECT_NE(::SendMessageTimeoutA(main, WM_CLOSE, 0, 0, SMTO_NORMAL, kWaitMs, &result), 0u);
  EXPECT_NE(::SendMessageTimeoutA(main, WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_NORMAL, kWaitMs, &result), 0u);
  ::PostMessageA(app_, WM_CLOSE, 0, 0);
  ::PostMessageA(main, WM_CLOSE, 0, 0);
  ::Sleep(2500);
  EXPECT_TRUE(::IsWindow(main));
  EXPECT_TRUE(IsShown(main));
  EXPECT_TRUE(launcher_.Running());
  ASSERT_TRUE(CloseAccess(access));

  // Access has ended: the repair ends as ever, and the window closes again.
  EXPECT_TRUE(WaitUntil([&] { return ButtonEnabled(main, "修復(&R)") && IsShown(app_); }));
  ASSERT_TRUE(Settle(main));
  EXPECT_FALSE(WaitMessageBox(launcher_.Id(), 0).has_value());
  EXPECT_TRUE(::IsWindow(main));
  EXPECT_EQ(ReadBytes(db_ + ".access"), AccessLine(db_, "/Repair"));
  EXPECT_EQ(CloseLauncher(launcher_, main), std::optional<DWORD>(0));
}

TEST(MaintenanceFindNames, ListsFilesAndFoldersWhateverTheirAttributes) {
  Sandbox box("find");
  WriteBytes(box.Path("b.mdb"), "");
  WriteBytes(box.Path("H.MDB"), "");
  ASSERT_TRUE(::SetFileAttributesA(box.Path("H.MDB").c_str(),
                                   FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(::CreateDirectoryA(box.Path("OLD.MDB").c_str(), nullptr));
  WriteBytes(box.Path("ソ表.MDB"), "");
  WriteBytes(box.Path("b.mdb.TMP"), "");
  WriteBytes(box.Path("b.mdb.BAK"), "");

  quandrel::win32::Win32Files files;
  std::vector<std::string> names = files.FindNames(box.Dir() + "\\*.MDB");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"H.MDB", "OLD.MDB", "b.mdb", "ソ表.MDB"}));
  EXPECT_TRUE(files.FindNames(box.Dir() + "\\none\\*.MDB").empty());
  EXPECT_TRUE(files.FindNames(box.Dir() + "\\*.XYZ").empty());
}

}  // namespace
}  // namespace qtest
