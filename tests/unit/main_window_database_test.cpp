// The main window with a real database kind of target: a snapshot left by
// a run that never ended is asked about before the start, a run that leaves
// the database damaged is reported when it ends, a save of it is asked
// about with "No" first, and a sound database raises none of it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "made_up_database.h"
#include "main_window_fixture.h"

namespace quandrel::testing {
namespace {

using ::testing::ElementsAre;

const char kTarget[] = "D:\\Work\\sales.mdb";
const char kSnapshot[] = "D:\\Work\\sales.mdb.TMP";
const char kBackup[] = "D:\\Work\\sales.mdb.BAK";
const char kAside[] = "D:\\Work\\sales.mdb.20261210-093005.中断前";
const std::string kSound = SoundDatabase("before");
const std::string kChanged = SoundDatabase("after");

class DatabaseTarget : public FormMainTest {
 protected:
  // D:\Work\sales.mdb holds `target`; each program started on it leaves
  // `afterRun` in it (nothing: leaves it as it is).
  void Start(const std::string& target, std::optional<std::string> afterRun) {
    files.Put(kTarget, target);
    Ini("[Execute]\r\nDBPath=sales.mdb\r\n");
    logged.onStart = [this, afterRun](const std::string&) {
      if (afterRun) files.Put(kTarget, *afterRun);
    };
    Create();
  }
  std::vector<std::string> BoxesFrom(std::size_t from) const {
    return std::vector<std::string>(dialogs.shown.begin() + static_cast<std::ptrdiff_t>(from), dialogs.shown.end());
  }
  // The position of the first logged call that starts with `prefix`.
  std::ptrdiff_t At(const std::string& prefix) const {
    auto it = std::find_if(view.calls.begin(), view.calls.end(),
                           [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
    return it == view.calls.end() ? -1 : it - view.calls.begin();
  }
};

TEST_F(DatabaseTarget, ASoundDatabaseRaisesNothingNew) {
  files.Put(kBackup, SoundDatabase("older"));
  Start(kSound, kChanged);
  form->SaveAndExit();
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_TRUE(view.closed);
  EXPECT_EQ(files.Get(kBackup), kSound);
  EXPECT_EQ(files.Get(kTarget), kChanged);
}

TEST_F(DatabaseTarget, ALeftoverSnapshotIsAskedAboutBeforeAnythingStartsAndEnterKeepsIt) {
  files.Put(kSnapshot, kSound);  // the state before a run that never ended
  Start(kChanged, std::nullopt);
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0].buttons, (std::vector<std::string>{"戻す(&R)", "残す(&K)", "中止(&A)"}));
  EXPECT_LT(At("choose: "), At("wait+"));
  EXPECT_LT(At("choose: "), At("start "));
  EXPECT_EQ(files.Get(kAside), kSound);
  EXPECT_EQ(files.Get(kSnapshot), kChanged);  // this run's own, taken after
  EXPECT_TRUE(form->Snapshot().Of(kTarget));
  // Only the question: the run went on as any other.
  EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(DatabaseTarget, StopEndsTheProgramWithoutAStartAndTouchesNothing) {
  files.Put(kSnapshot, kSound);
  dialogs.choices = {2};
  Start(kChanged, std::nullopt);
  EXPECT_TRUE(view.closed);
  EXPECT_EQ(At("start "), -1);
  EXPECT_EQ(At("wait+"), -1);
  EXPECT_EQ(files.Get(kSnapshot), kSound);
  EXPECT_EQ(files.Get(kTarget), kChanged);
}

TEST_F(DatabaseTarget, PutBackStartsOnTheStateBeforeTheRunThatBrokeOff) {
  files.Put(kSnapshot, kSound);
  dialogs.choices = {0};
  Start(kChanged, std::nullopt);
  EXPECT_EQ(files.Get(kTarget), kSound);
  EXPECT_EQ(files.Get(kSnapshot), kSound);
  EXPECT_FALSE(files.Has(kAside));
  EXPECT_NE(At("start "), -1);
}

TEST_F(DatabaseTarget, ARunThatLeavesTheDatabaseDamagedIsReportedWhenItEnds) {
  Start(kSound, "");
  const std::ptrdiff_t error = At("error: ");
  ASSERT_NE(error, -1);
  EXPECT_EQ(view.calls[static_cast<std::size_t>(error)],
            "error: D:\\Work\\sales.mdb が壊れている可能性があります。\n\nファイルが空です（0 バイト）。\n\n"
            "今回の起動前の状態が控え D:\\Work\\sales.mdb.TMP に残っています。\n"
            "破棄終了でその状態に戻すか、修復をお試しください。");
  // Told once the main window is back, not before.
  EXPECT_LT(At("main show"), error);
  EXPECT_LT(At("tray-"), error);
}

TEST_F(DatabaseTarget, ASaveOfADamagedDatabaseIsAskedWithNoFirst) {
  Start(kSound, "");
  const std::size_t boxes = dialogs.shown.size();

  // Enter answers No: nothing is saved and the window stays.
  form->SaveAndExit();
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0].buttons, (std::vector<std::string>{"はい(&Y)", "いいえ(&N)"}));
  EXPECT_EQ(dialogs.asked[0].enterButton, 1);
  EXPECT_EQ(dialogs.asked[0].escapeButton, 1);
  EXPECT_THAT(BoxesFrom(boxes), ElementsAre("choose: " + dialogs.asked[0].text, "message: 保存を中止しました"));
  EXPECT_FALSE(view.closed);
  EXPECT_EQ(files.Get(kSnapshot), kSound);

