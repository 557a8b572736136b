// The first launch cycle, end to end: association lookup, snapshot, the
// exact command line, the watch and the return of the main window.
#include <gtest/gtest.h>

#include "driver/launcher.h"
#include "text/sjis.h"

namespace qtest {
namespace {

class LaunchE2E : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_TRUE(CloseStandIns()) << "a stand-in did not end";
    DeleteKeyTree(HKEY_CLASSES_ROOT, ".qtst");
    DeleteKeyTree(HKEY_CLASSES_ROOT, "QuandrelTest.File");
    DeleteKeyTree(HKEY_CLASSES_ROOT, ".mdb");
    DeleteKeyTree(HKEY_CLASSES_ROOT, "QuandrelTest.Mdb");
  }
};

TEST_F(LaunchE2E, MdbTargetIsSnapshottedAndOpenedByItsProgram) {
  Sandbox box("mdb");
  std::string exe = box.InstallLauncher();
  std::string db = box.Path("売上表.mdb");  // 表 ends in a 0x5C byte
  WriteBytes(db, "old\r\n");
  WriteBytes(db + ".TMP", "stale snapshot of an earlier run");
  box.WriteIni("[Execute]\nDBPath=売上表.mdb\n[System]\nTitle=販売\n");
  RegisterExtension(".mdb", "QuandrelTest.Mdb", StandInCommand("/append"));

  Process launcher = Process::Start(exe);
  HWND standIn = WaitStandIn();
  ASSERT_NE(standIn, nullptr) << "the registered program was not started";
  EXPECT_TRUE(WaitUntil([&] { return IsShown(standIn); }));  // it exists a moment before it shows

  // The program got the launch command and the absolute target path.
  ASSERT_TRUE(WaitUntil([&] { return ReadBytes(db + ".cmdline").has_value(); }));
  EXPECT_EQ(ReadBytes(db + ".cmdline"), "\"" + StandInExe("standin_db") + "\" /append \"" + db + "\"\r\n");
  // The snapshot holds the target as it was before the run.
  EXPECT_EQ(ReadBytes(db + ".TMP"), std::string("old\r\n"));
  EXPECT_FALSE(FileExists(db + ".TMP.part"));
  // While it runs the launcher shows no window.
  HWND main = FindTopWindow(launcher.Id(), "TFormMain");
  ASSERT_NE(main, nullptr);
  EXPECT_FALSE(IsShown(main));
  SaveScreenshot("launch-running");

  ASSERT_TRUE(CloseStandIns());
  ASSERT_TRUE(WaitUntil([&] { return IsShown(main); })) << "the main window did not come back";
  EXPECT_EQ(ReadBytes(db), std::string("old\r\nedit\r\n"));
  EXPECT_EQ(ReadBytes(db + ".TMP"), std::string("old\r\n"));
  EXPECT_EQ(CloseLauncher(launcher, main), std::optional<DWORD>(0));
}

TEST_F(LaunchE2E, ProgramFileTargetIsStartedDirectly) {
  Sandbox box("exe");
  std::string exe = box.InstallLauncher();
  std::string program = box.Path("集計ソフト.EXE");
  CopyInto(StandInExe("standin_db"), program);
  box.WriteIni("[Execute]\nDBPath=集計ソフト.EXE\n");

  Process launcher = Process::Start(exe);
  ASSERT_NE(WaitStandIn(), nullptr);
  ASSERT_TRUE(WaitUntil([&] { return ReadBytes(program + ".cmdline").has_value(); }));
  EXPECT_EQ(ReadBytes(program + ".cmdline"), "\"" + program + "\"\r\n");
  EXPECT_FALSE(FileExists(program + ".TMP"));
  ASSERT_TRUE(CloseStandIns());
  HWND main = WaitMainShown(launcher);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(CloseLauncher(launcher, main), std::optional<DWORD>(0));
}

