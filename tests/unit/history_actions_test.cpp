// The end-of-run actions and the leftover question with history on: each
// keeps the state it replaces as a generation, the generations are pruned
// to the setting, every step is in the record of runs; with history off the
// files are exactly those of a launcher without history.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fakes/fake_files.h"
#include "fakes/fake_platform.h"
#include "history/generations.h"
#include "history/run_log.h"
#include "launch/end_of_run.h"
#include "launch/leftover_snapshot.h"
#include "made_up_database.h"
#include "platform/os_errors.h"
#include "text/messages.h"
#include "text/sjis.h"

namespace quandrel {
namespace {

using fakes::FakeFiles;
using fakes::FakeSystem;
using testing::SoundDatabase;
using testing::TagOf;

const char kTarget[] = "D:\\販売\\表\\SALES.MDB";
const char kFolder[] = "D:\\販売\\表\\SALES.MDB の履歴";
const char kIni[] = "D:\\Work\\Quandrel.INI";
const char kLog[] = "D:\\Work\\Quandrel.LOG";

enum class Action { Discard, SaveAndExit, SaveAndContinue, SettingsSave };

// After a run: the target holds its changes ("new"), the snapshot the state
// before the run ("old"), the backup copy that of the save before ("older").
struct HistoryOn : ::testing::Test {
  FakeFiles files;
  FakeSystem system;
  RunFiles run = RunFilesFor(kTarget);
  RunSnapshot taken{true, kTarget};
  SnapshotHold hold;

  void SetUp() override {
    files.Put(run.target, SoundDatabase("new"));
    files.Put(run.snapshot, SoundDatabase("old"));
    files.Put(run.backup, SoundDatabase("older"));
    system.fileTimeStamp = "20261211-093000";
    system.computerName = "PC-UKETSUKE";
    system.userName = "sato";
  }

  // Runs one action the way the main window does; returns its error boxes.
  std::vector<std::string> Do(Action action, int keep) {
    history::RunLog log(files, system, kIni, keep > 0);
    const HistoryKeeping history{keep, &log};
    switch (action) {
      case Action::Discard: return RestoreSnapshot(files, system, run, taken, &hold, history).errors;
      case Action::SaveAndExit: return KeepChanges(files, system, run, taken, &hold, history).errors;
      case Action::SaveAndContinue: {
        ContinueOutcome out = SaveAndSnapshot(files, system, run, taken, nullptr, &hold, history);
        taken = out.snapshot;
        return out.errors;
      }
      case Action::SettingsSave: return DropSnapshot(files, system, run, taken, &hold, history);
    }
    return {};
  }

