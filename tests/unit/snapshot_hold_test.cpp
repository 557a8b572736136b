// Two runs on one target: the run that owns the snapshot holds it, so the
// other run cannot put its own in its place, while the owner's own steps
// (discard, save & exit, save & continue) still work.
#include <gtest/gtest.h>

#include "fakes/fake_files.h"
#include "fakes/fake_platform.h"
#include "launch/end_of_run.h"
#include "launch/snapshot.h"
#include "made_up_database.h"
#include "text/messages.h"

namespace quandrel {
namespace {

using fakes::FakeFiles;
using fakes::FakeSystem;

const char kTarget[] = "D:\\DB\\SALES.MDB";
const char kInUseText[] = "プロセスはファイルに";

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

struct TwoRuns : ::testing::Test {
  FakeFiles files;
  FakeSystem system;
  RunFiles run = RunFilesFor(kTarget);
  SnapshotHold first, second;
  RunSnapshot firstState;

  // The first run takes its snapshot of "v1"; its program then changes the
  // target to "v2", and the second run starts on the same target.
  void SetUp() override {
    files.Put(run.target, "v1");
    files.Put(run.backup, "older");
    SnapshotResult taken = TakeSnapshot(files, run, nullptr, &first);
    ASSERT_TRUE(taken.result);
    firstState = SnapshotState(run, taken);
    ASSERT_TRUE(first.Held());
    files.Put(run.target, "v2");
  }
};

TEST_F(TwoRuns, TheSecondRunCannotReplaceTheFirstRunsSnapshotAndIsToldWhy) {
  SnapshotResult taken = TakeSnapshot(files, run, nullptr, &second);
  EXPECT_FALSE(taken.result);
  EXPECT_EQ(taken.result.error, os_error::kSharingViolation);
  EXPECT_EQ(taken.failedPath, run.snapshot);
  EXPECT_FALSE(second.Held());
  EXPECT_FALSE(SnapshotState(run, taken).taken);  // the second run goes on without one
  EXPECT_EQ(files.Get(run.snapshot), std::optional<std::string>("v1"));
  EXPECT_FALSE(files.Has(run.snapshot + ".part"));
  const std::string told = SnapshotFailureMessage(system, run, taken);
  EXPECT_EQ(told.rfind(run.target + " の控えを取れません\n\n" + run.snapshot + "\n", 0), 0u) << told;
  EXPECT_TRUE(Contains(told, kInUseText)) << told;
}

TEST_F(TwoRuns, NoOtherRunCanWriteRenameOrDeleteAHeldSnapshotButAllMayRead) {
  files.Put("D:\\DB\\OTHER", "x");
  EXPECT_FALSE(files.Remove(run.snapshot));
  EXPECT_FALSE(files.Replace("D:\\DB\\OTHER", run.snapshot));
  EXPECT_FALSE(files.Move(run.snapshot, "D:\\DB\\MOVED"));
  EXPECT_FALSE(files.Replace(run.snapshot, run.target));
  EXPECT_FALSE(files.Copy(run.target, run.snapshot, {}));
  EXPECT_FALSE(files.WriteNew(run.snapshot, "x"));
  std::string bytes;
  EXPECT_TRUE(files.Read(run.snapshot, &bytes));
  EXPECT_TRUE(files.Copy(run.snapshot, "D:\\DB\\COPY", {}));
  EXPECT_EQ(files.Get(run.snapshot), std::optional<std::string>("v1"));
  EXPECT_EQ(files.Get(run.target), std::optional<std::string>("v2"));
}

TEST_F(TwoRuns, TheFirstRunsStepsWorkAfterTheSecondWasRefused) {
  ASSERT_FALSE(TakeSnapshot(files, run, nullptr, &second).result);

  {
    SCOPED_TRACE("discard");
    FakeFiles saved = files;
    EndOutcome out = RestoreSnapshot(files, system, run, firstState, &first);
    EXPECT_TRUE(out.closeWindow);
    EXPECT_TRUE(out.errors.empty());
    EXPECT_EQ(files.Get(run.target), std::optional<std::string>("v1"));
    EXPECT_FALSE(files.Has(run.snapshot));
    EXPECT_EQ(files.Get(run.backup), std::optional<std::string>("older"));
    files = saved;
    first.Take(files, run.snapshot);
  }
  {
    SCOPED_TRACE("save & exit");
    FakeFiles saved = files;
    EndOutcome out = KeepChanges(files, system, run, firstState, &first);
    EXPECT_TRUE(out.closeWindow);
    EXPECT_TRUE(out.errors.empty());
    EXPECT_EQ(files.Get(run.target), std::optional<std::string>("v2"));
    EXPECT_EQ(files.Get(run.backup), std::optional<std::string>("v1"));
    EXPECT_FALSE(files.Has(run.snapshot));
    files = saved;
    first.Take(files, run.snapshot);
  }
  {
    SCOPED_TRACE("save & continue");
    ContinueOutcome out = SaveAndSnapshot(files, system, run, firstState, nullptr, &first);
    EXPECT_TRUE(out.relaunch);
    EXPECT_TRUE(out.errors.empty());
    EXPECT_TRUE(out.snapshot.taken);
    EXPECT_EQ(files.Get(run.backup), std::optional<std::string>("v1"));
    EXPECT_EQ(files.Get(run.snapshot), std::optional<std::string>("v2"));
    // The fresh snapshot is held again: the second run still can't replace it.
    EXPECT_TRUE(first.Held());
    files.Put(run.target, "v3");
    EXPECT_FALSE(TakeSnapshot(files, run, nullptr, &second).result);
    EXPECT_EQ(files.Get(run.snapshot), std::optional<std::string>("v2"));
  }
}

TEST_F(TwoRuns, AMoveThatFailsTakesHoldAgainAndLosesNothing) {
  struct Case {
    const char* action;
    std::string locked;
  } cases[] = {{"discard", run.target}, {"save & exit", run.backup}, {"save & continue", run.backup}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.action);
    files.Lock(c.locked);  // open elsewhere
    const std::string action = c.action;
    std::vector<std::string> errors;
    if (action == "discard") {
      EndOutcome out = RestoreSnapshot(files, system, run, firstState, &first);
      EXPECT_FALSE(out.closeWindow);
      errors = out.errors;
    } else if (action == "save & exit") {
      EndOutcome out = KeepChanges(files, system, run, firstState, &first);
      EXPECT_FALSE(out.closeWindow);
      errors = out.errors;
    } else {
      ContinueOutcome out = SaveAndSnapshot(files, system, run, firstState, nullptr, &first);
      EXPECT_FALSE(out.relaunch);
      EXPECT_TRUE(out.snapshot.taken);
      errors = out.errors;
    }
    EXPECT_EQ(errors.size(), 1u);
    files.Unlock(c.locked);
    EXPECT_EQ(files.Get(run.target), std::optional<std::string>("v2"));
    EXPECT_EQ(files.Get(run.snapshot), std::optional<std::string>("v1"));
    EXPECT_EQ(files.Get(run.backup), std::optional<std::string>("older"));
    // Held again, so the second run is still kept off it.
    EXPECT_TRUE(first.Held());
    EXPECT_FALSE(TakeSnapshot(files, run, nullptr, &second).result);
    EXPECT_EQ(files.Get(run.snapshot), std::optional<std::string>("v1"));
  }
}

TEST_F(TwoRuns, AHoldThatCannotBeTakenAgainIsReportedAndTheSnapshotIsNoLongerUsed) {
  const char* actions[] = {"discard", "save & exit", "save & continue"};
  for (const std::string action : actions) {
    SCOPED_TRACE(action);
    FakeFiles saved = files;
    // Something opens the snapshot alone the moment the run lets go of it:
    // the move fails, and so does taking hold again.
    files.Lock(run.snapshot, os_error::kAccessDenied);
    RunSnapshot kept = firstState;
    std::vector<std::string> errors;
    if (action == "discard") {
      EndOutcome out = RestoreSnapshot(files, system, run, firstState, &first);
      EXPECT_FALSE(out.closeWindow);
      EXPECT_TRUE(out.snapshotLost);
      errors = out.errors;
    } else if (action == "save & exit") {
      EndOutcome out = KeepChanges(files, system, run, firstState, &first);
      EXPECT_FALSE(out.closeWindow);
      EXPECT_TRUE(out.snapshotLost);
      errors = out.errors;
    } else {
      ContinueOutcome out = SaveAndSnapshot(files, system, run, firstState, nullptr, &first);
      EXPECT_FALSE(out.relaunch);
      kept = out.snapshot;
      errors = out.errors;
    }
    if (action != "save & continue") kept = RunSnapshot{};  // what the caller keeps after snapshotLost
    EXPECT_FALSE(kept.taken);
    EXPECT_FALSE(first.Held());
    ASSERT_EQ(errors.size(), 2u);  // the failed move, then the lost hold
    EXPECT_EQ(errors[1].rfind(run.target + " の控えを確保できなくなりました\n\n" + run.snapshot + "\n", 0), 0u)
        << errors[1];
    EXPECT_EQ(files.Get(run.snapshot), std::optional<std::string>("v1"));

    // Another run now puts its own snapshot there; a later discard of this
    // run must not put that copy over the target.
    files.Unlock(run.snapshot);
    files.Put(run.target, "v2-other");
    ASSERT_TRUE(TakeSnapshot(files, run, nullptr, &second).result);
    files.Put(run.target, "v3");
    EndOutcome discard = RestoreSnapshot(files, system, run, kept, &first);
    EXPECT_FALSE(discard.closeWindow);
    EXPECT_EQ(discard.errors.size(), 1u);
    EXPECT_EQ(files.Get(run.target), std::optional<std::string>("v3"));
    EXPECT_EQ(files.Get(run.snapshot), std::optional<std::string>("v2-other"));

    second.LetGo();
    files = saved;
    ASSERT_TRUE(first.Take(files, run.snapshot));
  }
}

// A file system on which no file can be held.
class UnholdableFiles : public FakeFiles {
 public:
  OsResult Hold(const std::string&, std::unique_ptr<FileHold>* hold) override {
    hold->reset();
    return OsResult::Failure(os_error::kAccessDenied);
  }
};

TEST(SnapshotHoldTest, ASnapshotThatCannotBeHeldCountsAsNotTakenAndStaysOnDisk) {
  UnholdableFiles files;
  RunFiles run = RunFilesFor(kTarget);
  files.Put(run.target, "v1");
  SnapshotHold hold;
  SnapshotResult taken = TakeSnapshot(files, run, nullptr, &hold);
  EXPECT_FALSE(taken.result);
  EXPECT_EQ(taken.result.error, os_error::kAccessDenied);
  EXPECT_EQ(taken.failedPath, run.snapshot);
  EXPECT_FALSE(SnapshotState(run, taken).taken);
  // Not removed: by now it may be another run's snapshot.
  EXPECT_EQ(files.Get(run.snapshot), std::optional<std::string>("v1"));
  EXPECT_EQ(files.Get(run.target), std::optional<std::string>("v1"));
}

TEST(SnapshotHoldTest, LettingGoFreesTheFileForOthers) {
  FakeFiles files;
  files.Put("D:\\A", "a");
  SnapshotHold hold;
  ASSERT_TRUE(hold.Take(files, "D:\\A"));
  EXPECT_TRUE(files.Held("d:\\a"));
  hold.LetGo();
  EXPECT_FALSE(files.Held("D:\\A"));
  EXPECT_TRUE(files.Remove("D:\\A"));
  EXPECT_FALSE(hold.Take(files, "D:\\A"));  // gone: nothing to hold
  EXPECT_FALSE(hold.Held());
}

}  // namespace
}  // namespace quandrel