TEST_F(LaunchE2E, UnregisteredExtensionShowsBothMessagesAndTheFailedStartThenEndMode) {
  Sandbox box("unregistered");
  std::string exe = box.InstallLauncher();
  WriteBytes(box.Path("data.qzz"), "x");
  box.WriteIni("[Execute]\nDBPath=data.qzz\n[System]\nTitle=販売管理\n");

  Process launcher = Process::Start(exe);
  auto first = WaitMessageBox(launcher.Id());
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->caption, "販売管理");
  EXPECT_EQ(first->text, "拡張子 \".qzz\" のレジストリ内容を読み込めません");
  EXPECT_EQ(first->buttons, std::vector<std::string>{"OK"});
  // No launcher window stands behind the box: only the tray icon.
  HWND main = FindTopWindow(launcher.Id(), "TFormMain");
  ASSERT_NE(main, nullptr);
  EXPECT_FALSE(IsShown(main));
  ASSERT_TRUE(Answer(*first, "OK"));
  auto second = WaitMessageBox(launcher.Id());
  ASSERT_TRUE(second.has_value());
  EXPECT_EQ(second->text, "\"\" の関連付けを認識できません");
  ASSERT_TRUE(Answer(*second, "OK"));
  // With no command found, the line is a blank and the quoted file, which
  // is no program: what could not be started, and the system's reason.
  auto failed = WaitMessageBox(launcher.Id());
  ASSERT_TRUE(failed.has_value());
  EXPECT_EQ(failed->caption, "エラー");
  const std::string head = "プログラムを起動できません\n\n \"" + box.Path("data.qzz") + "\"\n\n";
  EXPECT_EQ(failed->text.substr(0, head.size()), head);
  EXPECT_GT(failed->text.size(), head.size()) << "no reason given";
  ASSERT_TRUE(Answer(*failed, "OK"));

  ASSERT_NE(WaitMainShown(launcher), nullptr);
  EXPECT_EQ(::FindWindowA("QuandrelStandIn", nullptr), nullptr);
  EXPECT_EQ(CloseLauncher(launcher, main), std::optional<DWORD>(0));
}

TEST_F(LaunchE2E, EmptyTargetStartsNothingAndSaysThatNoFileIsSet) {
  Sandbox box("empty");
  std::string exe = box.InstallLauncher();
  box.WriteIni("[Execute]\nDBPath=\n");
  Process launcher = Process::Start(exe);
  auto told = WaitMessageBox(launcher.Id());
  ASSERT_TRUE(told.has_value());
  EXPECT_EQ(told->text, "開くファイルが設定されていません\n\n設定変更の「最初に開くファイル名の指定」か、設定ファイル " +
                            box.Path("Quandrel.INI") + " の DBPath に開くファイルを書いてください。");
  EXPECT_EQ(told->buttons, std::vector<std::string>{"OK"});
  HWND main = FindTopWindow(launcher.Id(), "TFormMain");
  ASSERT_NE(main, nullptr);
  EXPECT_FALSE(IsShown(main));  // end mode comes after the box
  ASSERT_TRUE(Answer(*told, "OK"));
  ASSERT_EQ(WaitMainShown(launcher), main);
  ASSERT_TRUE(Settle(main));
  EXPECT_FALSE(WaitMessageBox(launcher.Id(), 0).has_value());
  EXPECT_EQ(CloseLauncher(launcher, main), std::optional<DWORD>(0));
}

