#include "launch/end_of_run.h"

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
                           const RunSnapshot& snapshot, SnapshotHold* hold) {
  std::string problem = SnapshotProblem(files, system, run, snapshot, messages::kRestoreWithoutRunSnapshot,
                                        run.target, messages::kMissingForRestore);
  if (!problem.empty()) return {false, {problem}};
  // One replacing move: the target is never deleted on its own, so when it
  // can't be replaced (still open elsewhere) it keeps the changes and the
  // snapshot stays for another try.
  const HeldMove placed = MoveHeldSnapshot(files, run, run.target, hold);
  if (placed.moved) return {true, {}};
  EndOutcome outcome{false, {FileFailureMessage(system, messages::kCannotRestore, run.target, placed.moved)}};
  if (!placed.heldAgain) {
    outcome.errors.push_back(HoldLostMessage(system, run, placed.heldAgain));
    outcome.snapshotLost = true;
  }
  return outcome;
}

namespace {

// Makes this run's snapshot the backup copy. Returns false only when the
// move failed, that is, when the snapshot is still there and still needed;
// `lost` then tells whether the run could not take hold of it again.
bool RotateBackup(Files& files, System& system, const RunFiles& run, const RunSnapshot& snapshot,
                  SnapshotHold* hold, std::vector<std::string>* errors, bool* lost) {
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
  const HeldMove moved = MoveHeldSnapshot(files, run, run.backup, hold);
  if (!moved.moved) {
    errors->push_back(FileFailureMessage(system, messages::kCannotUpdateBackup, run.backup, moved.moved));
    if (!moved.heldAgain) {
      errors->push_back(HoldLostMessage(system, run, moved.heldAgain));
      *lost = true;
    }
    return false;
  }
  return true;
}

}  // namespace

EndOutcome KeepChanges(Files& files, System& system, const RunFiles& run,
                       const RunSnapshot& snapshot, SnapshotHold* hold) {
  EndOutcome outcome;
  if (!files.FileExists(run.target)) {
    outcome.errors.push_back(messages::Fill(messages::kDatabaseNotFound, {run.target}));
    return outcome;
  }
  outcome.closeWindow = RotateBackup(files, system, run, snapshot, hold, &outcome.errors, &outcome.snapshotLost);
  return outcome;
}

ContinueOutcome SaveAndSnapshot(Files& files, System& system, const RunFiles& run,
                                const RunSnapshot& snapshot, WaitWindow* wait, SnapshotHold* hold) {
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
  if (!RotateBackup(files, system, run, snapshot, hold, &outcome.errors, &lost)) {
    if (lost) outcome.snapshot = RunSnapshot{};
    return outcome;
  }

  outcome.relaunch = true;
  SnapshotResult taken = TakeSnapshot(files, run, wait, hold);
  outcome.snapshot = SnapshotState(run, taken);
  if (!taken.result) outcome.errors.push_back(SnapshotFailureMessage(system, run, taken));
  return outcome;
}

std::vector<std::string> DropSnapshot(Files& files, System& system, const RunFiles& run,
                                      const RunSnapshot& snapshot, SnapshotHold* hold) {
  std::vector<std::string> errors;
  // The newest sound version must stay: the snapshot of a target that
  // fails the check, when it passes.
  if (CheckDatabase(files, run.snapshot).Passes() && !CheckDatabase(files, run.target).Passes()) {
    bool lost = false;  // the run's state is let go by the settings save in any case
    if (snapshot.Of(run.target)) RotateBackup(files, system, run, snapshot, hold, &errors, &lost);
    return errors;
  }
  // A snapshot another run holds can't be removed, and stays that run's; a
  // missing file is fine.
  if (hold) hold->LetGo();
  files.Remove(run.snapshot);
  return errors;
}

}  // namespace quandrel
