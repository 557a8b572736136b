// The end-of-run buttons of the main window: what they ask, which files they
// hand to the rotation, and how they close, stay or relaunch.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "main_window_fixture.h"

namespace quandrel::testing {
namespace {

using C = Control;
using ::testing::ElementsAre;

const char kTarget[] = "D:\\Work\\sales.mdb";
const char kSnapshot[] = "D:\\Work\\sales.mdb.TMP";
const char kBackup[] = "D:\\Work\\sales.mdb.BAK";

class EndOfRunTest : public FormMainTest {
 protected:
  void SetUp() override {
    files.Put(kBackup, "older");
    CreateWithSales();
    ASSERT_EQ(files.Get(kSnapshot), std::optional<std::string>("old"));
    mark = view.calls.size();
    boxes = dialogs.shown.size();
    diskCalls = files.DiskCalls();
  }
  std::optional<std::string> Get(const char* path) { return files.Get(path); }
  std::vector<std::string> NewBoxes() const {
    return std::vector<std::string>(dialogs.shown.begin() + static_cast<std::ptrdiff_t>(boxes), dialogs.shown.end());
  }
  const std::string relaunch = "start " + std::string(kAccess) + " \"D:\\Work\\sales.mdb\"";
  std::size_t mark = 0, boxes = 0;
  int diskCalls = 0;
};

TEST_F(EndOfRunTest, DiscardAnsweredNoTouchesNothingAndSaysSo) {
  form->DiscardAndExit();  // the fake answers No
  EXPECT_THAT(NewBoxes(), ElementsAre("confirm: 本当にデータベースの更新分を\n破棄してよろしいですか？",
                                      "message: 破棄終了を中止しました"));
  EXPECT_EQ(files.DiskCalls(), diskCalls);
  EXPECT_EQ(Get(kTarget), std::optional<std::string>("new"));
  EXPECT_FALSE(view.closed);
}

TEST_F(EndOfRunTest, DiscardAnsweredYesPutsTheSnapshotBackAndCloses) {
  dialogs.answers = {Answer::Yes};
  form->DiscardAndExit();
  EXPECT_EQ(Get(kTarget), std::optional<std::string>("old"));
  EXPECT_FALSE(files.Has(kSnapshot));
  EXPECT_EQ(Get(kBackup), std::optional<std::string>("older"));
  EXPECT_TRUE(view.closed);
  EXPECT_EQ(NewBoxes().size(), 1u);  // the question only
}

TEST_F(EndOfRunTest, DiscardThatCannotRestoreShowsWhyAndStays) {
  files.Lock(kTarget);  // still open elsewhere
  dialogs.answers = {Answer::Yes};
  form->DiscardAndExit();
  EXPECT_FALSE(view.closed);
  ASSERT_EQ(NewBoxes().size(), 2u);
  EXPECT_EQ(NewBoxes()[1].rfind("error: D:\\Work\\sales.mdb ", 0), 0u);
  EXPECT_EQ(Get(kSnapshot), std::optional<std::string>("old"));
}

TEST_F(EndOfRunTest, ADiscardThatLosesItsHoldForgetsTheSnapshot) {
  files.Lock(kSnapshot, os_error::kAccessDenied);  // opened alone by someone else
  dialogs.answers = {Answer::Yes};
  form->DiscardAndExit();
  EXPECT_FALSE(view.closed);
  EXPECT_EQ(NewBoxes().size(), 3u);  // the question, the failed move, the lost hold
  EXPECT_FALSE(form->Snapshot().taken);

  // Another run's snapshot in its place is never put back by this run.
  files.Unlock(kSnapshot);
  files.Put(kSnapshot, "other run");
  dialogs.answers = {Answer::Yes};
  form->DiscardAndExit();
  EXPECT_EQ(Get(kTarget), std::optional<std::string>("new"));
  EXPECT_EQ(Get(kSnapshot), std::optional<std::string>("other run"));
  EXPECT_FALSE(view.closed);
}

TEST_F(EndOfRunTest, AnotherRunOnTheSameTargetCannotReplaceTheSnapshotTheDiscardPutsBack) {
  // Another launcher with the same target starts now and tries its snapshot.
  EXPECT_TRUE(files.Held(kSnapshot));
  SnapshotHold other;
  EXPECT_FALSE(TakeSnapshot(files, RunFilesFor(kTarget), nullptr, &other).result);
  EXPECT_EQ(Get(kSnapshot), std::optional<std::string>("old"));

  dialogs.answers = {Answer::Yes};
  form->DiscardAndExit();
  EXPECT_EQ(Get(kTarget), std::optional<std::string>("old"));
  EXPECT_FALSE(files.Has(kSnapshot));
  EXPECT_TRUE(view.closed);
}

TEST_F(EndOfRunTest, SaveAndExitMakesTheSnapshotTheBackupAndCloses) {
  form->SaveAndExit();
  EXPECT_EQ(Get(kTarget), std::optional<std::string>("new"));
  EXPECT_EQ(Get(kBackup), std::optional<std::string>("old"));
  EXPECT_FALSE(files.Has(kSnapshot));
  EXPECT_TRUE(view.closed);
  EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(EndOfRunTest, SaveAndContinueRotatesBehindTheWaitWindowThenRelaunches) {
  logged.onStart = [this](const std::string&) { files.Put(kTarget, "relaunched"); };
  form->SaveAndContinue();
  EXPECT_THAT(CallsFrom(mark), ElementsAre("tray+ 【】稼働中...", "main hide", "app hide", "wait+", "wait-",
                                           relaunch, "tray-", "app show", "main show", "front"));
  EXPECT_FALSE(view.shell.progress.empty());  // the copy showed its progress
  EXPECT_EQ(Get(kBackup), std::optional<std::string>("old"));
  EXPECT_EQ(Get(kSnapshot), std::optional<std::string>("new"));  // taken before the relaunch
  EXPECT_EQ(Get(kTarget), std::optional<std::string>("relaunched"));
  EXPECT_TRUE(form->Snapshot().Of(kTarget));
  EXPECT_EQ(processes.released, 2);
  EXPECT_FALSE(view.closed);

  // A second save moves the backup one generation on.
  form->SaveAndContinue();
  EXPECT_EQ(Get(kBackup), std::optional<std::string>("new"));
  EXPECT_EQ(Get(kSnapshot), std::optional<std::string>("relaunched"));
}

TEST_F(EndOfRunTest, SaveAndContinueReportsAFailedSnapshotBeforeTheRelaunch) {
  files.MakeFolderReadOnly("D:\\Work");  // the fresh copy can't be written
  form->SaveAndContinue();
  const std::vector<std::string> calls = CallsFrom(mark);
  auto error = std::find_if(calls.begin(), calls.end(), [](const std::string& c) { return c.rfind("error: ", 0) == 0; });
  auto start = std::find(calls.begin(), calls.end(), relaunch);
  ASSERT_NE(error, calls.end());
  ASSERT_NE(start, calls.end());
  EXPECT_LT(error, start);
  EXPECT_EQ(Get(kBackup), std::optional<std::string>("old"));
  EXPECT_FALSE(form->Snapshot().taken);
}

TEST_F(EndOfRunTest, SaveAndContinueThatCannotKeepTheBackupComesBackWithoutRelaunching) {
  files.Lock(kBackup);
  form->SaveAndContinue();
  EXPECT_EQ(processes.started.size(), 1u);  // the first launch only
  EXPECT_EQ(Get(kSnapshot), std::optional<std::string>("old"));
  EXPECT_TRUE(form->Snapshot().Of(kTarget));
  const std::vector<std::string> calls = CallsFrom(mark);
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[calls.size() - 2], "front");  // back in end mode, then told why
  EXPECT_EQ(calls.back().rfind("error: ", 0), 0u);
}

TEST_F(EndOfRunTest, RestartTouchesNoFileAndShowsNoWaitWindow) {
  form->Restart();
  EXPECT_THAT(CallsFrom(mark), ElementsAre("tray+ 【】稼働中...", "main hide", "app hide", relaunch, "tray-",
                                           "app show", "main show", "front"));
  EXPECT_EQ(files.DiskCalls(), diskCalls);
  EXPECT_EQ(processes.started.back().shape, StartupShape::Maximized);
}

TEST_F(EndOfRunTest, ExitClosesAndTouchesNoFile) {
  form->ExitWithoutAction();
  EXPECT_TRUE(view.closed);
  EXPECT_EQ(files.DiskCalls(), diskCalls);
}

TEST_F(EndOfRunTest, RelaunchTakesTheTargetFromTheFieldAndTheCommandFoundAtStart) {
  files.Put("D:\\Data\\other.xyz", "x");
  form->EnterSettingsMode();
  Type(C::EditDBpath, "D:\\Data\\other.xyz");
  form->SaveSettings();
  form->Restart();
  EXPECT_EQ(processes.started.back().commandLine, std::string(kAccess) + " \"D:\\Data\\other.xyz\"");
  EXPECT_EQ(registry.opened.size(), 3u);  // looked up once, at start-up
}

TEST_F(FormMainTest, RelaunchOfAProgramFileUsesItsQuotedPathAlone) {
  files.Put("D:\\Work\\tool.EXE", "MZ");
  Ini("[Execute]\r\nDBPath=tool.EXE\r\n");
  Create();
  form->Restart();
  ASSERT_EQ(processes.started.size(), 2u);
  EXPECT_EQ(processes.started[1].commandLine, "\"D:\\Work\\tool.EXE\"");
}

TEST_F(FormMainTest, RestartWithoutATargetSaysSoAndStartsNothing) {
  Create();
  const std::size_t mark = view.calls.size();
  form->Restart();
  EXPECT_TRUE(processes.started.empty());
  EXPECT_THAT(CallsFrom(mark), ElementsAre("tray+ 【】稼働中...", "main hide", "app hide", NoTargetBox(), "tray-",
                                           "app show", "main show", "front"));
}

TEST_F(EndOfRunTest, ARelaunchThatFailsSaysWhatAndWhyThenComesBackToEndMode) {
  processes.failStartsWith = os_error::kFileNotFound;  // the program has gone since the first start
  form->Restart();
  EXPECT_THAT(CallsFrom(mark), ElementsAre("tray+ 【】稼働中...", "main hide", "app hide", relaunch,
                                           "error: プログラムを起動できません\n\n" + std::string(kAccess) +
                                               " \"D:\\Work\\sales.mdb\"\n\n指定されたファイルが見つかりません。",
                                           "tray-", "app show", "main show", "front"));

  // Save & continue: the files are rotated, the start fails, the new
  // snapshot stays this run's for the next action.
  mark = view.calls.size();
  form->SaveAndContinue();
  const std::vector<std::string> calls = CallsFrom(mark);
  ASSERT_GE(calls.size(), 5u);
  EXPECT_EQ(calls[calls.size() - 5].rfind("error: プログラムを起動できません", 0), 0u);
  EXPECT_EQ(calls.back(), "front");
  EXPECT_EQ(Get(kBackup), std::optional<std::string>("old"));
  EXPECT_TRUE(form->Snapshot().Of(kTarget));
  EXPECT_FALSE(view.closed);
}

}  // namespace
}  // namespace quandrel::testing
