#include "launch/end_of_run.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "fakes/fake_files.h"
#include "fakes/fake_platform.h"
#include "made_up_database.h"
#include "platform/failure_message.h"

namespace quandrel {
namespace {

using fakes::FakeFiles;
using fakes::FakeSystem;

const char kTarget[] = "D:\\DB\\SALES.MDB";
const char kDiskFullText[] = "ディスクに十分な空き領域がありません。";
const char kInUseText[] = "プロセスはファイルにアクセスできません。別のプロセスが使用中です。";
const char kNotFoundText[] = "指定されたファイルが見つかりません。";

class RecordingWait : public WaitWindow {
 public:
  int updates = 0;
  void ShowProgress(std::uint64_t, std::uint64_t) override { ++updates; }
};

// After the launched program ended: the target holds the changes ("new"),
// the snapshot the data from before the launch ("old"), the backup copy the
// data of the previous save ("older") or nothing yet.
struct EndOfRun : ::testing::Test {
  FakeFiles files;
  FakeSystem system;
  RunFiles run = RunFilesFor(kTarget);
  RunSnapshot taken{true, kTarget};

  void SetUpFiles(bool withBackup) {
    files.Put(run.target, "new");
    files.Put(run.snapshot, "old");
    if (withBackup) files.Put(run.backup, "older");
  }
  void SetUp() override { SetUpFiles(true); }

  std::optional<std::string> Target() const { return files.Get(run.target); }
  std::optional<std::string> Snapshot() const { return files.Get(run.snapshot); }
  std::optional<std::string> Backup() const { return files.Get(run.backup); }