  std::string Tag(const std::string& path) const { return TagOf(files.Get(path).value_or("")); }
  // "<reason word>:<tag>" of each generation, newest first.
  std::vector<std::string> Generations() {
    std::vector<std::string> out;
    for (const history::Generation& g : history::List(files, kTarget)) {
      out.push_back(std::string(history::ReasonWord(g.reason)) + ":" + Tag(g.path));
    }
    return out;
  }
};

TEST_F(HistoryOn, EachActionKeepsTheStateItReplaces) {
  struct Case {
    Action action;
    const char* generation;  // what the history holds afterwards
    const char* target;
    const char* snapshot;    // "" when gone
    const char* backup;
  } cases[] = {
      {Action::Discard, "破棄終了:new", "old", "", "older"},
      {Action::SaveAndExit, "保存終了:older", "new", "", "old"},
      {Action::SaveAndContinue, "保存継続:older", "new", "new", "old"},
      {Action::SettingsSave, "設定保存:old", "new", "", "older"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.generation);
    files = FakeFiles();
    SetUp();
    taken = RunSnapshot{true, kTarget};
    ASSERT_TRUE(hold.Take(files, run.snapshot));

    EXPECT_TRUE(Do(c.action, 10).empty());

    EXPECT_EQ(Generations(), std::vector<std::string>{c.generation});
    EXPECT_EQ(Tag(run.target), c.target);
    EXPECT_EQ(Tag(run.snapshot), c.snapshot);
    EXPECT_EQ(Tag(run.backup), c.backup);
    const std::vector<history::Generation> all = history::List(files, kTarget);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_TRUE(files.ReadOnly(all[0].path));
    EXPECT_EQ(all[0].path.rfind(std::string(kFolder) + "\\20261211-093000 ", 0), 0u) << all[0].path;
    // The record names the computer and user whose run made the generation.
    const auto makers = history::MakersFromLog(files, kIni);
    const auto maker = makers.find(text::UpperAscii(all[0].path));
    ASSERT_NE(maker, makers.end());
    EXPECT_EQ(maker->second.computer, "PC-UKETSUKE");
    EXPECT_EQ(maker->second.user, "sato");
    hold.LetGo();
  }
}

TEST_F(HistoryOn, ThreeSavesWithTwoKeptPruneTheOldest) {
  const char* const stamps[] = {"20261211-090000", "20261211-120000", "20261211-170000"};
  for (int i = 0; i < 3; ++i) {
    system.fileTimeStamp = stamps[i];
    taken = RunSnapshot{true, kTarget};
    files.Put(run.snapshot, SoundDatabase("run" + std::to_string(i)));
    ASSERT_TRUE(Do(Action::SaveAndExit, 2).empty());
  }
  // The backup copies before the 2nd and 3rd saves; that before the 1st is gone.
  EXPECT_EQ(Generations(), (std::vector<std::string>{"保存終了:run1", "保存終了:run0"}));
  EXPECT_EQ(Tag(run.backup), "run2");
  EXPECT_FALSE(files.Has(std::string(kFolder) + "\\20261211-090000 保存終了.MDB"));
}

// With History 0 every action leaves exactly the files it always left: no
// history folder, no record of runs.
TEST_F(HistoryOn, OffLeavesNoFolderAndNoLog) {
  for (Action action : {Action::Discard, Action::SaveAndExit, Action::SaveAndContinue, Action::SettingsSave}) {
    files = FakeFiles();
    SetUp();
    taken = RunSnapshot{true, kTarget};
    EXPECT_TRUE(Do(action, 0).empty());
    EXPECT_FALSE(files.HasFolder(kFolder));
    EXPECT_FALSE(files.Has(kLog));
    for (const std::string& path : files.List()) {
      EXPECT_TRUE(path == run.target || path == run.snapshot || path == run.backup) << path;
    }
  }
}

// When the state can't be set aside, the action does nothing and says so:
// the window stays, and the snapshot is still there for the next try.
TEST_F(HistoryOn, AStateThatCanNotBeKeptStopsTheAction) {
  for (Action action : {Action::Discard, Action::SaveAndExit, Action::SaveAndContinue, Action::SettingsSave}) {
    files = FakeFiles();
    SetUp();
    taken = RunSnapshot{true, kTarget};
    ASSERT_TRUE(hold.Take(files, run.snapshot));
    files.MakeFolderReadOnly("D:\\販売\\表");  // the history folder can't be made

    const std::vector<std::string> errors = Do(action, 10);

    ASSERT_FALSE(errors.empty());
    EXPECT_NE(errors[0].find("を履歴に残せません"), std::string::npos) << errors[0];
    EXPECT_EQ(Tag(run.target), "new");
    EXPECT_EQ(Tag(run.snapshot), "old");
    EXPECT_EQ(Tag(run.backup), "older");
    // The run still holds its snapshot: no other run can take it meanwhile.
    if (action != Action::SettingsSave) {
      EXPECT_TRUE(files.Held(run.snapshot));
    }
    hold.LetGo();
  }
}

TEST_F(HistoryOn, AFailedReplaceBringsTheKeptStateBack) {
  struct Case {
    Action action;
    std::string replaced;  // the name the state was set aside from
    const char* failure;   // what the user is told first
  } cases[] = {{Action::SaveAndExit, run.backup, "を更新できません"}, {Action::Discard, run.target, "元に戻せません"}};
  for (const Case& c : cases) {
    // A clean run first, to learn which disk call moves the snapshot.
    files = FakeFiles();
    SetUp();
    taken = RunSnapshot{true, kTarget};
    Do(c.action, 10);
    const std::vector<std::string>& calls = files.Log();
    const auto replace = std::find_if(calls.begin(), calls.end(),
                                      [](const std::string& call) { return call.rfind("Replace", 0) == 0; });
    ASSERT_NE(replace, calls.end());
    const int replaceCall = static_cast<int>(replace - calls.begin()) + 1;

    files = FakeFiles();
    SetUp();
    taken = RunSnapshot{true, kTarget};
    ASSERT_TRUE(hold.Take(files, run.snapshot));
    // The move into the history works; the move of the snapshot onto the
    // freed name fails.
    files.FailCall(replaceCall, os_error::kAccessDenied);

    const std::vector<std::string> errors = Do(c.action, 10);

    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find(c.failure), std::string::npos) << errors[0];
    EXPECT_EQ(Tag(run.target), "new");
    EXPECT_EQ(Tag(run.snapshot), "old");
    EXPECT_EQ(Tag(run.backup), "older");
    EXPECT_TRUE(Generations().empty());
    EXPECT_FALSE(files.ReadOnly(c.replaced));  // back under its name, writable as before
    EXPECT_TRUE(files.Held(run.snapshot));
    hold.LetGo();
  }
}

// A crash's leftover with history on: both answers keep the state they
// replace, in the history, and the question says where.
TEST(LeftoverWithHistory, BothAnswersKeepTheReplacedState) {
  struct Case {
    int button;          // 0 put back, 1 keep aside
    const char* target;
    const char* generation;
  } cases[] = {{0, "before", "復元前:now"}, {1, "now", "中断:before"}};
  for (const Case& c : cases) {
    FakeFiles files;
    fakes::FakeDialogs dialogs;
    FakeSystem system;
    system.fileTimeStamp = "20261211-080000";
    const RunFiles run = RunFilesFor(kTarget);
    files.Put(run.target, SoundDatabase("now"));
    files.Put(run.snapshot, SoundDatabase("before"));
    dialogs.choices.push_back(c.button);
    history::RunLog log(files, system, kIni, true);

    const LeftoverOutcome out = ResolveLeftoverSnapshot(files, dialogs, system, run, {10, &log});

    EXPECT_TRUE(out.start);
    EXPECT_TRUE(out.errors.empty());
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_NE(dialogs.asked[0].text.find("履歴 SALES.MDB の履歴 に残し"), std::string::npos);
    EXPECT_EQ(TagOf(files.Get(run.target).value_or("")), c.target);
    EXPECT_FALSE(files.Has(run.snapshot));
    const std::vector<history::Generation> all = history::List(files, kTarget);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(std::string(history::ReasonWord(all[0].reason)) + ":" + TagOf(files.Get(all[0].path).value_or("")),
              c.generation);
    // Nothing is left under the old aside names.
    for (const std::string& path : files.List()) EXPECT_EQ(path.find(".中断前"), std::string::npos) << path;
  }
}

}  // namespace
}  // namespace quandrel
