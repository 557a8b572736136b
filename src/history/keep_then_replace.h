// The step every end-of-run action takes with history on: the state at the
// name about to be replaced (the backup copy before a save, the target
// before a discard) is set aside as a generation first, then the caller's
// replacing move runs; when that move fails, the state goes back to its
// name. Afterwards the generations are pruned to the setting.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "history/generations.h"
#include "history/run_log.h"
#include "platform/files.h"
#include "platform/system.h"

namespace quandrel::history {

struct KeepThenReplaceRequest {
  std::string target;    // the database the generations belong to
  std::string replaced;  // the name the move replaces; nothing is kept when no file has it
  Reason reason = Reason::SaveAndExit;
  int keep = 0;          // History, above 0
};

struct Replaced {
  // The caller's move ran and succeeded. False: it failed or never ran, and
  // the state at `replaced` is there as before (or, when it could not be
  // put back, in `generation`, which `errors` then names).
  bool done = false;
  OsResult moveResult;              // the caller's move, when it ran
  std::string generation;           // the state set aside, when it was
  std::vector<std::string> errors;  // error boxes: keeping, putting back, marking, pruning
};

// Prunes the target's generations to `keep`, a log line for each removal,
// and returns an error box for each generation that could not go.
std::vector<std::string> PruneLogged(Files& files, System& system, RunLog& log, const std::string& target,
                                     int keep, const DatabaseCheck& check);

// `replace` is the caller's replacing move onto `replaced` (with whatever
// it must do around it, such as letting go of a hold); it is not run when
// the state can't be set aside. The caller words its own failure.
Replaced KeepThenReplace(Files& files, System& system, RunLog& log, const KeepThenReplaceRequest& request,
                         const DatabaseCheck& check, const std::function<OsResult()>& replace);

}  // namespace quandrel::history
