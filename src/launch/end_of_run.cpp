#include "launch/end_of_run.h"

#include <optional>

#include "platform/failure_message.h"
#include "platform/os_errors.h"
#include "text/messages.h"

namespace quandrel {

namespace {

struct HeldMove {
  OsResult moved;
  OsResult heldAgain = OsResult::Success();  // failed: the run no longer holds its snapshot
};

enum class MoveKind { Replacing, ToNewName };

// Moves this run's snapshot onto `dst` in one step: replacing dst, or only
// to a name nothing has yet. The hold is let go just before (it would
// refuse the move) and taken again when the move fails, since the snapshot
// then stays and is still needed.
HeldMove MoveHeldSnapshot(Files& files, const RunFiles& run, const std::string& dst, SnapshotHold* hold,
                          MoveKind kind = MoveKind::Replacing) {
  if (hold) hold->LetGo();
  HeldMove result{kind == MoveKind::Replacing ? files.Replace(run.snapshot, dst) : files.Move(run.snapshot, dst)};
  if (!result.moved && hold) result.heldAgain = hold->Take(files, run.snapshot);
  return result;
}

// A snapshot the run could not take hold of again may be replaced by
// another run at any moment: it is no longer this run's, and the user
// learns that a discard can't go back to it.
std::string HoldLostMessage(System& system, const RunFiles& run, OsResult heldAgain) {
  return messages::Fill(messages::kSnapshotHoldLost,
                        {run.target, run.snapshot + "\n" + ErrorReason(system, heldAgain)});
}

// Why this run's snapshot can't be used, or empty when it can.
// No call failed when the run has no snapshot of this target (none taken,
// or the settings save removed it): that message names no system error.
std::string SnapshotProblem(Files& files, System& system, const RunFiles& run,
                            const RunSnapshot& snapshot, const char* noRunMessage,
                            const std::string& noRunPath, const char* missingMessage) {
  if (!snapshot.Of(run.target)) return messages::Fill(noRunMessage, {noRunPath});
  if (!files.FileExists(run.snapshot))
    return FileFailureMessage(system, missingMessage, run.snapshot, OsResult::Failure(os_error::kFileNotFound));
  return "";
}

}  // namespace

RunChecks CheckRunFiles(Files& files, const RunFiles& run) {
  return {CheckDatabase(files, run.target), CheckDatabase(files, run.snapshot), CheckDatabase(files, run.backup)};
}

bool TargetDamaged(const RunChecks& checks) {
  return !checks.target.Passes() && (checks.snapshot.Passes() || checks.backup.Passes());
}

std::string DamagedTargetReport(Files& files, System& system, const RunFiles& run) {
  const RunChecks checks = CheckRunFiles(files, run);
  if (!TargetDamaged(checks)) return "";
  const std::string reason = DatabaseFaultReason(system, checks.target);
  // The snapshot is the newer sound version, and discard puts it back.
  if (checks.snapshot.Passes()) {
    return messages::Fill(messages::kTargetDamagedSnapshotSound, {run.target, reason, run.snapshot});
  }
  return messages::Fill(messages::kTargetDamagedBackupSound, {run.target, reason, run.backup});
}

std::string DamagedSaveQuestion(Files& files, System& system, const RunFiles& run) {
  const RunChecks checks = CheckRunFiles(files, run);
  if (!TargetDamaged(checks)) return "";
  return messages::Fill(messages::kSaveDamagedQuestion, {run.target, DatabaseFaultReason(system, checks.target)});
}

RunSnapshot SnapshotState(const RunFiles& run, const SnapshotResult& result) {
  if (!result.result) return RunSnapshot{};
  return RunSnapshot{true, run.target};
}

std::string SnapshotFailureMessage(System& system, const RunFiles& run, const SnapshotResult& failed) {
  // The platform's wording ("the file name is too long") would not tell the
  // user that it is the snapshot's name, not the database, that is too long.
  if (failed.result.error == os_error::kFilenameTooLong) {
    return messages::Fill(messages::kSnapshotPathTooLong, {run.target, failed.failedPath});
  }
  if (failed.keptSound) return messages::Fill(messages::kSnapshotKeptSound, {run.target, run.snapshot});
  if (failed.keptNotThisRuns) return messages::Fill(messages::kSnapshotNotThisRuns, {run.target, run.snapshot});
  // Whichever step failed, the user learns that the target has no snapshot;
  // a step on another file (the snapshot name held by another run, the
  // temporary copy in a full folder) names that file before the reason.
  std::string reason = ErrorReason(system, failed.result);
  if (failed.failedPath != run.target) reason = failed.failedPath + "\n" + reason;
  return messages::Fill(messages::kCannotCopy, {run.target, reason});
}

EndOutcome RestoreSnapshot(Files& files, System& system, const RunFiles& run,
                           const RunSnapshot& snapshot, SnapshotHold* hold, const HistoryKeeping& history) {
  std::string problem = SnapshotProblem(files, system, run, snapshot, messages::kRestoreWithoutRunSnapshot,
                                        run.target, messages::kMissingForRestore);
  if (!problem.empty()) return {false, {problem}};
  StepLog log(files, system, history);
  // One replacing move: the target is never deleted on its own, so when it
  // can't be replaced (still open elsewhere) it keeps the changes and the
  // snapshot stays for another try. With history on, the discarded state
  // goes into the history first.
  std::optional<HeldMove> placed;
  const history::Replaced replaced = ReplaceKeepingHistory(
      files, system, history, run.target, run.target, history::Reason::Discard, [&] {
        placed = MoveHeldSnapshot(files, run, run.target, hold);
        log->Step(history::ReasonWord(history::Reason::Discard), run.snapshot, run.target, placed->moved);
        return placed->moved;
      });
  EndOutcome outcome;
  outcome.closeWindow = replaced.done;
  if (placed && !placed->moved) {
    outcome.errors.push_back(FileFailureMessage(system, messages::kCannotRestore, run.target, placed->moved));
    if (!placed->heldAgain) {
      outcome.errors.push_back(HoldLostMessage(system, run, placed->heldAgain));
      outcome.snapshotLost = true;
    }
  }
  outcome.errors.insert(outcome.errors.end(), replaced.errors.begin(), replaced.errors.end());
  return outcome;
}

namespace {

// Makes this run's snapshot the backup copy. Returns false only when the
// move failed, that is, when the snapshot is still there and still needed;
// `lost` then tells whether the run could not take hold of it again.
bool RotateBackup(Files& files, System& system, const RunFiles& run, const RunSnapshot& snapshot,
                  SnapshotHold* hold, const HistoryKeeping& history, history::Reason reason,
                  std::vector<std::string>* errors, bool* lost) {
  std::string problem = SnapshotProblem(files, system, run, snapshot, messages::kBackupWithoutRunSnapshot,
                                        run.backup, messages::kMissingForBackup);
  if (!problem.empty()) {
    errors->push_back(problem);
    return true;
  }
  // A sound backup copy is never given up for a snapshot that fails the
  // check: the snapshot goes aside under a name of its own (it may still
  // hold data worth a specialist's look) and the backup copy stays.
  const DatabaseCheck snapshotCheck = CheckDatabase(files, run.snapshot);
  if (!snapshotCheck.Passes() && CheckDatabase(files, run.backup).Passes()) {
    const std::string aside = AsidePath(run.target, system.FileTimeStamp(), kAsideUnsound);
    const HeldMove setAside = MoveHeldSnapshot(files, run, aside, hold, MoveKind::ToNewName);
    if (!setAside.moved) {
      errors->push_back(
          messages::Fill(messages::kCannotSetAside, {run.snapshot, aside, ErrorReason(system, setAside.moved)}));
      if (!setAside.heldAgain) {
        errors->push_back(HoldLostMessage(system, run, setAside.heldAgain));
        *lost = true;
      }
      return false;
    }
    errors->push_back(messages::Fill(messages::kBackupKeptSnapshotUnsound,
                                     {run.snapshot, DatabaseFaultReason(system, snapshotCheck), run.backup, aside}));
    return true;
  }
  // No separate delete of the previous backup copy: the move replaces it,
  // or creates the first one, and a failure leaves both files as they were.
  // With history on, the previous backup copy goes into the history first.
  StepLog log(files, system, history);
  std::optional<HeldMove> moved;
  const history::Replaced replaced =
      ReplaceKeepingHistory(files, system, history, run.target, run.backup, reason, [&] {
        moved = MoveHeldSnapshot(files, run, run.backup, hold);
        log->Step(history::ReasonWord(reason), run.snapshot, run.backup, moved->moved);
        return moved->moved;
      });
  if (moved && !moved->moved) {
    errors->push_back(FileFailureMessage(system, messages::kCannotUpdateBackup, run.backup, moved->moved));
    if (!moved->heldAgain) {
      errors->push_back(HoldLostMessage(system, run, moved->heldAgain));
      *lost = true;
    }
  }
  errors->insert(errors->end(), replaced.errors.begin(), replaced.errors.end());
  return replaced.done;
}

}  // namespace

EndOutcome KeepChanges(Files& files, System& system, const RunFiles& run,
                       const RunSnapshot& snapshot, SnapshotHold* hold, const HistoryKeeping& history) {
  EndOutcome outcome;
  if (!files.FileExists(run.target)) {
    outcome.errors.push_back(messages::Fill(messages::kDatabaseNotFound, {run.target}));
    return outcome;
  }
  outcome.closeWindow = RotateBackup(files, system, run, snapshot, hold, history, history::Reason::SaveAndExit,
                                     &outcome.errors, &outcome.snapshotLost);
  return outcome;
}

ContinueOutcome SaveAndSnapshot(Files& files, System& system, const RunFiles& run,
                                const RunSnapshot& snapshot, WaitWindow* wait, SnapshotHold* hold,
                                const HistoryKeeping& history) {
  ContinueOutcome outcome;
  outcome.snapshot = snapshot;
  // A folder that has gone away (a network drive dropped) may come back with
  // this run's snapshot in it: nothing is touched until it is there again.
  if (!files.FileExists(run.target)) {
    outcome.errors.push_back(messages::Fill(messages::kDatabaseNotFound, {run.target}));
    return outcome;
  }
  // A fresh snapshot now would overwrite the one the backup copy could not
  // take over; stop before that.
  bool lost = false;
  if (!RotateBackup(files, system, run, snapshot, hold, history, history::Reason::SaveAndContinue, &outcome.errors,
                    &lost)) {
    if (lost) outcome.snapshot = RunSnapshot{};
    return outcome;
  }

  outcome.relaunch = true;
  SnapshotResult taken = TakeSnapshot(files, run, wait, hold);
  StepLog(files, system, history)->Step(history::kSnapshotAction, run.target, run.snapshot, taken.result);
  outcome.snapshot = SnapshotState(run, taken);
  if (!taken.result) outcome.errors.push_back(SnapshotFailureMessage(system, run, taken));
  return outcome;
}

std::vector<std::string> DropSnapshot(Files& files, System& system, const RunFiles& run,
                                      const RunSnapshot& snapshot, SnapshotHold* hold,
                                      const HistoryKeeping& history) {
  std::vector<std::string> errors;
  // The newest sound version must stay: the snapshot of a target that
  // fails the check, when it passes.
  if (CheckDatabase(files, run.snapshot).Passes() && !CheckDatabase(files, run.target).Passes()) {
    bool lost = false;  // the run's state is let go by the settings save in any case
    if (snapshot.Of(run.target)) {
      RotateBackup(files, system, run, snapshot, hold, history, history::Reason::SettingsSave, &errors, &lost);
    }
    return errors;
  }
  if (hold) hold->LetGo();
  if (history.On()) {
    // The state before the run goes into the history instead of away; when
    // it can't, it stays where it is for the next start to ask about.
    if (!files.FileExists(run.snapshot)) return errors;
    return ReplaceKeepingHistory(files, system, history, run.target, run.snapshot, history::Reason::SettingsSave,
                                 [] { return OsResult::Success(); })
        .errors;
  }
  // A snapshot another run holds can't be removed, and stays that run's; a
  // missing file is fine.
  files.Remove(run.snapshot);
  return errors;
}

}  // namespace quandrel
