// The file work of the end-of-run actions: putting the snapshot back over the
// target (discard & exit), making it the backup copy (save & exit), and that
// plus a fresh snapshot before a relaunch (save & continue).
//
// Every step is one replacing move within the target's folder, so a step
// that fails leaves every file as it was. A snapshot is used only when this
// run took it of the very path the action works on; a stray ".TMP" file of
// another run or another target is never put in anyone's place.
//
// The run's hold on its snapshot (may be null) is let go right before the
// move that takes the snapshot away, and taken again when that move fails.
// When it can't be taken again the snapshot stops being this run's (another
// run may replace it): the user is told, and the outcome says to forget it.
//
// A sound database (one that passes the database check) is never given up
// for one that fails it: a save never puts a snapshot that fails the check
// in the place of a backup copy that passes it (the snapshot is set aside
// instead), and the settings save never removes a snapshot that passes it
// while the target fails it.
//
// Each function returns what the caller must do next; texts in `errors` go
// into error boxes, in order, before the caller closes, relaunches or stays.
#pragma once

#include <string>
#include <vector>

#include "launch/database_check.h"
#include "launch/history_keeping.h"
#include "launch/snapshot.h"
#include "launch/wait_window.h"
#include "platform/files.h"
#include "platform/os_result.h"
#include "platform/system.h"

namespace quandrel {

// The snapshot the current run took. Set when a launch (or save & continue)
// takes one, cleared when the settings save deletes it.
struct RunSnapshot {
  bool taken = false;
  std::string target;  // the target path it is a copy of, as the run used it

  // This run's snapshot is a copy of exactly that target path.
  bool Of(const std::string& targetPath) const { return taken && target == targetPath; }
};

// What the launch (or any other taker) keeps after TakeSnapshot.
RunSnapshot SnapshotState(const RunFiles& run, const SnapshotResult& result);

// Why a snapshot could not be taken (the file and the Windows reason), and
// that the coming run then can't be undone by a discard.
std::string SnapshotFailureMessage(System& system, const RunFiles& run, const SnapshotResult& failed);

// The database check of a run's three files.
struct RunChecks {
  DatabaseCheck target, snapshot, backup;
};
RunChecks CheckRunFiles(Files& files, const RunFiles& run);

// The target fails the check while its snapshot or its backup copy passes
// it: the run has left the database damaged, and a sound version is there
// to go back to. A target that never had a sound version beside it (a file
// of another kind under a database's name) raises nothing.
bool TargetDamaged(const RunChecks& checks);

// What the user is told as soon as a run has left the target damaged: the
// file, why it fails, and the way back (discard while the snapshot is
// sound, else the backup copy); empty when the target is not damaged.
std::string DamagedTargetReport(Files& files, System& system, const RunFiles& run);

// The question to ask before a save of a damaged target (the answer "No"
// stands first); empty when the save needs no question.
std::string DamagedSaveQuestion(Files& files, System& system, const RunFiles& run);

struct EndOutcome {
  bool closeWindow = false;         // false: stay in end mode
  std::vector<std::string> errors;  // error boxes to show first
  bool snapshotLost = false;        // the run no longer holds its snapshot: keep RunSnapshot{}
};

// Discard & exit, after the user answered yes. Puts this run's snapshot in
// the target's place; the backup copy is not touched. With history on, the
// target as the run left it becomes a generation first ("破棄終了"), so that
// a discard can be undone; when it can't be set aside nothing changes.
// Success: closeWindow, no errors. Without a snapshot of this run, with its
// file missing, or when the target can't be replaced (open elsewhere): no
// file changed, one error, stay in end mode (closing would let the next
// start overwrite the snapshot).
EndOutcome RestoreSnapshot(Files& files, System& system, const RunFiles& run,
                           const RunSnapshot& snapshot,
                           SnapshotHold* hold = nullptr, const HistoryKeeping& history = {});

// Save & exit. Makes this run's snapshot the backup copy (replacing the
// previous one, or creating it); the target keeps the changes. A snapshot
// that fails the check while the backup copy passes it is set aside under
// AsidePath(.., kAsideUnsound) instead, the backup copy stays, and one
// error says so (closeWindow; stay when it can't be set aside).
// Success: closeWindow, no errors. With no database at the target path (its
// drive or folder gone away): no file touched, one error, stay in end mode,
// so the user can try again once it is back. Without a snapshot of this run
// or with its file missing: backup copy untouched, one error, and still
// closeWindow, since the changes are saved in the target and no file needs
// the window.
// When the backup copy can't be replaced: no file changed, one error, stay
// in end mode so the snapshot is not lost to the next start.
// With history on, the backup copy about to be replaced becomes a generation
// first ("保存終了"); when it can't be set aside nothing changes and the
// window stays, as when the move fails.
EndOutcome KeepChanges(Files& files, System& system, const RunFiles& run,
                       const RunSnapshot& snapshot,
                       SnapshotHold* hold = nullptr, const HistoryKeeping& history = {});

struct ContinueOutcome {
  bool relaunch = false;            // false: go back to end mode, no relaunch
  RunSnapshot snapshot;             // the state to keep for the next run
  std::vector<std::string> errors;  // error boxes to show before going on
};

// Save & continue, the file part between the tray entry and the relaunch;
// the wait window (may be null) shows the copy's progress.
// 0. With no database at the target path: an error, no relaunch, no file
//    touched, `snapshot` is the one passed in.
// 1. This run's snapshot becomes the backup copy, or is set aside as in
//    KeepChanges when it fails the check and the backup copy passes it.
//    Without one (or with its
//    file missing): an error, the backup copy stays, and on to step 2. When
//    the backup copy can't be replaced: an error, no relaunch, `snapshot`
//    is the one passed in (or none when its hold was lost), no file changed.
// 2. A fresh snapshot of the target. When it fails: an error, and the new
//    run goes on without a snapshot (snapshot.taken false).
// relaunch is true whenever step 2 was reached.
ContinueOutcome SaveAndSnapshot(Files& files, System& system, const RunFiles& run,
                                const RunSnapshot& snapshot, WaitWindow* wait,
                                SnapshotHold* hold = nullptr, const HistoryKeeping& history = {});

// The settings save ends the run's claim on the snapshot beside the target
// (this run's, or a stray one): it is removed, unless it passes the check
// while the target fails it. Then this run's snapshot becomes the backup
// copy as in KeepChanges, and a stray one stays for the next start to ask
// about. With history on the snapshot is not removed but becomes a
// generation ("設定保存"); when it can't be, it stays where it is.
// Returns the error boxes to show.
std::vector<std::string> DropSnapshot(Files& files, System& system, const RunFiles& run,
                                      const RunSnapshot& snapshot, SnapshotHold* hold = nullptr,
                                      const HistoryKeeping& history = {});

}  // namespace quandrel