TEST_F(LaunchE2E, ARegisteredCommandNamingAMissingProgramIsReportedAtEachStart) {
  Sandbox box("missing");
  std::string exe = box.InstallLauncher();
  std::string file = box.Path("伝票.qtst");
  WriteBytes(file, "data");
  box.WriteIni("[Execute]\nDBPath=" + file + "\n");
  const std::string program = box.Path("消えた\\集計.exe");  // no such folder or program
  RegisterExtension(".qtst", "QuandrelTest.File", "\"" + program + "\" \"%1\"");
  const std::string head = "プログラムを起動できません\n\n\"" + program + "\" \"" + file + "\"\n\n";

  Process launcher = Process::Start(exe);
  auto failed = WaitMessageBox(launcher.Id());
  ASSERT_TRUE(failed.has_value());
  EXPECT_EQ(failed->caption, "エラー");
  EXPECT_EQ(failed->text.substr(0, head.size()), head);
  EXPECT_GT(failed->text.size(), head.size()) << "no reason given";
  EXPECT_EQ(failed->text.find("エラー番号"), std::string::npos) << "the system has words for it";
  ASSERT_TRUE(Answer(*failed, "OK"));
  HWND main = WaitMainShown(launcher);
  ASSERT_NE(main, nullptr);
  SaveScreenshot("launch-start-failed");

  // The restart meets the same missing program and says so again.
  ASSERT_TRUE(PressButton(main, "再起動(&R)"));
  auto again = WaitMessageBox(launcher.Id());
  ASSERT_TRUE(again.has_value());
  EXPECT_EQ(again->text, failed->text);
  ASSERT_TRUE(Answer(*again, "OK"));
  ASSERT_TRUE(WaitUntil([&] { return IsShown(main); }));
  EXPECT_EQ(CloseLauncher(launcher, main), std::optional<DWORD>(0));
}

TEST_F(LaunchE2E, TheStartedProgramFindsADllInTheLaunchersFolderAsWhenStartedFromThere) {
  // The launcher keeps DLLs beside it out of its own process; the program
  // it starts (in its own folder here) runs in the launcher's folder and
  // finds a DLL of its own there, as it would when started from that folder.
  Sandbox box("dll");
  std::string exe = box.InstallLauncher();
  ASSERT_TRUE(::CreateDirectoryA(box.Path("prog").c_str(), nullptr));
  std::string program = box.Path("prog\\standin_db.exe");
  CopyInto(StandInExe("standin_db"), program);
  CopyInto(BuildDir() + "\\planted_probe.dll", box.Path("planted_probe.dll"));
  std::string file = box.Path("伝票.qtst");
  WriteBytes(file, "data");
  box.WriteIni("[Execute]\nDBPath=" + file + "\n");
  RegisterExtension(".qtst", "QuandrelTest.File", "\"" + program + "\" /loaddll /exit \"%1\"");

  Process launcher = Process::Start(exe);
  HWND main = WaitMainShown(launcher);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(ReadBytes(file + ".cmdline").has_value()) << "the program did not run";
  EXPECT_EQ(quandrel::text::UpperAscii(ReadBytes(file + ".dll").value_or("")),
            quandrel::text::UpperAscii(box.Path("planted_probe.dll")));
  EXPECT_EQ(CloseLauncher(launcher, main), std::optional<DWORD>(0));
}

TEST_F(LaunchE2E, TestExtensionGetsTheCleanedCommand) {
  Sandbox box("qtst");
  std::string exe = box.InstallLauncher();
  std::string file = box.Path("伝票.qtst");
  WriteBytes(file, "data");
  box.WriteIni("[Execute]\nDBPath=" + file + "\n");
  // The switch after the token is dropped along with it.
  RegisterExtension(".qtst", "QuandrelTest.File", StandInCommand("/keep") + " /after");

  Process launcher = Process::Start(exe);
  ASSERT_NE(WaitStandIn(), nullptr);
  ASSERT_TRUE(WaitUntil([&] { return ReadBytes(file + ".cmdline").has_value(); }));
  EXPECT_EQ(ReadBytes(file + ".cmdline"), "\"" + StandInExe("standin_db") + "\" /keep \"" + file + "\"\r\n");
  EXPECT_FALSE(FileExists(file + ".TMP"));  // only .MDB targets get a snapshot
  ASSERT_TRUE(CloseStandIns());
  HWND main = WaitMainShown(launcher);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(CloseLauncher(launcher, main), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace qtest