namespace quandrel {
namespace {

// A sound snapshot under the snapshot's name that this run does not hold
// (left by a run that never ended, or this run's own after its hold was
// lost) is never replaced by a fresh snapshot: it may be the only copy of
// that state.
TEST(SnapshotNotThisRunsTest, ASoundSnapshotThisRunDoesNotHoldIsKept) {
  using testing::SoundDatabase;
  fakes::FakeFiles files;
  fakes::FakeSystem system;
  const RunFiles run = RunFilesFor("D:\\DB\\SALES.MDB");
  files.Put(run.target, SoundDatabase("now"));
  files.Put(run.snapshot, SoundDatabase("before the crash"));
  SnapshotHold hold;
  const SnapshotResult taken = TakeSnapshot(files, run, nullptr, &hold);
  EXPECT_FALSE(taken.result);
  EXPECT_FALSE(SnapshotState(run, taken).taken);
  EXPECT_EQ(files.Get(run.snapshot), SoundDatabase("before the crash"));
  EXPECT_FALSE(files.Has(run.snapshot + ".part"));
  EXPECT_EQ(SnapshotFailureMessage(system, run, taken),
            messages::Fill(messages::kSnapshotNotThisRuns, {run.target, run.snapshot}));

  // Held by this run, it is replaced as always.
  ASSERT_TRUE(hold.Take(files, run.snapshot));
  ASSERT_TRUE(TakeSnapshot(files, run, nullptr, &hold).result);
  EXPECT_EQ(files.Get(run.snapshot), SoundDatabase("now"));
}

}  // namespace
}  // namespace quandrel
