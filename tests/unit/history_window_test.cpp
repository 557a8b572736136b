// The history window's logic over the fake files and a fake view: what it
// lists, and the restore it runs from there.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_files.h"
#include "fakes/fake_history_view.h"
#include "fakes/fake_platform.h"
#include "history/generations.h"
#include "history/run_log.h"
#include "history_window/history_window_logic.h"
#include "text/messages.h"

namespace quandrel {
namespace {

using C = HistoryControl;

// A 0x5C trail byte in the folder ("表") must not split a path.
const char kTarget[] = "D:\\販売表\\SALES.MDB";
const char kBackup[] = "D:\\販売表\\SALES.MDB.BAK";
const char kFolder[] = "D:\\販売表\\SALES.MDB の履歴";
const char kIni[] = "D:\\Work\\Quandrel.INI";

std::string InFolder(const std::string& name) { return std::string(kFolder) + "\\" + name; }

TEST(HistoryTextsTest, DatesAndSizesAsTheListShowsThem) {
  const struct {
    const char* stamp;
    const char* shown;
  } kStamps[] = {
      {"20261210-093005", "2026/12/10 09:30:05"},
      {"", ""},                // a time the platform could not convert
      {"2026121-0930051", "2026121-0930051"},
  };
  for (const auto& c : kStamps) EXPECT_EQ(history::StampAsDateTime(c.stamp), c.shown) << c.stamp;
  const struct {
    std::uint64_t bytes;
    const char* shown;
  } kSizes[] = {
      {0, "0 KB"}, {1, "1 KB"}, {1024, "1 KB"}, {1025, "2 KB"}, {1024ull * 1000, "1,000 KB"},
      {1536ull * 1024 * 1024, "1,572,864 KB"}, {~0ull, "18,014,398,509,481,984 KB"},
  };
  for (const auto& c : kSizes) EXPECT_EQ(SizeInKilobytes(c.bytes), c.shown) << c.bytes;
}

class HistoryWindowTest : public ::testing::Test {
 protected:
  fakes::FakeFiles files;
  fakes::FakeRegistry registry;
  fakes::FakeProcesses processes;
  fakes::FakeDesktop desktop;
  fakes::FakeDialogs dialogs;
  fakes::FakeSystem system;
  fakes::FakeHistoryView view;
  Platform platform{files, registry, processes, desktop, dialogs, system};

  const std::string newest = InFolder("20261210-080000-2 破棄終了.MDB");
  const std::string saved = InFolder("20261210-080000 保存終了.MDB");
  const std::string oldest = InFolder("20261208-080000 復元前.MDB");

  void SetUp() override {
    files.Put(kTarget, "current");
    files.Put(oldest, "monday");
    files.Put(saved, std::string(1025, 's'));
    files.Put(kBackup, "");
    files.Put(newest, "discarded");
    // A file of the user's in the folder is no generation.
    files.Put(InFolder("メモ.txt"), "note");
    for (const std::string& g : {oldest, saved, newest}) files.SetReadOnly(g, true);
    system.stampsOf[files.FindEntries(kBackup).at(0).lastWrite] = "20261209-120000";
  }

