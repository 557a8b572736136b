// Shared use end to end: a colleague's program holding the database open
// stops discard, compaction and repair before any file changes; a lock file
// naming another computer during the run makes the discard question name
// it, with No as its default.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/launcher.h"

namespace qtest {
namespace {

const char kAppPaths[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\MSACCESS.EXE";

std::string ThisComputer() {
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof name;
  return ::GetComputerNameA(name, &size) ? std::string(name, size) : std::string();
}

std::string LockRecord(const std::string& computer, const std::string& user) {
  std::string record = computer.substr(0, 32);
  record.resize(32, '\0');
  record += user.substr(0, 32);
  record.resize(64, '\0');
  return record;
}

class SharedUseE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    exe_ = box_.InstallLauncher();
    db_ = box_.Path("顧客表.mdb");
    lockFile_ = box_.Path("顧客表.ldb");
    WriteBytes(db_, "old\r\n");
    box_.WriteIni("[Execute]\nDBPath=顧客表.mdb\n");
    RegisterExtension(".mdb", "QuandrelTest.Mdb", StandInCommand("/append"));
    SetDefaultValue(HKEY_LOCAL_MACHINE, kAppPaths, StandInExe("standin_access"));
  }
  void TearDown() override {
    EXPECT_TRUE(CloseStandIns()) << "a stand-in did not end";
    EndColleague();
    colleague_.Kill();
    launcher_.Kill();
    DeleteKeyTree(HKEY_LOCAL_MACHINE, kAppPaths);
    DeleteKeyTree(HKEY_CLASSES_ROOT, ".mdb");
    DeleteKeyTree(HKEY_CLASSES_ROOT, "QuandrelTest.Mdb");
  }

  // The launcher after one run of the stand-in, in end mode.
  HWND RunOnce() {
    launcher_ = Process::Start(exe_);
    if (!WaitStandIn() || !CloseStandIns()) return nullptr;
    return WaitMainShown(launcher_);
  }
  // The colleague's program, once it has the database open.
  bool StartColleague() {
    colleague_ = Process::Start(StandInExe("standin_colleague"), "\"" + db_ + "\" EIGYO-PC Admin");
    return WaitUntil([] { return ::FindWindowA("QuandrelColleague", nullptr) != nullptr; });
  }
  void EndColleague() {
    if (HWND w = ::FindWindowA("QuandrelColleague", nullptr)) ::PostMessageA(w, WM_CLOSE, 0, 0);
    colleague_.WaitExit();
  }
  std::optional<std::string> File(const std::string& suffix) { return ReadBytes(db_ + suffix); }
  // Presses the button and expects the refusal: an error box that names
  // the database and, when `named`, the colleague.
  void ExpectRefusal(HWND main, const char* button, bool named, const char* screenshot = nullptr) {
    ASSERT_TRUE(PressButton(main, button));
    auto box = WaitMessageBox(launcher_.Id());
    ASSERT_TRUE(box.has_value()) << button;
    EXPECT_EQ(box->caption, "エラー");
    EXPECT_EQ(box->text.rfind(db_ + " は、ほかのコンピュータかプログラムで開かれています。", 0), 0u) << box->text;
    EXPECT_EQ(box->text.find("・EIGYO-PC（ユーザー名 Admin）") != std::string::npos, named) << box->text;
    if (screenshot) SaveScreenshot(screenshot);
    ASSERT_TRUE(Answer(*box, "OK"));
  }
  void ExpectNoFileChanged() {
    EXPECT_EQ(File(""), std::string("old\r\nedit\r\n"));
    EXPECT_EQ(File(".TMP"), std::string("old\r\n"));
    EXPECT_FALSE(File(".BAK").has_value());
    EXPECT_FALSE(File(".access").has_value()) << "Access was started";
  }

