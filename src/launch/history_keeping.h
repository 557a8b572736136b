// What the end-of-run actions need to keep earlier states of the database
// (generations) when the setting History is above 0.
#pragma once

#include <functional>
#include <string>

#include "history/generations.h"
#include "history/keep_then_replace.h"
#include "history/run_log.h"
#include "platform/files.h"
#include "platform/system.h"

namespace quandrel {

// History on (History above 0): every state an action replaces or removes
// (the backup copy a save replaces, the target a discard replaces, the
// snapshot the settings save lets go) is first set aside as a generation,
// and the generations are pruned to `keep` after the action. Off (the
// default): the actions keep exactly the snapshot and the backup copy.
// The log, when given, gets one line per step that changes or copies a
// file, whether history is on or not (a disabled log writes nothing).
struct HistoryKeeping {
  int keep = 0;
  history::RunLog* log = nullptr;

  bool On() const { return keep > 0; }
};

// The log the steps go to: the caller's, or one that writes nothing.
class StepLog {
 public:
  StepLog(Files& files, System& system, const HistoryKeeping& history)
      : off_(files, system, "", false), log_(history.log ? *history.log : off_) {}
  history::RunLog& operator*() { return log_; }
  history::RunLog* operator->() { return &log_; }

 private:
  history::RunLog off_;
  history::RunLog& log_;
};

// The check pruning keeps at least one sound generation by.
history::DatabaseCheck SoundDatabaseCheck(Files& files);

// With history on, the state at `replaced` becomes a generation of `target`
// before `replace` runs (and comes back when it fails), and the generations
// are pruned afterwards; with history off `replace` just runs. `replace` is
// not run when the state can't be set aside.
history::Replaced ReplaceKeepingHistory(Files& files, System& system, const HistoryKeeping& history,
                                        const std::string& target, const std::string& replaced,
                                        history::Reason reason, const std::function<OsResult()>& replace);

}  // namespace quandrel
