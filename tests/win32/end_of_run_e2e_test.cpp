// The end-of-run actions, end to end, with the stand-in registered for ".mdb"
// appending "edit" to the target in each run.
#include <gtest/gtest.h>

#include "driver/launcher.h"

namespace qtest {
namespace {

class EndOfRunE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    exe_ = box_.InstallLauncher();
    db_ = box_.Path("顧客表.mdb");
    WriteBytes(db_, "old\r\n");
    box_.WriteIni("[Execute]\nDBPath=顧客表.mdb\n" + extraIni_);
  }
  void TearDown() override {
    EXPECT_TRUE(CloseStandIns()) << "a stand-in did not end";
    launcher_.Kill();
    DeleteKeyTree(HKEY_CLASSES_ROOT, ".mdb");
    DeleteKeyTree(HKEY_CLASSES_ROOT, "QuandrelTest.Mdb");
  }

  // Starts the launcher, lets the stand-in run once and end; returns the
  // main window in end mode.
  HWND RunOnce(const std::string& options = "/append") {
    RegisterExtension(".mdb", "QuandrelTest.Mdb", StandInCommand(options));
    launcher_ = Process::Start(exe_);
    return EndRun();
  }
  // Waits for the running stand-in, ends it and waits for end mode.
  HWND EndRun() { return EndStandInRun(launcher_); }
  std::optional<std::string> File(const std::string& suffix) { return ReadBytes(db_ + suffix); }

  Sandbox box_{"run"};
  std::string extraIni_;
  std::string exe_, db_;
  Process launcher_;
};

TEST_F(EndOfRunE2E, SaveAndExitKeepsTheChangesAndMakesTheBackup) {
  HWND main = RunOnce();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(File(".TMP"), std::string("old\r\n"));
  SaveScreenshot("end-mode-mdb");
  ASSERT_TRUE(PressButton(main, "保存終了(&Q)"));
  EXPECT_EQ(launcher_.WaitExit(), std::optional<DWORD>(0));
  EXPECT_EQ(File(""), std::string("old\r\nedit\r\n"));
  EXPECT_EQ(File(".BAK"), std::string("old\r\n"));
  EXPECT_FALSE(File(".TMP").has_value());
}

TEST_F(EndOfRunE2E, DiscardAnsweredYesPutsTheSnapshotBack) {
  HWND main = RunOnce();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(PressButton(main, "破棄終了(&X)"));
  auto question = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(question.has_value());
  EXPECT_EQ(question->caption, "確認");
  EXPECT_EQ(question->text, "本当にデータベースの更新分を\n破棄してよろしいですか？");
  EXPECT_EQ(question->buttons, (std::vector<std::string>{"はい(&Y)", "いいえ(&N)"}));
  ASSERT_TRUE(Answer(*question, "はい(&Y)"));
  EXPECT_EQ(launcher_.WaitExit(), std::optional<DWORD>(0));
  EXPECT_EQ(File(""), std::string("old\r\n"));
  EXPECT_FALSE(File(".TMP").has_value());
  EXPECT_FALSE(File(".BAK").has_value());
}

TEST_F(EndOfRunE2E, DiscardAnsweredNoTouchesNothing) {
  HWND main = RunOnce();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(PressButton(main, "破棄終了(&X)"));
  auto question = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(question.has_value());
  ASSERT_TRUE(Answer(*question, "いいえ(&N)"));
  auto told = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(told.has_value());
  EXPECT_EQ(told->text, "破棄終了を中止しました");
  ASSERT_TRUE(Answer(*told, "OK"));
  EXPECT_TRUE(launcher_.Running());
  EXPECT_TRUE(IsShown(main));
  EXPECT_EQ(File(""), std::string("old\r\nedit\r\n"));
  EXPECT_EQ(File(".TMP"), std::string("old\r\n"));
}