  // Save & continue the same, before the tray entry.
  const std::size_t calls = view.calls.size();
  form->SaveAndContinue();
  EXPECT_EQ(dialogs.shown.back(), "message: 保存を中止しました");
  EXPECT_EQ(std::count_if(view.calls.begin() + static_cast<std::ptrdiff_t>(calls), view.calls.end(),
                          [](const std::string& c) { return c.rfind("tray+", 0) == 0; }),
            0);

  // Yes saves: the sound snapshot becomes the backup copy.
  dialogs.choices = {0};
  form->SaveAndExit();
  EXPECT_TRUE(view.closed);
  EXPECT_EQ(files.Get(kBackup), kSound);
  EXPECT_EQ(files.Get(kTarget), "");
}

TEST_F(DatabaseTarget, TheSettingsSaveKeepsTheSoundSnapshotOfADamagedDatabaseAsTheBackup) {
  Start(kSound, "");
  form->EnterSettingsMode();
  form->SaveSettings();
  EXPECT_FALSE(files.Has(kSnapshot));
  EXPECT_EQ(files.Get(kBackup), kSound);
  EXPECT_FALSE(form->Snapshot().taken);
}

TEST_F(DatabaseTarget, AnAccdbTargetIsSnapshottedAndSavedLikeAnMdb) {
  registry.SetKey(Hive::ClassesRoot, ".accdb", "Access.Application");
  files.Put("D:\\Work\\SALES.ACCDB", kSound);
  Ini("[Execute]\r\nDBPath=SALES.ACCDB\r\n");
  logged.onStart = [this](const std::string&) { files.Put("D:\\Work\\SALES.ACCDB", kChanged); };
  Create();
  EXPECT_EQ(files.Get("D:\\Work\\SALES.ACCDB.TMP"), kSound);
  EXPECT_TRUE(view.IsVisible(Control::BitBtnAcExit));
  EXPECT_TRUE(view.IsVisible(Control::BitBtnAcCompact));
  form->SaveAndExit();
  EXPECT_TRUE(view.closed);
  EXPECT_EQ(files.Get("D:\\Work\\SALES.ACCDB.BAK"), kSound);
  EXPECT_FALSE(files.Has("D:\\Work\\SALES.ACCDB.TMP"));
}

}  // namespace
}  // namespace quandrel::testing
