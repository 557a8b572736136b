// A snapshot left by a run that never ended, found at the next start: which
// ones count, the question, and what each answer does to the files.
#include "launch/leftover_snapshot.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fakes/fake_files.h"
#include "fakes/fake_platform.h"
#include "made_up_database.h"

namespace quandrel {
namespace {

using fakes::FakeFiles;
using testing::SoundDatabase;

const char kTarget[] = "D:\\表\\SALES.MDB";
const char kAside[] = "D:\\表\\SALES.MDB.20261210-093005.中断前";
const std::string kBefore = SoundDatabase("before");  // the state before the run that broke off
const std::string kNow = SoundDatabase("now");        // what that run left in the target

struct Leftover : ::testing::Test {
  FakeFiles files;
  fakes::FakeDialogs dialogs;
  fakes::FakeSystem system;
  RunFiles run = RunFilesFor(kTarget);

  void SetUp() override {
    files.Put(run.target, kNow);
    files.Put(run.snapshot, kBefore);
  }
  std::optional<std::string> Target() const { return files.Get(run.target); }
  std::optional<std::string> Snapshot() const { return files.Get(run.snapshot); }
  std::optional<std::string> Aside() const { return files.Get(kAside); }
};

TEST_F(Leftover, OnlyASoundSnapshotThatNothingHasOpenCounts) {
  EXPECT_TRUE(IsLeftoverSnapshot(files, run));

  SnapshotHold running;  // another launcher's run owns it
  ASSERT_TRUE(running.Take(files, run.snapshot));
  EXPECT_FALSE(IsLeftoverSnapshot(files, run));
  running.LetGo();

  files.Lock(run.snapshot);  // some program has it open
  EXPECT_FALSE(IsLeftoverSnapshot(files, run));
  files.Unlock(run.snapshot);

  files.Put(run.snapshot, "stale");  // no database: replaced as any earlier snapshot
  EXPECT_FALSE(IsLeftoverSnapshot(files, run));
  files.Remove(run.snapshot);
  EXPECT_FALSE(IsLeftoverSnapshot(files, run));

  // With nothing left over the start goes on and nothing is asked.
  LeftoverOutcome out = ResolveLeftoverSnapshot(files, dialogs, system, run);
  EXPECT_TRUE(out.start);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Leftover, TheQuestionSaysWhatWasFoundAndEnterLosesNothing) {
  const Choice choice = LeftoverQuestion(run, kAside);
  EXPECT_EQ(choice.text,
            "前回の作業が保存終了・破棄終了で終わっていません（停電、強制終了、ウィンドウを閉じたときなど）。\n\n"
            "D:\\表\\SALES.MDB.TMP に、前回の起動前の状態が残っています。\n\n"
            "戻す：前回の起動前の状態に戻して開きます（前回の作業での変更は消えます）。\n"
            "残す：前回の起動前の状態を SALES.MDB.20261210-093005.中断前 という名前で残し、今の状態のまま開きます。\n"
            "中止：何もせずに終了します。");
  EXPECT_EQ(choice.buttons, (std::vector<std::string>{"戻す(&R)", "残す(&K)", "中止(&A)"}));
  EXPECT_EQ(ChoiceFromButton(choice.enterButton), LeftoverChoice::KeepAside);
  EXPECT_EQ(ChoiceFromButton(choice.escapeButton), LeftoverChoice::Stop);
}

TEST_F(Leftover, EachAnswerOnTheFiles) {
  struct Case {
    const char* name;
    std::optional<int> button;  // nothing: Enter
    bool start;
    std::optional<std::string> target, snapshot, aside;
  } cases[] = {
      {"Enter keeps it aside", std::nullopt, true, kNow, std::nullopt, kBefore},
      {"put back", 0, true, kBefore, std::nullopt, std::nullopt},
      {"keep aside", 1, true, kNow, std::nullopt, kBefore},
      {"stop", 2, false, kNow, kBefore, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    files = FakeFiles();
    SetUp();
    dialogs = fakes::FakeDialogs();
    if (c.button) dialogs.choices = {*c.button};
    // Asked while the snapshot is held: a launcher started meanwhile leaves it be.
    bool heldWhileAsked = false;
    dialogs.onShow = [&](const std::string&) { heldWhileAsked = files.InUse(run.snapshot); };

    LeftoverOutcome out = ResolveLeftoverSnapshot(files, dialogs, system, run);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_TRUE(heldWhileAsked);
    EXPECT_EQ(out.start, c.start);
    EXPECT_TRUE(out.errors.empty());
    EXPECT_EQ(Target(), c.target);
    EXPECT_EQ(Snapshot(), c.snapshot);
    EXPECT_EQ(Aside(), c.aside);
    EXPECT_FALSE(files.Held(run.snapshot));
  }
}

TEST_F(Leftover, AStepThatFailsChangesNothingAndStopsTheStart) {
  // The target open elsewhere: it can't be replaced.
  files.Lock(run.target);
  LeftoverOutcome putBack = SettleLeftover(files, system, run, LeftoverChoice::PutBack, kAside);
  EXPECT_FALSE(putBack.start);
  ASSERT_EQ(putBack.errors.size(), 1u);
  EXPECT_EQ(putBack.errors[0], std::string(kTarget) +
                                   " を元に戻せません\n\nプロセスはファイルにアクセスできません。別のプロセスが使用中です。");
  files.Unlock(run.target);

  // The name it would go by is taken: nothing is ever replaced by a keep aside.
  files.Put(kAside, "another");
  LeftoverOutcome keep = SettleLeftover(files, system, run, LeftoverChoice::KeepAside, kAside);
  EXPECT_FALSE(keep.start);
  ASSERT_EQ(keep.errors.size(), 1u);
  EXPECT_EQ(keep.errors[0].rfind(run.snapshot + " を " + kAside + " という名前で残せません\n\n", 0), 0u)
      << keep.errors[0];

  EXPECT_EQ(Target(), kNow);
  EXPECT_EQ(Snapshot(), kBefore);
  EXPECT_EQ(Aside(), "another");
}

}  // namespace
}  // namespace quandrel
