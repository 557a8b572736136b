// The files of one run: the target, its snapshot (taken before the run) and
// its backup copy (the snapshot of the last save).
#pragma once

#include <memory>
#include <string>

#include "launch/wait_window.h"
#include "platform/files.h"

namespace quandrel {

struct RunFiles {
  std::string target;
  std::string snapshot;  // target + ".TMP"
  std::string backup;    // target + ".BAK"
};

RunFiles RunFilesFor(const std::string& targetPath);

// What a snapshot set aside (never deleted, never put in another file's
// place) is called beside its target: the target's name, the time it was
// set aside and what it is ("SALES.MDB.20261210-093005.中断前").
inline constexpr char kAsideBeforeBreak[] = "中断前";    // the state before a run that never ended
inline constexpr char kAsideUnsound[] = "読めない控え";  // a snapshot that fails the database check
std::string AsidePath(const std::string& targetPath, const std::string& timeStamp, const char* what);

struct SnapshotResult {
  OsResult result;
  std::string failedPath;  // the file the failing step worked on
  // Not taken because the snapshot there passes the database check while
  // the target fails it (result is a failure, failedPath the snapshot).
  bool keptSound = false;
  // Not taken because a sound database this run does not hold stands under
  // the snapshot's name (result is a failure, failedPath the snapshot).
  bool keptNotThisRuns = false;
};

// This run's hold on its snapshot file: while the run owns a snapshot it
// keeps the file open, so that another run of the same target (a launcher in
// another folder with the same target, another PC on a shared folder) can
// read it but cannot replace, rename or delete it. The run lets go right
// before its own steps that move or delete the snapshot, and takes hold
// again when such a step fails and the snapshot stays.
class SnapshotHold {
 public:
  // Takes hold of the file; the platform's reason when it can't.
  OsResult Take(Files& files, const std::string& snapshotPath);
  void LetGo() { hold_.reset(); }
  bool Held() const { return hold_ != nullptr; }

 private:
  std::unique_ptr<FileHold> hold_;
};

// Copies the target to a temporary name beside the snapshot and puts it in
// the snapshot's place only once the copy is complete and flushed, so that
// no partial snapshot is ever left under the snapshot's name. The wait
// window, when given, shows the progress. With a hold, the finished snapshot
// is held for this run; when the hold can't be taken the snapshot counts as
// not taken (another run may be about to replace it), and the file is left
// where it is, since it may be that other run's.
// A snapshot on disk that passes the database check is never replaced by a
// copy of a target that fails it, nor, when a hold is given, unless that
// hold is on it (a sound snapshot this run does not hold may be the only
// copy of another run's state): nothing is copied, and the result says so.
SnapshotResult TakeSnapshot(Files& files, const RunFiles& run, WaitWindow* wait,
                            SnapshotHold* hold = nullptr);

}  // namespace quandrel