TEST_F(EndOfRunE2E, DiscardWhileTheTargetIsHeldOpenLosesNothing) {
  HWND main = RunOnce();
  ASSERT_NE(main, nullptr);
  HANDLE held = ::CreateFileA(db_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  // Open elsewhere (exclusively, so no lock file names anyone): refused
  // before the question.
  ASSERT_TRUE(PressButton(main, "破棄終了(&X)"));
  auto error = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->caption, "エラー");
  EXPECT_EQ(error->text.rfind(db_ + " は、ほかのコンピュータかプログラムで開かれています。\n\n"
                              "どこで開かれているかは分かりません。", 0), 0u) << error->text;
  ASSERT_TRUE(Answer(*error, "OK"));
  ::CloseHandle(held);
  EXPECT_TRUE(launcher_.Running());
  EXPECT_EQ(File(""), std::string("old\r\nedit\r\n"));
  EXPECT_EQ(File(".TMP"), std::string("old\r\n"));
  EXPECT_EQ(CloseLauncher(launcher_, main), std::optional<DWORD>(0));
}

TEST_F(EndOfRunE2E, SaveAndContinueTwiceKeepsTheFirstPressInTheBackup) {
  HWND main = RunOnce();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(PressButton(main, "保存継続(&S)"));
  main = EndRun();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(File(".BAK"), std::string("old\r\n"));
  EXPECT_EQ(File(".TMP"), std::string("old\r\nedit\r\n"));
  ASSERT_TRUE(PressButton(main, "保存継続(&S)"));
  main = EndRun();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(File(".BAK"), std::string("old\r\nedit\r\n"));
  EXPECT_EQ(File(".TMP"), std::string("old\r\nedit\r\nedit\r\n"));
  EXPECT_EQ(File(""), std::string("old\r\nedit\r\nedit\r\nedit\r\n"));
  // The relaunch named the target exactly like the first launch.
  auto log = File(".cmdline");
  ASSERT_TRUE(log.has_value());
  std::string line = "\"" + StandInExe("standin_db") + "\" /append \"" + db_ + "\"\r\n";
  EXPECT_EQ(*log, line + line + line);
  EXPECT_EQ(CloseLauncher(launcher_, main), std::optional<DWORD>(0));
}

TEST_F(EndOfRunE2E, EnterInEndModePressesSaveAndExit) {
  HWND main = RunOnce();
  ASSERT_NE(main, nullptr);
  // The end of a run shows the main window, then the taskbar window, then
  // brings the main window to the front: the focus may rest on the taskbar
  // window for a moment before it reaches a control of the main window.
  HWND focus = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (focus = FocusedControl(main)) != nullptr && IsChild(main, focus); }));
  PostKey(focus, VK_RETURN);
  EXPECT_EQ(launcher_.WaitExit(), std::optional<DWORD>(0));
  EXPECT_EQ(File(".BAK"), std::string("old\r\n"));
  EXPECT_FALSE(File(".TMP").has_value());
}

class RestartE2E : public EndOfRunE2E {
 protected:
  void SetUp() override {
    extraIni_ = "[System]\nMDBbak=Never\n";
    EndOfRunE2E::SetUp();
  }
};

TEST_F(RestartE2E, RestartTouchesNoFileAndShowsNoWaitWindow) {
  HWND main = RunOnce("/keep");
  ASSERT_NE(main, nullptr);
  SaveScreenshot("end-mode-mdb-never");
  ASSERT_TRUE(PressButton(main, "再起動(&R)"));
  bool waitWindowSeen = false;
  ASSERT_TRUE(WaitUntil([&] {
    if (::FindWindowA("TFormSplash", nullptr)) waitWindowSeen = true;
    return ::FindWindowA("QuandrelStandIn", nullptr) != nullptr;
  })) << "the restart started no program";
  main = EndRun();
  ASSERT_NE(main, nullptr);
  EXPECT_FALSE(waitWindowSeen);
  EXPECT_EQ(File(""), std::string("old\r\n"));
  EXPECT_FALSE(File(".TMP").has_value());
  EXPECT_FALSE(File(".BAK").has_value());
  ASSERT_TRUE(PressButton(main, "終了(&Q)"));
  EXPECT_EQ(launcher_.WaitExit(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace qtest
