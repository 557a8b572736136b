// Access databases end to end: a real database (build/test-data/fruit.mdb,
// fetched by tools/bootstrap.sh) emptied by two runs in a row, a start
// after a launcher was killed during its run, and an .accdb target treated
// like an .mdb one (snapshot, save, discard, compaction).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver/launcher.h"

namespace qtest {
namespace {

const char kAppPaths[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\MSACCESS.EXE";

std::string FruitPath() { return SourceDir() + "\\build\\test-data\\fruit.mdb"; }

// The paths of the files in `folder` whose names match `pattern`.
std::vector<std::string> Matching(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> paths;
  for (const std::string& name : FolderEntries(folder, pattern)) paths.push_back(folder + "\\" + name);
  return paths;
}

// Presses a key on the control that has the focus in the box, as a user would.
void KeyOnBox(const MessageBoxInfo& box, UINT vk) {
  HWND focus = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (focus = FocusedControl(box.window)) != nullptr; }));
  PostKey(focus, vk);
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box.window) || !::IsWindowVisible(box.window); }));
}

// The box's buttons stand in one row inside it, below its text, whatever
// ids they answer with.
void ExpectButtonsInOneRow(const MessageBoxInfo& box) {
  ASSERT_TRUE(Settle(box.window));
  RECT frame{};
  ::GetWindowRect(box.window, &frame);
  std::vector<RECT> buttons;
  for (HWND c = ::GetWindow(box.window, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
    if (ClassOf(c) != "Button" || !IsShown(c)) continue;
    RECT r{};
    ::GetWindowRect(c, &r);
    buttons.push_back(r);
  }
  ASSERT_EQ(buttons.size(), box.buttons.size());
  for (const RECT& r : buttons) {
    EXPECT_EQ(r.top, buttons[0].top) << "a button out of the row";
    EXPECT_TRUE(r.left >= frame.left && r.right <= frame.right && r.bottom <= frame.bottom) << "a button outside the box";
  }
}

class DatabaseE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    fruit_ = ReadBytes(FruitPath());
    if (!fruit_) GTEST_SKIP() << FruitPath() << " is missing: tools/bootstrap.sh fetches it (npm package mdb 0.1.0)";
    exe_ = box_.InstallLauncher();
    db_ = box_.Path("販売表.mdb");
    WriteBytes(db_, *fruit_);
    box_.WriteIni("[Execute]\nDBPath=販売表.mdb\n");
  }
  void TearDown() override {
    EXPECT_TRUE(CloseStandIns()) << "a stand-in did not end";
    launcher_.Kill();
    DeleteKeyTree(HKEY_CLASSES_ROOT, ".mdb");
    DeleteKeyTree(HKEY_CLASSES_ROOT, "QuandrelTest.Mdb");
  }
  std::optional<std::string> File(const std::string& suffix) { return ReadBytes(db_ + suffix); }

  Sandbox box_{"database"};
  std::optional<std::string> fruit_;
  std::string exe_, db_;
  Process launcher_;
};

TEST_F(DatabaseE2E, TwoRunsThatEmptyTheDatabaseKeepTheGoodOneAndTellTheUser) {
  RegisterExtension(".mdb", "QuandrelTest.Mdb", StandInCommand("/empty /exit"));

  // First run: the program empties the database; the end says so at once.
  launcher_ = Process::Start(exe_);
  auto report = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(report.has_value()) << "the damaged database was not reported";
  EXPECT_EQ(report->caption, "エラー");
  EXPECT_EQ(report->text, db_ + " が壊れている可能性があります。\n\nファイルが空です（0 バイト）。\n\n"
                                "今回の起動前の状態が控え " + db_ + ".TMP に残っています。\n"
                                "破棄終了でその状態に戻すか、修復をお試しください。");
  SaveScreenshot("database-damaged-report");
  ASSERT_TRUE(Answer(*report, "OK"));
  HWND main = WaitMainShown(launcher_);
  ASSERT_NE(main, nullptr);

  // Save & exit asks first; Enter answers No and nothing is saved.
  ASSERT_TRUE(PressButton(main, "保存終了(&Q)"));
  auto question = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(question.has_value());
  EXPECT_EQ(question->caption, "確認");
  EXPECT_EQ(question->buttons, (std::vector<std::string>{"はい(&Y)", "いいえ(&N)"}));
  EXPECT_NE(question->text.find("このまま保存しますか？"), std::string::npos) << question->text;
  KeyOnBox(*question, VK_RETURN);
  auto cancelled = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(cancelled.has_value());
  EXPECT_EQ(cancelled->text, "保存を中止しました");
  ASSERT_TRUE(Answer(*cancelled, "OK"));
  EXPECT_TRUE(launcher_.Running());
  EXPECT_EQ(File(".TMP"), fruit_);

  // Yes saves: the good snapshot becomes the backup copy.
  ASSERT_TRUE(PressButton(main, "保存終了(&Q)"));
  question = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(question.has_value());
  ASSERT_TRUE(Answer(*question, "はい(&Y)"));
  EXPECT_EQ(launcher_.WaitExit(), std::optional<DWORD>(0));
  EXPECT_EQ(File(".BAK"), fruit_);
  EXPECT_EQ(File(""), std::string());

  // Second run of the same: the backup copy is the good one left.
  launcher_ = Process::Start(exe_);
  report = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(report.has_value());
  EXPECT_NE(report->text.find("前回保存した状態がバックアップ " + db_ + ".BAK に残っています。"), std::string::npos)
      << report->text;
  ASSERT_TRUE(Answer(*report, "OK"));
  main = WaitMainShown(launcher_);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(PressButton(main, "保存終了(&Q)"));
  question = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(question.has_value());
  ASSERT_TRUE(Answer(*question, "はい(&Y)"));
  // The empty snapshot does not take the good backup copy's place, and the user is told.
  auto kept = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(kept.has_value());
  EXPECT_EQ(kept->caption, "エラー");
  EXPECT_NE(kept->text.find("バックアップにしませんでした"), std::string::npos) << kept->text;
  SaveScreenshot("database-backup-kept");
  ASSERT_TRUE(Answer(*kept, "OK"));
  EXPECT_EQ(launcher_.WaitExit(), std::optional<DWORD>(0));

  EXPECT_EQ(File(".BAK"), fruit_);
  EXPECT_FALSE(File(".TMP").has_value());
  const std::vector<std::string> aside = Matching(box_.Dir(), "販売表.mdb.*.読めない控え");
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(ReadBytes(aside[0]), std::string());
  EXPECT_NE(kept->text.find(aside[0]), std::string::npos) << kept->text;
}