  std::unique_ptr<HistoryWindowLogic> Open(int historyCount = 10) {
    auto logic = std::make_unique<HistoryWindowLogic>(platform, view, kTarget, kIni, historyCount);
    logic->ShowHistory();
    return logic;
  }
  int RowOf(const HistoryWindowLogic& logic, const std::string& path) const {
    for (std::size_t i = 0; i < logic.Entries().size(); ++i) {
      if (logic.Entries()[i].path == path) return static_cast<int>(i);
    }
    return -1;
  }
};

TEST_F(HistoryWindowTest, ListsTheBackupCopyAndEveryGenerationNewestFirstWithWhoMadeThem) {
  // The record of runs names who made two of them; the path's letter case
  // in the log does not matter.
  fakes::FakeSystem colleague;
  colleague.computerName = "KEIRI-PC2";
  colleague.userName = "suzuki";
  history::RunLog log(files, colleague, kIni, true);
  log.Step("保存終了", kBackup, "d:\\販売表\\sales.mdb の履歴\\20261210-080000 保存終了.mdb", OsResult::Success());
  history::RunLog mine(files, system, kIni, true);
  mine.Step("保存終了", "D:\\販売表\\SALES.MDB.TMP", kBackup, OsResult::Success());

  auto logic = Open();
  const std::vector<std::vector<std::string>> expected = {
      {"2026/12/10 08:00:00", "破棄終了", "1 KB", "", ""},
      {"2026/12/10 08:00:00", "保存終了", "2 KB", "KEIRI-PC2", "suzuki"},
      {"2026/12/09 12:00:00", kBackupCopyWord, "0 KB", "KEIRI-PC1", "tanaka"},
      {"2026/12/08 08:00:00", "復元前", "1 KB", "", ""},
  };
  ASSERT_EQ(view.rows.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const HistoryRow& r = view.rows[i];
    EXPECT_EQ((std::vector<std::string>{r.when, r.what, r.size, r.computer, r.user}), expected[i]) << "line " << i;
  }
  EXPECT_EQ(logic->Entries()[0].path, newest);
  EXPECT_EQ(logic->Entries()[2].path, kBackup);
  EXPECT_EQ(view.chosen, std::nullopt);
  EXPECT_FALSE(view.IsEnabled(C::BitBtnRestore));
}

TEST_F(HistoryWindowTest, NothingToListWithoutBackupCopyOrFolder) {
  fakes::FakeFiles empty;
  Platform bare{empty, registry, processes, desktop, dialogs, system};
  HistoryWindowLogic logic(bare, view, kTarget, kIni, 10);
  logic.ShowHistory();
  EXPECT_TRUE(view.rows.empty());
  logic.RowChosen(0);
  EXPECT_FALSE(view.IsEnabled(C::BitBtnRestore));
  logic.ControlUsed(C::BitBtnRestore);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(HistoryWindowTest, RestoreButtonFollowsTheChoiceAndCloseCloses) {
  auto logic = Open();
  view.Click(*logic, 1);
  EXPECT_TRUE(view.IsEnabled(C::BitBtnRestore));
  logic->RowChosen(std::nullopt);
  EXPECT_FALSE(view.IsEnabled(C::BitBtnRestore));
  logic->RowChosen(4);  // past the last line
  EXPECT_EQ(logic->Chosen(), std::nullopt);
  EXPECT_FALSE(view.IsEnabled(C::BitBtnRestore));
  logic->ControlUsed(C::BitBtnRestore);
  EXPECT_TRUE(dialogs.asked.empty()) << "nothing chosen: nothing asked";
  logic->ControlUsed(C::BitBtnClose);
  EXPECT_TRUE(view.closed);
}

TEST_F(HistoryWindowTest, ConfirmedRestorePutsTheChosenStateBackBehindAWaitWindow) {
  auto logic = Open(10);
  view.Click(*logic, RowOf(*logic, oldest));
  dialogs.choices = {kConfirmedYes};
  int waitOpenAtMessage = -1;
  dialogs.onShow = [&](const std::string& line) {
    if (line.rfind("message: ", 0) == 0) waitOpenAtMessage = view.waitWindowsOpen;
  };
  logic->ControlUsed(C::BitBtnRestore);

  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0].text, messages::Fill(messages::kRestoreQuestion, {"2026/12/08 08:00:00"}));
  EXPECT_EQ(dialogs.asked[0].enterButton, 1) << "No is the default";
  EXPECT_EQ(dialogs.asked[0].escapeButton, 1);

  EXPECT_EQ(files.Get(kTarget), "monday");
  const std::string keptAs = InFolder("20261210-093005 復元前.MDB");
  EXPECT_EQ(files.Get(keptAs), "current");
  EXPECT_EQ(files.Get(oldest), "monday") << "the state put back stays in the history";
  EXPECT_EQ(view.waitWindowsOpened, 1);
  EXPECT_FALSE(view.progress.empty());
  EXPECT_EQ(waitOpenAtMessage, 0) << "the wait window is gone before the message";
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[1], "message: " + messages::Fill(messages::kRestored, {"2026/12/08 08:00:00", keptAs}));

