#include "history/keep_then_replace.h"

#include "history/restore.h"
#include "platform/failure_message.h"
#include "text/messages.h"

namespace quandrel::history {

std::vector<std::string> PruneLogged(Files& files, System& system, RunLog& log, const std::string& target,
                                     int keep, const DatabaseCheck& check) {
  std::vector<std::string> errors;
  const Pruned pruned = Prune(files, target, keep, check);
  for (const std::string& removed : pruned.removed) log.Step(kPruneAction, removed, "", OsResult::Success());
  for (const auto& [path, why] : pruned.failed) {
    log.Step(kPruneAction, path, "", why);
    errors.push_back(FileFailureMessage(system, messages::kCannotPrune, path, why));
  }
  return errors;
}

Replaced KeepThenReplace(Files& files, System& system, RunLog& log, const KeepThenReplaceRequest& request,
                         const DatabaseCheck& check, const std::function<OsResult()>& replace) {
  Replaced out;
  Kept kept;
  const bool had = files.FileExists(request.replaced);
  if (had) {
    kept = Keep(files, system, request.target, request.replaced, request.reason);
    log.Step(ReasonWord(request.reason), request.replaced,
             kept.result ? kept.generation : FolderFor(request.target), kept.result);
    if (!kept.result) {
      out.errors.push_back(FileFailureMessage(system, messages::kCannotKeepGeneration, request.replaced, kept.result));
      return out;
    }
    out.generation = kept.generation;
    if (!kept.markedReadOnly) {
      out.errors.push_back(
          FileFailureMessage(system, messages::kCannotMarkReadOnly, kept.generation, kept.markedReadOnly));
    }
  }

  out.moveResult = replace();
  if (!out.moveResult) {
    if (had) {
      OsResult back = PutBack(files, kept, request.replaced);
      log.Step(ReasonWord(request.reason), kept.generation, request.replaced, back);
      if (!back) {
        out.errors.push_back(messages::Fill(messages::kKeptStateNotPutBack,
                                            {request.replaced, kept.generation, ErrorReason(system, back)}));
      } else {
        out.generation.clear();
      }
    }
    return out;
  }
  out.done = true;

  for (std::string& e : PruneLogged(files, system, log, request.target, request.keep, check)) {
    out.errors.push_back(std::move(e));
  }
  return out;
}

}  // namespace quandrel::history