TEST_F(DatabaseE2E, AStartAfterALauncherWasKilledKeepsThePreCrashSnapshotOnEnter) {
  RegisterExtension(".mdb", "QuandrelTest.Mdb", StandInCommand("/touch"));
  launcher_ = Process::Start(exe_);
  ASSERT_NE(WaitStandIn(), nullptr);
  ASSERT_EQ(File(".TMP"), fruit_);
  launcher_.Kill();  // a freeze or a power cut in the middle of the run
  ASSERT_TRUE(CloseStandIns());
  const std::optional<std::string> changed = File("");
  ASSERT_NE(changed, fruit_);

  launcher_ = Process::Start(exe_);
  auto question = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(question.has_value()) << "the left-over snapshot was not asked about";
  EXPECT_EQ(question->caption, "確認");
  EXPECT_EQ(question->buttons, (std::vector<std::string>{"戻す(&R)", "残す(&K)", "中止(&A)"}));
  EXPECT_EQ(question->text.rfind("前回の作業が保存終了・破棄終了で終わっていません", 0), 0u) << question->text;
  ExpectButtonsInOneRow(*question);
  SaveScreenshot("database-leftover-question");
  KeyOnBox(*question, VK_RETURN);

  // Kept aside under its own name; the run goes on with a fresh snapshot.
  ASSERT_NE(WaitStandIn(), nullptr);
  const std::vector<std::string> aside = Matching(box_.Dir(), "販売表.mdb.*.中断前");
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(ReadBytes(aside[0]), fruit_);
  EXPECT_EQ(File(".TMP"), changed);
  ASSERT_TRUE(CloseStandIns());
  HWND main = WaitMainShown(launcher_);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(Settle(main));
  EXPECT_FALSE(WaitMessageBox(launcher_.Id(), 0).has_value());  // a sound database: nothing more to say
  EXPECT_EQ(CloseLauncher(launcher_, main), std::optional<DWORD>(0));
}

TEST_F(DatabaseE2E, EscAtTheLeftoverQuestionStopsWithoutAStartAndTouchesNothing) {
  RegisterExtension(".mdb", "QuandrelTest.Mdb", StandInCommand("/exit"));
  std::string changed = *fruit_;
  changed.replace(changed.size() - 4, 4, "edit");
  WriteBytes(db_, changed);
  WriteBytes(db_ + ".TMP", *fruit_);

  launcher_ = Process::Start(exe_);
  auto question = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(question.has_value());
  KeyOnBox(*question, VK_ESCAPE);
  EXPECT_EQ(launcher_.WaitExit(), std::optional<DWORD>(0));
  EXPECT_FALSE(File(".cmdline").has_value()) << "the program was started";
  EXPECT_EQ(File(".TMP"), fruit_);
  EXPECT_EQ(File(""), changed);
  EXPECT_TRUE(Matching(box_.Dir(), "販売表.mdb.*.中断前").empty());
}

// ---------------------------------------------------------------------------
// .accdb

