// The files of one run: the target, its snapshot (taken before the run) and
// its backup copy (the snapshot of the last save).
#pragma once

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

struct SnapshotResult {
  OsResult result;
  std::string failedPath;  // the file the failing step worked on
};

// Copies the target to a temporary name beside the snapshot and puts it in
// the snapshot's place only once the copy is complete and flushed, so that
// no partial snapshot is ever left under the snapshot's name. The wait
// window, when given, shows the progress.
SnapshotResult TakeSnapshot(Files& files, const RunFiles& run, WaitWindow* wait);

}  // namespace quandrel