  Sandbox box_{"shared"};
  std::string exe_, db_, lockFile_;
  Process launcher_, colleague_;
};

TEST_F(SharedUseE2E, ADatabaseAColleagueHasOpenIsNeitherDiscardedNorCompactedNorRepaired) {
  HWND main = RunOnce();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(StartColleague());
  ExpectRefusal(main, "破棄終了(&X)", true, "shared-use-open-elsewhere");
  ExpectRefusal(main, "最適化(&C)", true);
  ExpectRefusal(main, "修復(&R)", true);
  ExpectNoFileChanged();
  EXPECT_TRUE(launcher_.Running());

  // The colleague leaves: the next discard may go on, but asks first and
  // names them, since their changes are in the database now.
  EndColleague();
  ASSERT_FALSE(FileExists(lockFile_));
  ASSERT_TRUE(PressButton(main, "破棄終了(&X)"));
  auto question = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(question.has_value());
  EXPECT_NE(question->text.find("・EIGYO-PC（ユーザー名 Admin）"), std::string::npos) << question->text;
  ASSERT_TRUE(Answer(*question, "いいえ(&N)"));
  auto told = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(told.has_value());
  ASSERT_TRUE(Answer(*told, "OK"));
  ExpectNoFileChanged();
  EXPECT_EQ(CloseLauncher(launcher_, main), std::optional<DWORD>(0));
}

TEST_F(SharedUseE2E, AColleagueSeenDuringTheRunIsNamedAndNoIsTheDefault) {
  launcher_ = Process::Start(exe_);
  ASSERT_NE(WaitStandIn(), nullptr);
  // Another computer opens the database while this run goes on, and has
  // left again (its lock file gone) before the run ends. The watch looks
  // once a second.
  WriteBytes(lockFile_, LockRecord(ThisComputer(), "Admin") + LockRecord("EIGYO-PC", "Admin"));
  ::Sleep(3500);
  ASSERT_TRUE(::DeleteFileA(lockFile_.c_str()));
  ASSERT_TRUE(CloseStandIns());
  HWND main = WaitMainShown(launcher_);
  ASSERT_NE(main, nullptr);

  const std::string expected =
      "本当にデータベースの更新分を\n破棄してよろしいですか？\n\n"
      "今回の実行中に、ほかのコンピュータもこのデータベースを開いていました:\n"
      "・EIGYO-PC（ユーザー名 Admin）\n\n"
      "破棄すると、実行を始めてから今までにその人たちが加えた変更も消えます。";
  ASSERT_TRUE(PressButton(main, "破棄終了(&X)"));
  auto question = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(question.has_value());
  EXPECT_EQ(question->caption, "確認");
  EXPECT_EQ(question->text, expected);
  EXPECT_EQ(question->buttons, (std::vector<std::string>{"はい(&Y)", "いいえ(&N)"}));
  SaveScreenshot("shared-use-discard-question");
  // Enter answers No: every file stays.
  HWND focus = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (focus = FocusedControl(question->window)) != nullptr; }));
  EXPECT_EQ(TextOf(focus), "いいえ(&N)");
  PostKey(focus, VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(question->window); }));
  auto told = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(told.has_value());
  EXPECT_EQ(told->text, "破棄終了を中止しました");
  ASSERT_TRUE(Answer(*told, "OK"));
  EXPECT_EQ(File(""), std::string("old\r\nedit\r\n"));
  EXPECT_EQ(File(".TMP"), std::string("old\r\n"));

  // Asked again, Yes discards.
  ASSERT_TRUE(PressButton(main, "破棄終了(&X)"));
  question = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(question.has_value());
  EXPECT_EQ(question->text, expected);
  ASSERT_TRUE(Answer(*question, "はい(&Y)"));
  EXPECT_EQ(launcher_.WaitExit(), std::optional<DWORD>(0));
  EXPECT_EQ(File(""), std::string("old\r\n"));
  EXPECT_FALSE(File(".TMP").has_value());
}

}  // namespace
}  // namespace qtest