class AccdbE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    exe_ = box_.InstallLauncher();
    db_ = box_.Path("顧客表.accdb");
    WriteBytes(db_, "old\r\n");
    box_.WriteIni("[Execute]\nDBPath=顧客表.accdb\n");
  }
  void TearDown() override {
    EXPECT_TRUE(CloseStandIns()) << "a stand-in did not end";
    launcher_.Kill();
    ::SetEnvironmentVariableA("QUANDREL_ACCESS_STANDIN", nullptr);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, kAppPaths);
    DeleteKeyTree(HKEY_CLASSES_ROOT, ".accdb");
    DeleteKeyTree(HKEY_CLASSES_ROOT, "QuandrelTest.Accdb");
  }
  HWND RunOnce() {
    launcher_ = Process::Start(exe_);
    if (!WaitStandIn() || !CloseStandIns()) return nullptr;
    return WaitMainShown(launcher_);
  }
  std::optional<std::string> File(const std::string& suffix) { return ReadBytes(db_ + suffix); }

  Sandbox box_{"accdb"};
  std::string exe_, db_;
  Process launcher_;
};

TEST_F(AccdbE2E, SnapshottedSavedAndDiscardedLikeAnMdb) {
  RegisterExtension(".accdb", "QuandrelTest.Accdb", StandInCommand("/append"));
  HWND main = RunOnce();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(File(".TMP"), std::string("old\r\n"));
  const std::vector<std::string> buttons = VisibleButtonCaptions(main);
  for (const char* b : {"保存終了(&Q)", "保存継続(&S)", "破棄終了(&X)", "最適化(&C)", "修復(&R)"}) {
    EXPECT_NE(std::find(buttons.begin(), buttons.end(), b), buttons.end()) << b;
  }
  ASSERT_TRUE(PressButton(main, "保存終了(&Q)"));
  EXPECT_EQ(launcher_.WaitExit(), std::optional<DWORD>(0));
  EXPECT_EQ(File(".BAK"), std::string("old\r\n"));
  EXPECT_FALSE(File(".TMP").has_value());

  main = RunOnce();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(File(""), std::string("old\r\nedit\r\nedit\r\n"));
  ASSERT_TRUE(PressButton(main, "破棄終了(&X)"));
  auto question = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(question.has_value());
  ASSERT_TRUE(Answer(*question, "はい(&Y)"));
  EXPECT_EQ(launcher_.WaitExit(), std::optional<DWORD>(0));
  EXPECT_EQ(File(""), std::string("old\r\nedit\r\n"));
  EXPECT_FALSE(File(".TMP").has_value());
  EXPECT_EQ(File(".BAK"), std::string("old\r\n"));
}

TEST_F(AccdbE2E, CompactionStartsAccessAndOffersTheOtherDatabasesOfBothKinds) {
  RegisterExtension(".accdb", "QuandrelTest.Accdb", StandInCommand("/exit"));
  SetDefaultValue(HKEY_LOCAL_MACHINE, kAppPaths, StandInExe("standin_access"));
  ASSERT_TRUE(::SetEnvironmentVariableA("QUANDREL_ACCESS_STANDIN", "exit"));
  WriteBytes(box_.Path("A.MDB"), "a\r\n");
  WriteBytes(box_.Path("B.ACCDB"), "b\r\n");
  WriteBytes(box_.Path("顧客表.laccdb"), "lock");
  launcher_ = Process::Start(exe_);
  HWND main = WaitMainShown(launcher_);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(PressButton(main, "最適化(&C)"));

  auto done = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(done.has_value());
  EXPECT_EQ(done->text, "「 顧客表.accdb 」の最適化が終了しました。");
  ASSERT_TRUE(Answer(*done, "OK"));
  // One question for each other database, in the order the folder lists them.
  std::vector<std::string> offered;
  for (int i = 0; i < 2; ++i) {
    auto question = WaitMessageBox(launcher_.Id());
    ASSERT_TRUE(question.has_value());
    ASSERT_EQ(question->caption, "確認");
    offered.push_back(question->text);
    ASSERT_TRUE(Answer(*question, "はい(&Y)"));
  }
  auto over = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(over.has_value());
  EXPECT_EQ(over->text, "\n\n以上で最適化処理を終了します。");
  ASSERT_TRUE(Answer(*over, "OK"));

  std::sort(offered.begin(), offered.end());
  EXPECT_NE(offered[0].find("「 A.MDB 」"), std::string::npos) << offered[0];
  EXPECT_NE(offered[1].find("「 B.ACCDB 」"), std::string::npos) << offered[1];
  const std::string access = "\"" + StandInExe("standin_access") + "\" \"";
  EXPECT_EQ(ReadBytes(db_ + ".access"), access + db_ + "\" /Compact\r\n");
  EXPECT_EQ(ReadBytes(box_.Path("A.MDB.access")), access + box_.Dir() + "\\A.MDB\" /Compact\r\n");
  EXPECT_EQ(ReadBytes(box_.Path("B.ACCDB.access")), access + box_.Dir() + "\\B.ACCDB\" /Compact\r\n");
  EXPECT_FALSE(FileExists(box_.Path("顧客表.laccdb.access")));
  EXPECT_EQ(CloseLauncher(launcher_, main), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace qtest
