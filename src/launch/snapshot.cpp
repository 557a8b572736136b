#include "launch/snapshot.h"

#include "launch/database_check.h"
#include "platform/os_errors.h"
#include "text/sjis.h"

namespace quandrel {

RunFiles RunFilesFor(const std::string& targetPath) {
  return RunFiles{targetPath, targetPath + ".TMP", targetPath + ".BAK"};
}

std::string AsidePath(const std::string& targetPath, const std::string& timeStamp, const char* what) {
  return targetPath + "." + timeStamp + "." + what;
}

OsResult SnapshotHold::Take(Files& files, const std::string& snapshotPath) {
  hold_.reset();
  return files.Hold(snapshotPath, &hold_);
}

SnapshotResult TakeSnapshot(Files& files, const RunFiles& run, WaitWindow* wait, SnapshotHold* hold) {
  // The copy goes to a name of its own first: a copy that breaks off (disk
  // full, target locked, power cut) must never look like a finished snapshot.
  const std::string partial = run.snapshot + ".part";
  // A name the file functions can't take would let the copy be made and
  // then neither moved into place nor removed (some platforms copy to a
  // long name they can't rename or delete): no copy is started at all.
  if (text::CharacterCount(files.FullPath(partial)) > kMaxPathCharacters) {
    return {OsResult::Failure(os_error::kFilenameTooLong), run.snapshot};
  }
  if (CheckDatabase(files, run.snapshot).Passes()) {
    SnapshotResult kept{OsResult::Failure(os_error::kFileExists), run.snapshot};
    if (!CheckDatabase(files, run.target).Passes()) {
      kept.keptSound = true;
      return kept;
    }
    if (hold && !hold->Held()) {
      kept.keptNotThisRuns = true;
      return kept;
    }
  }
  CopyProgress progress;
  if (wait) progress = [wait](std::uint64_t done, std::uint64_t total) { wait->ShowProgress(done, total); };

  OsResult copied = files.Copy(run.target, partial, progress);
  if (!copied) {
    files.Remove(partial);  // whatever part was written is of no use
    return {copied, run.target};
  }
  // A snapshot that another run holds can't be replaced: that run's
  // snapshot stays as it is and this run goes without one. A hold of this
  // run's own on an earlier snapshot ends here: the new one takes its place.
  if (hold) hold->LetGo();
  OsResult placed = files.Replace(partial, run.snapshot);
  if (!placed) {
    files.Remove(partial);
    return {placed, run.snapshot};
  }
  if (hold) {
    OsResult held = hold->Take(files, run.snapshot);
    if (!held) return {held, run.snapshot};
  }
  return {OsResult::Success(), ""};
}

}  // namespace quandrel