  void ExpectUntouched(std::optional<std::string> backupBefore) {
    EXPECT_EQ(Target(), "new");
    EXPECT_EQ(Snapshot(), "old");
    EXPECT_EQ(Backup(), backupBefore);
  }
};

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST_F(EndOfRun, SuccessEndStates) {
  struct Case {
    const char* action;
    bool withBackup;
  } cases[] = {{"discard", true}, {"discard", false}, {"save & exit", true},
               {"save & exit", false}, {"save & continue", true}, {"save & continue", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.action) + (c.withBackup ? ", with backup" : ", first save"));
    files = FakeFiles();
    SetUpFiles(c.withBackup);
    std::optional<std::string> backupBefore = Backup();
    std::string action = c.action;
    if (action == "discard") {
      EndOutcome out = RestoreSnapshot(files, system, run, taken);
      EXPECT_TRUE(out.closeWindow);
      EXPECT_TRUE(out.errors.empty());
      EXPECT_EQ(Target(), "old");
      EXPECT_EQ(Snapshot(), std::nullopt);
      EXPECT_EQ(Backup(), backupBefore);
    } else if (action == "save & exit") {
      EndOutcome out = KeepChanges(files, system, run, taken);
      EXPECT_TRUE(out.closeWindow);
      EXPECT_TRUE(out.errors.empty());
      EXPECT_EQ(Target(), "new");
      EXPECT_EQ(Snapshot(), std::nullopt);
      EXPECT_EQ(Backup(), "old");
    } else {
      RecordingWait wait;
      ContinueOutcome out = SaveAndSnapshot(files, system, run, taken, &wait);
      EXPECT_TRUE(out.relaunch);
      EXPECT_TRUE(out.errors.empty());
      EXPECT_TRUE(out.snapshot.Of(kTarget));
      EXPECT_EQ(Target(), "new");
      EXPECT_EQ(Snapshot(), "new");
      EXPECT_EQ(Backup(), "old");
      EXPECT_GT(wait.updates, 0);
    }
    // Nothing but the three files is left behind, and nothing is deleted
    // on its own: every step is a replacing move or a copy.
    for (const std::string& name : files.List())
      EXPECT_TRUE(name == run.target || name == run.snapshot || name == run.backup) << name;
    for (const std::string& call : files.Log()) EXPECT_EQ(call.rfind("Remove", 0), std::string::npos) << call;
  }
}

// Every disk call of each action, failing once or for good: whatever fails,
// no data is lost and the outcome says what happened.
TEST_F(EndOfRun, NoDataLostWhenAnyDiskCallFails) {
  enum Action { kDiscard, kSaveExit, kSaveContinue };
  for (Action action : {kDiscard, kSaveExit, kSaveContinue}) {
    for (bool withBackup : {true, false}) {
      files = FakeFiles();
      SetUpFiles(withBackup);
      auto runAction = [&](std::vector<std::string>* errors) -> bool {
        if (action == kDiscard) {
          EndOutcome out = RestoreSnapshot(files, system, run, taken);
          *errors = out.errors;
          return out.closeWindow;
        }
        if (action == kSaveExit) {
          EndOutcome out = KeepChanges(files, system, run, taken);
          *errors = out.errors;
          return out.closeWindow;
        }
        ContinueOutcome out = SaveAndSnapshot(files, system, run, taken, nullptr);
        *errors = out.errors;
        if (out.relaunch) {
          // The new run has a snapshot exactly when one is on disk.
          EXPECT_EQ(out.snapshot.Of(kTarget), Snapshot().has_value());
        } else {
          EXPECT_TRUE(out.snapshot.Of(kTarget));  // still this run's
        }
        return out.relaunch;
      };
      std::vector<std::string> errors;
      ASSERT_TRUE(runAction(&errors));
      const int calls = files.DiskCalls();

      for (bool forGood : {false, true}) {
        for (int k = 1; k <= calls + 1; ++k) {
          SCOPED_TRACE("action " + std::to_string(action) + (withBackup ? " with backup" : " first save") +
                       ", call " + std::to_string(k) + (forGood ? " fails for good" : " fails once"));
          files = FakeFiles();
          SetUpFiles(withBackup);
          const std::optional<std::string> backupBefore = Backup();
          files.FailCall(k, os_error::kDiskFull, forGood);
          const bool goesOn = runAction(&errors);
          const bool failed = k <= calls;

          // "old" is kept somewhere; "older" goes only when "old" took its place.
          EXPECT_TRUE(Target() == "old" || Snapshot() == "old" || Backup() == "old");
          if (Backup() != backupBefore) {
            EXPECT_EQ(Backup(), "old");
          }
          // A partial copy never stands under the snapshot's name.
          if (Snapshot()) {
            EXPECT_TRUE(Snapshot() == "old" || Snapshot() == "new");
          }

          if (action == kDiscard) {
            EXPECT_EQ(goesOn, !failed);
            if (goesOn) {
              EXPECT_EQ(Target(), "old");
              EXPECT_EQ(Snapshot(), std::nullopt);
              EXPECT_EQ(Backup(), backupBefore);
            } else {
              ExpectUntouched(backupBefore);
            }
          } else {
            EXPECT_EQ(Target(), "new");
          }
          if (action == kSaveExit) {
            EXPECT_EQ(goesOn, !failed);
            if (!goesOn) ExpectUntouched(backupBefore);
          }
          if (action == kSaveContinue) {
            // Only the move into the backup copy (the first call) stops the relaunch.
            EXPECT_EQ(goesOn, k != 1);
            if (!goesOn) ExpectUntouched(backupBefore);
            if (goesOn) {
              EXPECT_EQ(Backup(), "old");
              EXPECT_TRUE(Snapshot() == std::nullopt || Snapshot() == "new");
              // Once the failure has passed, the partial copy is cleared away.
              if (!forGood) {
                EXPECT_FALSE(files.Has(run.snapshot + ".part"));
              }
            }
          }

          if (failed) {
            ASSERT_EQ(errors.size(), 1u);
            EXPECT_TRUE(Contains(errors[0], kDiskFullText)) << errors[0];
            EXPECT_TRUE(Contains(errors[0], kTarget)) << errors[0];
          } else {
            EXPECT_TRUE(errors.empty());
          }
        }
      }
    }
  }
}

TEST_F(EndOfRun, DiscardKeepsChangesWhenTargetIsOpenElsewhere) {
  files.Lock(run.target);
  EndOutcome out = RestoreSnapshot(files, system, run, taken);
  EXPECT_FALSE(out.closeWindow);
  ExpectUntouched("older");
  ASSERT_EQ(out.errors.size(), 1u);
  EXPECT_EQ(out.errors[0], std::string(kTarget) + " を元に戻せません\n\n" + kInUseText);

  // Once the other program lets go, a second try puts the snapshot back.
  files.Unlock(run.target);
  out = RestoreSnapshot(files, system, run, taken);
  EXPECT_TRUE(out.closeWindow);
  EXPECT_EQ(Target(), "old");
}

TEST_F(EndOfRun, SavesStayInEndModeWhenBackupCannotBeReplaced) {
  files.Lock(run.backup);
  EndOutcome exitOut = KeepChanges(files, system, run, taken);
  EXPECT_FALSE(exitOut.closeWindow);
  ExpectUntouched("older");
  ASSERT_EQ(exitOut.errors.size(), 1u);
  EXPECT_EQ(exitOut.errors[0], run.backup + " を更新できません\n\n" + kInUseText);

  // The fresh snapshot would overwrite the one still waiting to become the
  // backup copy, so save & continue goes back to end mode instead.
  ContinueOutcome contOut = SaveAndSnapshot(files, system, run, taken, nullptr);
  EXPECT_FALSE(contOut.relaunch);
  EXPECT_TRUE(contOut.snapshot.Of(kTarget));
  ExpectUntouched("older");
  ASSERT_EQ(contOut.errors.size(), 1u);
  EXPECT_TRUE(Contains(contOut.errors[0], run.backup));
}

// Runs whose snapshot can't be used: none taken, or taken of a target the
// settings have changed since, or its file gone. A ".TMP" file beside the
// target is then a stray one and must not be put anywhere.
TEST_F(EndOfRun, WithoutThisRunsSnapshotNoFileIsRotated) {
  struct Case {
    const char* name;
    RunSnapshot state;
    bool fileThere;
    std::string namedFile;
    std::string reason;
  } cases[] = {
      {"none taken", RunSnapshot{}, true, kTarget, "今回の起動時に取った控えのファイルがありません。"},
      {"other target", RunSnapshot{true, "D:\\DB\\OTHER.MDB"}, true, kTarget,
       "今回の起動時に取った控えのファイルがありません。"},
      {"same file, other spelling", RunSnapshot{true, "d:\\db\\sales.mdb"}, true, kTarget,
       "今回の起動時に取った控えのファイルがありません。"},
      {"file gone", taken, false, run.snapshot, kNotFoundText},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto reset = [&] {
      files = FakeFiles();
      SetUpFiles(true);
      if (!c.fileThere) files.Remove(run.snapshot);
    };
    const std::optional<std::string> snapshotBefore = c.fileThere ? std::optional<std::string>("old") : std::nullopt;

    reset();
    EndOutcome discard = RestoreSnapshot(files, system, run, c.state);
    EXPECT_FALSE(discard.closeWindow);
    EXPECT_EQ(Target(), "new");
    EXPECT_EQ(Snapshot(), snapshotBefore);
    EXPECT_EQ(Backup(), "older");
    ASSERT_EQ(discard.errors.size(), 1u);
    EXPECT_EQ(discard.errors[0].rfind(c.namedFile + " ", 0), 0u) << discard.errors[0];
    EXPECT_TRUE(Contains(discard.errors[0], c.reason));

    // Save & exit: the target has the changes already; the user is told
    // the backup copy stayed as it was, and the program may end.
    reset();
    EndOutcome exit = KeepChanges(files, system, run, c.state);
    EXPECT_TRUE(exit.closeWindow);
    EXPECT_EQ(Target(), "new");
    EXPECT_EQ(Snapshot(), snapshotBefore);
    EXPECT_EQ(Backup(), "older");
    ASSERT_EQ(exit.errors.size(), 1u);
    EXPECT_TRUE(Contains(exit.errors[0], c.reason));
    EXPECT_TRUE(Contains(exit.errors[0], "データベースの変更はそのまま保存されています。"));

    // Save & continue: backup copy kept, and the new run gets a snapshot.
    reset();
    ContinueOutcome cont = SaveAndSnapshot(files, system, run, c.state, nullptr);
    EXPECT_TRUE(cont.relaunch);
    EXPECT_TRUE(cont.snapshot.Of(kTarget));
    EXPECT_EQ(Target(), "new");
    EXPECT_EQ(Snapshot(), "new");
    EXPECT_EQ(Backup(), "older");
    ASSERT_EQ(cont.errors.size(), 1u);
    EXPECT_TRUE(Contains(cont.errors[0], c.reason));
  }
}

TEST_F(EndOfRun, SaveAndContinueTwiceKeepsDataOfFirstPressAsBackup) {
  ContinueOutcome first = SaveAndSnapshot(files, system, run, taken, nullptr);
  ASSERT_TRUE(first.relaunch);
  files.Put(run.target, "newer");  // the relaunched program's work

  ContinueOutcome second = SaveAndSnapshot(files, system, run, first.snapshot, nullptr);
  EXPECT_TRUE(second.relaunch);
  EXPECT_TRUE(second.errors.empty());
  EXPECT_EQ(Backup(), "new");
  EXPECT_EQ(Snapshot(), "newer");
  EXPECT_EQ(Target(), "newer");
}

TEST_F(EndOfRun, FreshSnapshotFailureLeavesNewRunWithoutSnapshot) {
  struct Case {
    int failingCall;
    std::string failedFileLine;
  } cases[] = {
      {2, ""},                                   // the copy
      {3, std::string(kTarget) + ".TMP\n"},  // the move into place
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failingCall);
    files = FakeFiles();
    SetUpFiles(true);
    files.FailCall(c.failingCall);
    ContinueOutcome out = SaveAndSnapshot(files, system, run, taken, nullptr);
    EXPECT_TRUE(out.relaunch);
    EXPECT_FALSE(out.snapshot.taken);
    EXPECT_EQ(Backup(), "old");
    EXPECT_EQ(Target(), "new");
    EXPECT_FALSE(files.Has(run.snapshot));
    EXPECT_FALSE(files.Has(run.snapshot + ".part"));
    ASSERT_EQ(out.errors.size(), 1u);
    EXPECT_EQ(out.errors[0], std::string(kTarget) + " の控えを取れません\n\n" + c.failedFileLine + kDiskFullText +
                                 "\n\nこのまま開きますが、次の破棄終了では元に戻せません。");

    // In that run discard & exit refuses, and the target keeps its data.
    EndOutcome discard = RestoreSnapshot(files, system, run, out.snapshot);
    EXPECT_FALSE(discard.closeWindow);
    EXPECT_EQ(Target(), "new");
  }
}

