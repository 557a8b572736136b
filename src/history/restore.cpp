#include "history/restore.h"

#include "history/keep_then_replace.h"
#include "platform/failure_message.h"
#include "platform/os_errors.h"
#include "text/messages.h"

namespace quandrel::history {

const char kRestoreAction[] = "復元";
const char kPruneAction[] = "履歴の削除";

RestoreOutcome Restore(Files& files, System& system, RunLog& log, const RestoreRequest& request,
                       const CopyProgress& progress, const OpenElsewhereCheck& openElsewhere,
                       const DatabaseCheck& check) {
  RestoreOutcome out;
  const std::string& target = request.target;
  if (!files.FileExists(request.chosen)) {
    out.errors.push_back(messages::Fill(messages::kCannotRestoreGeneration,
                                        {request.when, ErrorReason(system, OsResult::Failure(os_error::kFileNotFound))}));
    return out;
  }
  if (openElsewhere) {
    const std::string refusal = openElsewhere(target);
    if (!refusal.empty()) {
      out.errors.push_back(refusal);
      return out;
    }
  }

  // 1. The copy, beside the target under a name of its own.
  const std::string partial = target + ".part";
  OsResult copied = files.Copy(request.chosen, partial, progress);
  log.Step(kRestoreAction, request.chosen, partial, copied);
  if (!copied) {
    if (files.FileExists(partial)) files.Remove(partial);
    out.errors.push_back(
        messages::Fill(messages::kCannotRestoreGeneration, {request.when, ErrorReason(system, copied)}));
    return out;
  }

  // 2. The target as it is now becomes a generation. Refused while a
  // program has the target open: nothing changes then.
  Kept kept;
  const bool hadTarget = files.FileExists(target);
  if (hadTarget) {
    kept = Keep(files, system, target, target, Reason::BeforeRestore);
    log.Step(ReasonWord(Reason::BeforeRestore), target, kept.result ? kept.generation : FolderFor(target),
             kept.result);
    if (!kept.result) {
      files.Remove(partial);
      out.errors.push_back(FileFailureMessage(system, messages::kCannotKeepForRestore, target, kept.result));
      return out;
    }
    if (!kept.markedReadOnly) {
      out.errors.push_back(FileFailureMessage(system, messages::kCannotMarkReadOnly, kept.generation,
                                              kept.markedReadOnly));
    }
  }

  // 3. The copy takes the target's place.
  OsResult placed = files.Replace(partial, target);
  log.Step(kRestoreAction, partial, target, placed);
  if (!placed) {
    const std::string reason = ErrorReason(system, placed);
    files.Remove(partial);
    OsResult back = hadTarget ? PutBack(files, kept, target) : OsResult::Success();
    if (hadTarget) log.Step(kRestoreAction, kept.generation, target, back);
    if (back) {
      out.errors.push_back(messages::Fill(messages::kCannotRestoreGeneration, {request.when, reason}));
    } else {
      // The state from before stays in its generation: say where, and how
      // to put it back by hand.
      out.errors.push_back(messages::Fill(messages::kStateLeftInGeneration,
                                          {request.when, reason, kept.generation, target}));
    }
    return out;
  }

  out.restored = true;
  out.keptAs = kept.generation;
  out.message = hadTarget ? messages::Fill(messages::kRestored, {request.when, kept.generation})
                          : messages::Fill(messages::kRestoredNothingKept, {request.when});

  for (std::string& e : PruneLogged(files, system, log, target, request.keep, check)) out.errors.push_back(std::move(e));
  return out;
}

}  // namespace quandrel::history
