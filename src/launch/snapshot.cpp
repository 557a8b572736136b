#include "launch/snapshot.h"

namespace quandrel {

RunFiles RunFilesFor(const std::string& targetPath) {
  return RunFiles{targetPath, targetPath + ".TMP", targetPath + ".BAK"};
}

SnapshotResult TakeSnapshot(Files& files, const RunFiles& run, WaitWindow* wait) {
  // The copy goes to a name of its own first: a copy that breaks off (disk
  // full, target locked, power cut) must never look like a finished snapshot.
  const std::string partial = run.snapshot + ".part";
  CopyProgress progress;
  if (wait) progress = [wait](std::uint64_t done, std::uint64_t total) { wait->ShowProgress(done, total); };

  OsResult copied = files.Copy(run.target, partial, progress);
  if (!copied) {
    files.Remove(partial);  // whatever part was written is of no use
    return {copied, run.target};
  }
  OsResult placed = files.Replace(partial, run.snapshot);
  if (!placed) {
    files.Remove(partial);
    return {placed, run.snapshot};
  }
  return {OsResult::Success(), ""};
}

}  // namespace quandrel
