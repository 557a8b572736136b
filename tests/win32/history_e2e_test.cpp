// History end to end: with History above 0 the states that saves and
// discards replace are kept in "<name> の履歴" and pruned to the setting;
// with History 0 the folder holds exactly the files it always held.
#include <gtest/gtest.h>

#include <algorithm>

#include "driver/launcher.h"

namespace qtest {
namespace {

class HistoryE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    exe_ = box_.InstallLauncher();
    db_ = box_.Path("顧客表.mdb");
    history_ = box_.Path("顧客表.mdb の履歴");
    WriteBytes(db_, "old\r\n");
    WriteBytes(db_ + ".BAK", "bak0\r\n");  // the state of a save before today
  }
  void TearDown() override {
    EXPECT_TRUE(CloseStandIns()) << "a stand-in did not end";
    launcher_.Kill();
    DeleteKeyTree(HKEY_CLASSES_ROOT, ".mdb");
    DeleteKeyTree(HKEY_CLASSES_ROOT, "QuandrelTest.Mdb");
  }

  // Starts the launcher, lets the stand-in append "edit" once and end;
  // returns the main window in end mode.
  HWND RunOnce() {
    RegisterExtension(".mdb", "QuandrelTest.Mdb", StandInCommand("/append"));
    launcher_ = Process::Start(exe_);
    return EndRun();
  }
  HWND EndRun() { return EndStandInRun(launcher_); }
  std::optional<std::string> File(const std::string& suffix) { return ReadBytes(db_ + suffix); }
  // Discard & exit, its question answered yes; the launcher ends.
  void DiscardAnsweringYes(HWND main) {
    ASSERT_TRUE(PressButton(main, "破棄終了(&X)"));
    auto question = WaitMessageBox(launcher_.Id());
    ASSERT_TRUE(question.has_value());
    ASSERT_TRUE(Answer(*question, "はい(&Y)"));
    EXPECT_EQ(launcher_.WaitExit(), std::optional<DWORD>(0));
  }

  // The generations' names (sorted, oldest first) and their bytes.
  std::vector<std::string> Generations() {
    std::vector<std::string> names = FolderEntries(history_);
    std::sort(names.begin(), names.end());
    return names;
  }
  std::string Generation(const std::string& name) { return ReadBytes(history_ + "\\" + name).value_or("?"); }

  Sandbox box_{"history"};
  std::string exe_, db_, history_;
  Process launcher_;
};

bool EndsWith(const std::string& s, const std::string& end) {
  return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

TEST_F(HistoryE2E, ThreeSavesWithTwoKeptLeaveTheTwoNewestGenerations) {
  box_.WriteIni("[Execute]\nDBPath=顧客表.mdb\n[System]\nHistory=2\n");
  HWND main = RunOnce();
  ASSERT_NE(main, nullptr);
  // Two presses of save & continue and one of save & exit: each sets the
  // backup copy it replaces aside, three generations in all.
  for (int press = 0; press < 2; ++press) {
    ASSERT_TRUE(PressButton(main, "保存継続(&S)"));
    main = EndRun();
    ASSERT_NE(main, nullptr);
  }
  ASSERT_TRUE(PressButton(main, "保存終了(&Q)"));
  EXPECT_EQ(launcher_.WaitExit(), std::optional<DWORD>(0));

  EXPECT_EQ(File(""), std::string("old\r\nedit\r\nedit\r\nedit\r\n"));
  EXPECT_EQ(File(".BAK"), std::string("old\r\nedit\r\nedit\r\n"));
  EXPECT_FALSE(File(".TMP").has_value());
  // The oldest (the backup copy from before today) went; the two newest stay.
  const std::vector<std::string> kept = Generations();
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_TRUE(EndsWith(kept[0], " 保存継続.mdb")) << kept[0];
  EXPECT_EQ(Generation(kept[0]), "old\r\n");
  EXPECT_TRUE(EndsWith(kept[1], " 保存終了.mdb")) << kept[1];
  EXPECT_EQ(Generation(kept[1]), "old\r\nedit\r\n");
  for (const std::string& name : kept) {
    const DWORD attributes = ::GetFileAttributesA((history_ + "\\" + name).c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) << name;
  }
  // The record of runs beside the settings file names each step.
  const std::string log = ReadBytes(box_.Path("Quandrel.LOG")).value_or("");
  EXPECT_NE(log.find("\t保存継続\t" + db_ + ".BAK\t" + history_ + "\\"), std::string::npos) << log;
  EXPECT_NE(log.find("\t履歴の削除\t" + history_ + "\\"), std::string::npos) << log;
  EXPECT_NE(log.find("\t起動前の控え\t" + db_ + "\t" + db_ + ".TMP\t成功\r\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("失敗"), std::string::npos) << log;
}

TEST_F(HistoryE2E, ADiscardKeepsTheDiscardedChanges) {
  box_.WriteIni("[Execute]\nDBPath=顧客表.mdb\n[System]\nHistory=10\n");
  HWND main = RunOnce();
  ASSERT_NE(main, nullptr);
  DiscardAnsweringYes(main);

  EXPECT_EQ(File(""), std::string("old\r\n"));
  EXPECT_EQ(File(".BAK"), std::string("bak0\r\n"));
  const std::vector<std::string> kept = Generations();
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_TRUE(EndsWith(kept[0], " 破棄終了.mdb")) << kept[0];
  EXPECT_EQ(Generation(kept[0]), "old\r\nedit\r\n");
}

// History 0 (the key missing): a save & continue and a discard leave the
// folder with exactly the files a launcher without history leaves.
TEST_F(HistoryE2E, HistoryOffLeavesExactlyTheUsualFiles) {
  box_.WriteIni("[Execute]\nDBPath=顧客表.mdb\n");
  HWND main = RunOnce();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(PressButton(main, "保存継続(&S)"));
  main = EndRun();
  ASSERT_NE(main, nullptr);
  DiscardAnsweringYes(main);

  EXPECT_EQ(File(""), std::string("old\r\nedit\r\n"));
  EXPECT_EQ(File(".BAK"), std::string("old\r\n"));
  std::vector<std::string> names = FolderEntries(box_.Dir());
  std::sort(names.begin(), names.end());
  // The stand-in notes its command lines in "<target>.cmdline".
  std::vector<std::string> usual = {"Quandrel.INI", "Quandrel.exe", "顧客表.mdb", "顧客表.mdb.BAK",
                                    "顧客表.mdb.cmdline"};
  std::sort(usual.begin(), usual.end());
  EXPECT_EQ(names, usual);
}

}  // namespace
}  // namespace qtest
