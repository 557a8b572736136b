// The database's folder as a shared folder behaves when the network drops:
// gone for a while, back later, or too deep for the snapshot's name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/launcher.h"

namespace qtest {
namespace {

class VanishingFolderE2E : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_TRUE(CloseStandIns()) << "a stand-in did not end";
    launcher_.Kill();
    DeleteKeyTree(HKEY_CLASSES_ROOT, ".mdb");
    DeleteKeyTree(HKEY_CLASSES_ROOT, "QuandrelTest.Mdb");
  }

  Sandbox box_{"vanish"};
  Process launcher_;
};

// A database path of 259 characters: the snapshot's name would pass the
// longest path the file functions take. The user is told why before the
// start, the program still opens, and no copy of the database is left
// behind under any name.
TEST_F(VanishingFolderE2E, ADatabasePathTooLongForASnapshotLeavesNoCopyBehind) {
  const std::string exe = box_.InstallLauncher();
  std::string folder = box_.Dir();
  const std::string name = "S.mdb";
  // Folders of at most 100 characters until the whole path is 259 long.
  while (folder.size() + 1 + name.size() < 259) {
    const std::size_t room = 259 - (folder.size() + 1 + name.size()) - 1;
    folder += "\\" + std::string(room < 100 ? room : 100, 'd');
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr)) << folder;
  }
  const std::string db = folder + "\\" + name;
  ASSERT_EQ(db.size(), 259u);
  WriteBytes(db, "old\r\n");
  box_.WriteIni("[Execute]\nDBPath=" + db + "\n");
  RegisterExtension(".mdb", "QuandrelTest.Mdb", StandInCommand(""));
  launcher_ = Process::Start(exe);

  auto told = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(told.has_value());
  EXPECT_EQ(told->caption, "エラー");
  EXPECT_NE(told->text.find("控えのファイル名が長すぎます"), std::string::npos) << told->text;
  EXPECT_NE(told->text.find(db + ".TMP"), std::string::npos) << told->text;
  ASSERT_TRUE(Answer(*told, "OK"));

  ASSERT_NE(WaitStandIn(), nullptr) << "the program did not open after the message";
  ASSERT_TRUE(CloseStandIns());
  HWND main = WaitMainShown(launcher_);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{name});
  EXPECT_EQ(ReadBytes(db), std::string("old\r\n"));
  EXPECT_EQ(CloseLauncher(launcher_, main), std::optional<DWORD>(0));
}

// The database in a folder of its own that the test takes away (renames)
// during the run and brings back, as a network drive drops and reconnects.
class FolderAwayE2E : public VanishingFolderE2E {
 protected:
  void SetUp() override {
    exe_ = box_.InstallLauncher();
    folder_ = box_.Path("販売データ");
    away_ = box_.Path("販売データ_切断中");
    ASSERT_TRUE(::CreateDirectoryA(folder_.c_str(), nullptr));
    db_ = folder_ + "\\売上.mdb";
    WriteBytes(db_, "old\r\n");
    box_.WriteIni("[Execute]\nDBPath=" + db_ + "\n");
    RegisterExtension(".mdb", "QuandrelTest.Mdb", StandInCommand("/append"));
  }
  HWND EndRun() { return EndStandInRun(launcher_); }
  bool TakeAway() { return ::MoveFileA(folder_.c_str(), away_.c_str()) != FALSE; }
  bool BringBack() { return ::MoveFileA(away_.c_str(), folder_.c_str()) != FALSE; }
  // Presses the button and expects the "not found" error, then end mode.
  void ExpectNotFound(HWND main, const std::string& button) {
    ASSERT_TRUE(PressButton(main, button));
    auto told = WaitMessageBox(launcher_.Id());
    ASSERT_TRUE(told.has_value());
    EXPECT_EQ(told->caption, "エラー");
    EXPECT_EQ(told->text.rfind(db_ + " が見つかりません\n\n", 0), 0u) << told->text;
    ASSERT_TRUE(Answer(*told, "OK"));
    EXPECT_TRUE(launcher_.Running());
    EXPECT_TRUE(WaitUntil([&] { return IsShown(main); })) << "end mode did not stay";
    EXPECT_EQ(::FindWindowA("QuandrelStandIn", nullptr), nullptr) << "relaunched on a missing database";
  }
  std::optional<std::string> File(const std::string& suffix) { return ReadBytes(db_ + suffix); }

  std::string exe_, folder_, away_, db_;
};

TEST_F(FolderAwayE2E, SaveAndContinueWhileAwayWaitsThenGoesOnWithTheRunsOwnSnapshot) {
  launcher_ = Process::Start(exe_);
  HWND main = EndRun();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(TakeAway());
  ExpectNotFound(main, "保存継続(&S)");
  ASSERT_TRUE(BringBack());
  EXPECT_EQ(File(".TMP"), std::string("old\r\n")) << "the snapshot from before the run is gone";

  ASSERT_TRUE(PressButton(main, "保存継続(&S)"));
  main = EndRun();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(File(".BAK"), std::string("old\r\n"));
  EXPECT_EQ(File(".TMP"), std::string("old\r\nedit\r\n"));
  ASSERT_TRUE(PressButton(main, "保存終了(&Q)"));
  EXPECT_EQ(launcher_.WaitExit(), std::optional<DWORD>(0));
  EXPECT_EQ(File(""), std::string("old\r\nedit\r\nedit\r\n"));
  EXPECT_EQ(File(".BAK"), std::string("old\r\nedit\r\n"));
}

TEST_F(FolderAwayE2E, SaveAndExitWhileAwayStaysInEndModeAndSavesOnceBack) {
  launcher_ = Process::Start(exe_);
  HWND main = EndRun();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(TakeAway());
  ExpectNotFound(main, "保存終了(&Q)");
  ASSERT_TRUE(BringBack());
  ASSERT_TRUE(PressButton(main, "保存終了(&Q)"));
  EXPECT_EQ(launcher_.WaitExit(), std::optional<DWORD>(0));
  EXPECT_EQ(File(""), std::string("old\r\nedit\r\n"));
  EXPECT_EQ(File(".BAK"), std::string("old\r\n"));
  EXPECT_FALSE(File(".TMP").has_value());
}

}  // namespace
}  // namespace qtest