// ---------------------------------------------------------------------------
// A database that fails the check: what the run's end says, what a save
// asks, and that a save never gives up a sound backup copy for it.

using testing::SoundDatabase;

const std::string kSoundOld = SoundDatabase("old");
const std::string kSoundOlder = SoundDatabase("older");
const char kEmptyReason[] = "ファイルが空です（0 バイト）。";
const char kAside[] = "D:\\DB\\SALES.MDB.20261210-093005.読めない控え";

struct DamagedDatabase : EndOfRun {
  // target, snapshot, backup; nullopt: no such file.
  void Lay(std::optional<std::string> target, std::optional<std::string> snapshot,
           std::optional<std::string> backup) {
    files = FakeFiles();
    if (target) files.Put(run.target, *target);
    if (snapshot) files.Put(run.snapshot, *snapshot);
    if (backup) files.Put(run.backup, *backup);
  }
};

TEST_F(DamagedDatabase, TheRunsEndAndTheSaveSpeakOnlyWhenASoundVersionIsThereToGoBackTo) {
  const std::string damagedWithSnapshot =
      std::string(kTarget) + " が壊れている可能性があります。\n\n" + kEmptyReason + "\n\n今回の起動前の状態が控え " +
      kTarget + ".TMP に残っています。\n破棄終了でその状態に戻すか、修復をお試しください。";
  const std::string damagedWithBackup =
      std::string(kTarget) + " が壊れている可能性があります。\n\n" + kEmptyReason + "\n\n前回保存した状態がバックアップ " +
      kTarget + ".BAK に残っています。\n修復をお試しいただくか、使い方ガイドの「.BAK から手で元に戻す」の手順で戻してください。";
  const std::string question = std::string(kTarget) + " が壊れている可能性があります。\n\n" + kEmptyReason +
                               "\n\nこのまま保存しますか？\n（正常な控えとバックアップは消さずに残します）";
  struct Case {
    const char* name;
    std::optional<std::string> target, snapshot, backup;
    std::string report;
    bool asks;
  } cases[] = {
      {"sound target", SoundDatabase("new"), kSoundOld, kSoundOlder, "", false},
      {"sound target, damaged copies", SoundDatabase("new"), "", "", "", false},
      {"damaged, snapshot sound", "", kSoundOld, kSoundOlder, damagedWithSnapshot, true},
      {"damaged, snapshot sound, no backup", "", kSoundOld, std::nullopt, damagedWithSnapshot, true},
      {"damaged, only the backup sound", "", "", kSoundOlder, damagedWithBackup, true},
      {"damaged, no snapshot, backup sound", "", std::nullopt, kSoundOlder, damagedWithBackup, true},
      // Nothing sound was ever beside it: not a database this program knew.
      {"no sound version anywhere", "new", "old", "older", "", false},
      {"nothing but the target", "", std::nullopt, std::nullopt, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Lay(c.target, c.snapshot, c.backup);
    EXPECT_EQ(DamagedTargetReport(files, system, run), c.report);
    EXPECT_EQ(DamagedSaveQuestion(files, system, run), c.asks ? question : "");
    EXPECT_EQ(files.DiskCalls(), 0);  // looking changes nothing
  }
  // A target the run removed is named with the platform's reason.
  Lay(std::nullopt, kSoundOld, std::nullopt);
  EXPECT_TRUE(Contains(DamagedTargetReport(files, system, run), "ファイルを読めません。" + std::string(kNotFoundText)));
}

TEST_F(DamagedDatabase, ASaveKeepsTheSoundBackupAndSetsTheUnsoundSnapshotAside) {
  const std::string told = "今回の起動前の控え " + run.snapshot +
                           " はデータベースとして読めないため、バックアップにしませんでした。\n\n" + kEmptyReason +
                           "\n\n正常なバックアップ " + run.backup + " はそのまま残し、読めない控えは " + kAside +
                           " という名前で残しました。\nデータベースの変更はそのまま保存されています。";
  // Save & exit.
  Lay("", "", kSoundOlder);
  SnapshotHold hold;
  ASSERT_TRUE(hold.Take(files, run.snapshot));
  EndOutcome exit = KeepChanges(files, system, run, taken, &hold);
  EXPECT_TRUE(exit.closeWindow);
  EXPECT_EQ(exit.errors, std::vector<std::string>{told});
  EXPECT_EQ(Backup(), kSoundOlder);
  EXPECT_EQ(Snapshot(), std::nullopt);
  EXPECT_EQ(files.Get(kAside), "");
  EXPECT_EQ(Target(), "");
  EXPECT_FALSE(hold.Held());

  // Save & continue: the same, then a fresh snapshot for the new run.
  Lay("", "", kSoundOlder);
  ContinueOutcome cont = SaveAndSnapshot(files, system, run, taken, nullptr);
  EXPECT_TRUE(cont.relaunch);
  EXPECT_TRUE(cont.snapshot.Of(kTarget));
  EXPECT_EQ(cont.errors, std::vector<std::string>{told});
  EXPECT_EQ(Backup(), kSoundOlder);
  EXPECT_EQ(Snapshot(), "");
  EXPECT_EQ(files.Get(kAside), "");
}

TEST_F(DamagedDatabase, OtherwiseTheSnapshotBecomesTheBackupAsAlways) {
  struct Case {
    const char* name;
    std::optional<std::string> snapshot, backup;
  } cases[] = {
      {"sound over sound", kSoundOld, kSoundOlder},
      {"sound over damaged", kSoundOld, ""},
      {"damaged over damaged", "", "older"},
      {"damaged, first save", "", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Lay("", c.snapshot, c.backup);
    EndOutcome out = KeepChanges(files, system, run, taken);
    EXPECT_TRUE(out.closeWindow);
    EXPECT_TRUE(out.errors.empty());
    EXPECT_EQ(Backup(), c.snapshot);
    EXPECT_EQ(Snapshot(), std::nullopt);
  }
}

TEST_F(DamagedDatabase, ASnapshotThatCannotBeSetAsideStaysAndTheWindowStays) {
  struct Case {
    const char* name;
    std::function<void()> obstruct;
    std::string reason;
  } cases[] = {
      {"the move fails", [&] { files.FailCall(1); }, kDiskFullText},
      {"the name is taken", [&] { files.Put(kAside, "someone's"); }, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Lay("", "", kSoundOlder);
    c.obstruct();
    SnapshotHold hold;
    ASSERT_TRUE(hold.Take(files, run.snapshot));
    EndOutcome exit = KeepChanges(files, system, run, taken, &hold);
    EXPECT_FALSE(exit.closeWindow);
    ASSERT_EQ(exit.errors.size(), 1u);
    EXPECT_EQ(exit.errors[0].rfind(run.snapshot + " を " + kAside + " という名前で残せません\n\n", 0), 0u)
        << exit.errors[0];
    EXPECT_TRUE(Contains(exit.errors[0], c.reason));
    EXPECT_EQ(Snapshot(), "");
    EXPECT_EQ(Backup(), kSoundOlder);
    EXPECT_TRUE(hold.Held());  // still this run's, kept from others

    // Save & continue stops before its fresh snapshot could replace it.
    Lay("", "", kSoundOlder);
    c.obstruct();
    ContinueOutcome cont = SaveAndSnapshot(files, system, run, taken, nullptr);
    EXPECT_FALSE(cont.relaunch);
    EXPECT_EQ(cont.errors.size(), 1u);
    EXPECT_EQ(Snapshot(), "");
    EXPECT_EQ(Backup(), kSoundOlder);
  }
}

TEST_F(DamagedDatabase, AFreshSnapshotNeverReplacesASoundOneWithADamagedCopy) {
  // A stray snapshot beside the target (a run that never ended, or this
  // run's own after the settings save kept it): sound, while the target
  // fails the check.
  Lay("", kSoundOld, std::nullopt);
  SnapshotResult taken = TakeSnapshot(files, run, nullptr);
  EXPECT_FALSE(taken.result);
  EXPECT_TRUE(taken.keptSound);
  EXPECT_FALSE(SnapshotState(run, taken).taken);
  EXPECT_EQ(Snapshot(), kSoundOld);
  EXPECT_FALSE(files.Has(run.snapshot + ".part"));
  EXPECT_EQ(SnapshotFailureMessage(system, run, taken),
            std::string(kTarget) + " の控えを取れません\n\n控え " + run.snapshot +
                " は正常なデータベースで、今のデータベースは読めないため、控えを置き換えずに残しました。\n\n"
                "このまま開きますが、次の破棄終了では元に戻せません。");

  // A sound target, or a snapshot that fails the check too, is copied as always.
  Lay(SoundDatabase("new"), kSoundOld, std::nullopt);
  EXPECT_TRUE(TakeSnapshot(files, run, nullptr).result);
  EXPECT_EQ(Snapshot(), SoundDatabase("new"));
  Lay("", "stale", std::nullopt);
  EXPECT_TRUE(TakeSnapshot(files, run, nullptr).result);
  EXPECT_EQ(Snapshot(), "");
}

TEST_F(DamagedDatabase, TheSettingsSaveRemovesTheSnapshotUnlessItIsTheSoundVersionToKeep) {
  struct Case {
    const char* name;
    std::optional<std::string> target, snapshot;
    RunSnapshot state;
    std::optional<std::string> snapshotAfter, backupAfter;
  } cases[] = {
      {"sound target", SoundDatabase("new"), kSoundOld, taken, std::nullopt, kSoundOlder},
      {"nothing sound", "new", "old", taken, std::nullopt, kSoundOlder},
      {"both damaged", "", "", taken, std::nullopt, kSoundOlder},
      // The newest sound version: this run's becomes the backup copy ...
      {"this run's, sound, target damaged", "", kSoundOld, taken, std::nullopt, kSoundOld},
      // ... and a stray one stays for the next start to ask about.
      {"stray, sound, target damaged", "", kSoundOld, RunSnapshot{}, kSoundOld, kSoundOlder},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Lay(c.target, c.snapshot, kSoundOlder);
    SnapshotHold hold;
    ASSERT_TRUE(hold.Take(files, run.snapshot));
    const std::vector<std::string> errors = DropSnapshot(files, system, run, c.state, &hold);
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(Snapshot(), c.snapshotAfter);
    EXPECT_EQ(Backup(), c.backupAfter);
    EXPECT_EQ(Target(), c.target);
  }
}

TEST(FileFailureMessageTest, NamesFileThenPhraseThenReason) {
  FakeSystem system;
  EXPECT_EQ(FileFailureMessage(system, "%s に書き込めません\n\n%s", "D:\\表\\A.MDB", OsResult::Failure(os_error::kAccessDenied)),
            "D:\\表\\A.MDB に書き込めません\n\nアクセスが拒否されました。");
  // A code the platform has no words for is given by its number.
  EXPECT_EQ(FileFailureMessage(system, "%s に書き込めません\n\n%s", "A.MDB", OsResult::Failure(1784)),
            "A.MDB に書き込めません\n\nエラー番号 1784");
}

TEST(SnapshotStateTest, FollowsTheTakeResult) {
  RunFiles run = RunFilesFor(kTarget);
  EXPECT_TRUE(SnapshotState(run, SnapshotResult{OsResult::Success(), ""}).Of(kTarget));
  RunSnapshot failed = SnapshotState(run, SnapshotResult{OsResult::Failure(os_error::kDiskFull), kTarget});
  EXPECT_FALSE(failed.taken);
  EXPECT_FALSE(failed.Of(""));
}

}  // namespace
}  // namespace quandrel

namespace quandrel {
namespace {

// A target whose snapshot name would pass the longest path the file
// functions take: no copy is started, so nothing can be left behind, and the
// message says that the name is too long. Double-byte characters count one,
// as they do for the platform.
struct LongPathCase {
  const char* name;
  std::string folder;  // the name part of the target is "S.MDB"
  bool taken;
};

class SnapshotPathLengthTest : public ::testing::TestWithParam<LongPathCase> {};

// "D:\" + folder + "\S.MDB.TMP.part" is 3 + n + 15 characters long.
const std::string kAscii259 = std::string(259 - 18, 'a');
const std::string kAscii260 = std::string(260 - 18, 'a');
std::string Repeat(const std::string& s, int n) {
  std::string r;
  for (int i = 0; i < n; ++i) r += s;
  return r;
}

TEST_P(SnapshotPathLengthTest, TooLongANameIsRefusedBeforeAnyCopy) {
  const LongPathCase& c = GetParam();
  fakes::FakeFiles files;
  fakes::FakeSystem system;
  const RunFiles run = RunFilesFor("D:\\" + c.folder + "\\S.MDB");
  files.Put(run.target, "db");
  const int callsBefore = files.DiskCalls();
  const SnapshotResult taken = TakeSnapshot(files, run, nullptr);
  EXPECT_EQ(static_cast<bool>(taken.result), c.taken);
  if (c.taken) {
    EXPECT_EQ(files.Get(run.snapshot), std::optional<std::string>("db"));
    return;
  }
  EXPECT_EQ(files.DiskCalls(), callsBefore);
  EXPECT_FALSE(files.Has(run.snapshot + ".part"));
  EXPECT_FALSE(files.Has(run.snapshot));
  EXPECT_EQ(SnapshotFailureMessage(system, run, taken),
            run.target + " の控えを取れません\n\n控えのファイル名が長すぎます:\n" + run.snapshot +
                "\n\nデータベースを、もっと短いパスのフォルダーに置いてください。\n"
                "このまま開きますが、次の破棄終了では元に戻せません。");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SnapshotPathLengthTest,
    ::testing::Values(LongPathCase{"fits", kAscii259, true}, LongPathCase{"one_too_long", kAscii260, false},
                      // 241 characters in 482 bytes: fits, although longer than 259 bytes
                      LongPathCase{"double_byte_fits", Repeat("表", 241), true},
                      LongPathCase{"double_byte_too_long", Repeat("表", 242), false}),
    [](const ::testing::TestParamInfo<LongPathCase>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace quandrel

namespace quandrel {
namespace {

// The database's folder goes away during the run (a network drive dropped)
// and may come back later with every file in it.
struct FolderAway : ::testing::Test {
  fakes::FakeFiles files;
  fakes::FakeSystem system;
  RunFiles run = RunFilesFor("D:\\DB\\SALES.MDB");
  SnapshotHold hold;
  RunSnapshot state;

  void SetUp() override {
    files.Put(run.target, "before");
    files.Put(run.backup, "older");
    SnapshotResult taken = TakeSnapshot(files, run, nullptr, &hold);
    ASSERT_TRUE(taken.result);
    state = SnapshotState(run, taken);
    files.Put(run.target, "edited");
    files.TakeFolderAway("D:\\DB");
  }
  void ExpectEveryFileKept() {
    EXPECT_EQ(files.Get(run.target), std::optional<std::string>("edited"));
    EXPECT_EQ(files.Get(run.snapshot), std::optional<std::string>("before"));
    EXPECT_EQ(files.Get(run.backup), std::optional<std::string>("older"));
  }
};

const char kNotFound[] =
    "D:\\DB\\SALES.MDB が見つかりません\n\nドライブかフォルダーの接続が切れているかもしれません。"
    "どのファイルにも手を付けていません。\n接続が戻ってから、もう一度ボタンを押してください。";

TEST_F(FolderAway, SaveAndExitSaysTheDatabaseIsNotFoundAndStays) {
  EndOutcome out = KeepChanges(files, system, run, state, &hold);
  EXPECT_FALSE(out.closeWindow);
  EXPECT_EQ(out.errors, std::vector<std::string>{kNotFound});
  ExpectEveryFileKept();
}

TEST_F(FolderAway, SaveAndContinueTouchesNothingAndDoesNotRelaunch) {
  ContinueOutcome out = SaveAndSnapshot(files, system, run, state, nullptr, &hold);
  EXPECT_FALSE(out.relaunch);
  EXPECT_TRUE(out.snapshot.Of(run.target));
  EXPECT_EQ(out.errors, std::vector<std::string>{kNotFound});
  ExpectEveryFileKept();
}

// Pressed while the folder was away, then again once it is back: the run
// goes on with its own snapshot as if it had never been away.
TEST_F(FolderAway, OnceBackTheRunsOwnSnapshotBecomesTheBackup) {
  ContinueOutcome away = SaveAndSnapshot(files, system, run, state, nullptr, &hold);
  ASSERT_FALSE(away.relaunch);
  files.BringFolderBack("D:\\DB");
  ContinueOutcome back = SaveAndSnapshot(files, system, run, away.snapshot, nullptr, &hold);
  EXPECT_TRUE(back.relaunch);
  EXPECT_TRUE(back.errors.empty()) << back.errors.front();
  EXPECT_EQ(files.Get(run.backup), std::optional<std::string>("before"));
  EXPECT_EQ(files.Get(run.snapshot), std::optional<std::string>("edited"));
  EXPECT_TRUE(hold.Held());
  EndOutcome exit = KeepChanges(files, system, run, back.snapshot, &hold);
  EXPECT_TRUE(exit.closeWindow);
  EXPECT_EQ(files.Get(run.backup), std::optional<std::string>("edited"));
}

TEST_F(FolderAway, DiscardWhileAwayKeepsEveryFile) {
  EndOutcome out = RestoreSnapshot(files, system, run, state, &hold);
  EXPECT_FALSE(out.closeWindow);
  ASSERT_EQ(out.errors.size(), 1u);
  ExpectEveryFileKept();
}

}  // namespace
}  // namespace quandrel