  // Listed afresh: the state from before the restore is the newest line.
  ASSERT_EQ(view.rows.size(), 5u);
  EXPECT_EQ(logic->Entries()[0].path, keptAs);
  EXPECT_EQ(view.rows[0].what, "復元前");
  EXPECT_EQ(view.rows[0].computer, "KEIRI-PC1") << "the restore is in the record of runs";
  EXPECT_EQ(logic->Chosen(), std::nullopt);
  EXPECT_FALSE(view.IsEnabled(C::BitBtnRestore));
}

TEST_F(HistoryWindowTest, RestoreOfTheBackupCopyPrunesToTheSetting) {
  auto logic = Open(2);
  view.Click(*logic, RowOf(*logic, kBackup));
  dialogs.choices = {kConfirmedYes};
  logic->RestoreChosen();
  EXPECT_EQ(files.Get(kTarget), "");
  EXPECT_EQ(files.Get(kBackup), "") << "the backup copy is copied, never moved";
  const std::vector<history::Generation> left = history::List(files, kTarget);
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[0].reason, history::Reason::BeforeRestore);
  EXPECT_EQ(left[1].path, newest);
  EXPECT_EQ(view.rows.size(), 3u);
}

TEST_F(HistoryWindowTest, WithHistoryOffARestoreRemovesNoGenerationAndWritesNoLog) {
  auto logic = Open(0);
  view.Click(*logic, RowOf(*logic, saved));
  dialogs.choices = {kConfirmedYes};
  logic->RestoreChosen();
  EXPECT_EQ(files.Get(kTarget), std::string(1025, 's'));
  EXPECT_EQ(history::List(files, kTarget).size(), 4u);
  EXPECT_FALSE(files.Has(history::LogPathFor(kIni)));
}

TEST_F(HistoryWindowTest, AnsweringNoChangesNothing) {
  auto logic = Open();
  view.Click(*logic, 0);
  const int calls = files.DiskCalls();
  logic->RestoreChosen();  // the fake's default is the Enter button: No
  EXPECT_EQ(files.DiskCalls(), calls);
  EXPECT_EQ(view.waitWindowsOpened, 0);
  EXPECT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(logic->Chosen(), 0) << "the choice stays for another try";
}

TEST_F(HistoryWindowTest, RefusedWithoutChangeWhileTheDatabaseIsOpenElsewhere) {
  auto logic = Open();
  view.Click(*logic, RowOf(*logic, oldest));
  files.Lock(kTarget);
  dialogs.choices = {kConfirmedYes};
  logic->RestoreChosen();
  files.Unlock(kTarget);
  EXPECT_EQ(files.Get(kTarget), "current");
  EXPECT_EQ(history::List(files, kTarget).size(), 3u);
  EXPECT_FALSE(files.Has(std::string(kTarget) + ".part"));
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[1].rfind("error: ", 0), 0u);
  EXPECT_NE(dialogs.shown[1].find("SALES.MDB"), std::string::npos) << dialogs.shown[1];
  EXPECT_EQ(view.rows.size(), 4u);
}

TEST_F(HistoryWindowTest, AFailedCopyIsReportedAndChangesNothing) {
  auto logic = Open();
  view.Click(*logic, RowOf(*logic, oldest));
  dialogs.choices = {kConfirmedYes};
  files.FailCall(files.DiskCalls() + 1, os_error::kDiskFull);
  logic->RestoreChosen();
  EXPECT_EQ(files.Get(kTarget), "current");
  EXPECT_FALSE(files.Has(std::string(kTarget) + ".part"));
  EXPECT_EQ(history::List(files, kTarget).size(), 3u);
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[1], "error: " + messages::Fill(messages::kCannotRestoreGeneration,
                                                         {"2026/12/08 08:00:00", "ディスクに十分な空き領域がありません。"}));
}

TEST_F(HistoryWindowTest, AChosenStateGoneMeanwhileIsReported) {
  auto logic = Open();
  view.Click(*logic, RowOf(*logic, oldest));
  files.SetReadOnly(oldest, false);
  files.Remove(oldest);
  dialogs.choices = {kConfirmedYes};
  logic->RestoreChosen();
  EXPECT_EQ(files.Get(kTarget), "current");
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_NE(dialogs.shown[1].find("データベースは変わっていません。"), std::string::npos);
  EXPECT_EQ(view.rows.size(), 3u) << "listed afresh without it";
}

}  // namespace
}  // namespace quandrel
