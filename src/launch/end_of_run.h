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
// Each function returns what the caller must do next; texts in `errors` go
// into error boxes, in order, before the caller closes, relaunches or stays.
#pragma once

#include <string>
#include <vector>

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

struct EndOutcome {
  bool closeWindow = false;         // false: stay in end mode
  std::vector<std::string> errors;  // error boxes to show first
  bool snapshotLost = false;        // the run no longer holds its snapshot: keep RunSnapshot{}
};

// Discard & exit, after the user answered yes. Puts this run's snapshot in
// the target's place; the backup copy is not touched.
// Success: closeWindow, no errors. Without a snapshot of this run, with its
// file missing, or when the target can't be replaced (open elsewhere): no
// file changed, one error, stay in end mode (closing would let the next
// start overwrite the snapshot).
EndOutcome RestoreSnapshot(Files& files, System& system, const RunFiles& run,
                           const RunSnapshot& snapshot,
                           SnapshotHold* hold = nullptr);

// Save & exit. Makes this run's snapshot the backup copy (replacing the
// previous one, or creating it); the target keeps the changes.
// Success: closeWindow, no errors. With no database at the target path (its
// drive or folder gone away): no file touched, one error, stay in end mode,
// so the user can try again once it is back. Without a snapshot of this run
// or with its file missing: backup copy untouched, one error, and still
// closeWindow, since the changes are saved in the target and no file needs
// the window.
// When the backup copy can't be replaced: no file changed, one error, stay
// in end mode so the snapshot is not lost to the next start.
EndOutcome KeepChanges(Files& files, System& system, const RunFiles& run,
                       const RunSnapshot& snapshot,
                       SnapshotHold* hold = nullptr);

struct ContinueOutcome {
  bool relaunch = false;            // false: go back to end mode, no relaunch
  RunSnapshot snapshot;             // the state to keep for the next run
  std::vector<std::string> errors;  // error boxes to show before going on
};

// Save & continue, the file part between the tray entry and the relaunch;
// the wait window (may be null) shows the copy's progress.
// 0. With no database at the target path: an error, no relaunch, no file
//    touched, `snapshot` is the one passed in.
// 1. This run's snapshot becomes the backup copy. Without one (or with its
//    file missing): an error, the backup copy stays, and on to step 2. When
//    the backup copy can't be replaced: an error, no relaunch, `snapshot`
//    is the one passed in (or none when its hold was lost), no file changed.
// 2. A fresh snapshot of the target. When it fails: an error, and the new
//    run goes on without a snapshot (snapshot.taken false).
// relaunch is true whenever step 2 was reached.
ContinueOutcome SaveAndSnapshot(Files& files, System& system, const RunFiles& run,
                                const RunSnapshot& snapshot, WaitWindow* wait,
                                SnapshotHold* hold = nullptr);

}  // namespace quandrel
