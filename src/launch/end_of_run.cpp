#include "launch/end_of_run.h"

#include "platform/failure_message.h"
#include "text/messages.h"

namespace quandrel {

namespace {

constexpr std::uint32_t kFileNotFound = 2;  // ERROR_FILE_NOT_FOUND

// Moves this run's snapshot onto `dst` in one replacing step. The hold is
// let go just before (it would refuse the move) and taken again when the
// move fails, since the snapshot then stays and is still needed.
OsResult MoveHeldSnapshot(Files& files, const RunFiles& run, const std::string& dst, SnapshotHold* hold) {
  if (hold) hold->LetGo();
  OsResult moved = files.Replace(run.snapshot, dst);
  if (!moved && hold) hold->Take(files, run.snapshot);
  return moved;
}

// Why this run's snapshot can't be used, or empty when it can.
// No call failed when the run has no snapshot of this target (none taken,
// or the settings save removed it): that message names no system error.
std::string SnapshotProblem(Files& files, System& system, const RunFiles& run,
                            const RunSnapshot& snapshot, const char* noRunMessage,
                            const std::string& noRunPath, const char* missingMessage) {
  if (!snapshot.Of(run.target)) return messages::Fill(noRunMessage, {noRunPath});
  if (!files.FileExists(run.snapshot))
    return FileFailureMessage(system, missingMessage, run.snapshot, OsResult::Failure(kFileNotFound));
  return "";
}

}  // namespace

RunSnapshot SnapshotState(const RunFiles& run, const SnapshotResult& result) {
  if (!result.result) return RunSnapshot{};
  return RunSnapshot{true, run.target};
}

std::string SnapshotFailureMessage(System& system, const RunFiles& run, const SnapshotResult& failed) {
  // The platform's wording ("the file name is too long") would not tell the
  // user that it is the snapshot's name, not the database, that is too long.
  if (failed.result.error == kFilenameTooLong) {
    return messages::Fill(messages::kSnapshotPathTooLong, {run.target, failed.failedPath});
  }
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
  OsResult placed = MoveHeldSnapshot(files, run, run.target, hold);
  if (!placed) return {false, {FileFailureMessage(system, messages::kCannotRestore, run.target, placed)}};
  return {true, {}};
}

namespace {

// Makes this run's snapshot the backup copy. Returns false only when the
// move failed, that is, when the snapshot is still there and still needed.
bool RotateBackup(Files& files, System& system, const RunFiles& run, const RunSnapshot& snapshot,
                  SnapshotHold* hold, std::vector<std::string>* errors) {
  std::string problem = SnapshotProblem(files, system, run, snapshot, messages::kBackupWithoutRunSnapshot,
                                        run.backup, messages::kMissingForBackup);
  if (!problem.empty()) {
    errors->push_back(problem);
    return true;
  }
  // No separate delete of the previous backup copy: the move replaces it,
  // or creates the first one, and a failure leaves both files as they were.
  OsResult moved = MoveHeldSnapshot(files, run, run.backup, hold);
  if (!moved) {
    errors->push_back(FileFailureMessage(system, messages::kCannotUpdateBackup, run.backup, moved));
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
  outcome.closeWindow = RotateBackup(files, system, run, snapshot, hold, &outcome.errors);
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
  if (!RotateBackup(files, system, run, snapshot, hold, &outcome.errors)) return outcome;

  outcome.relaunch = true;
  SnapshotResult taken = TakeSnapshot(files, run, wait, hold);
  outcome.snapshot = SnapshotState(run, taken);
  if (!taken.result) outcome.errors.push_back(SnapshotFailureMessage(system, run, taken));
  return outcome;
}

}  // namespace quandrel
