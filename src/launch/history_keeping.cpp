#include "launch/history_keeping.h"

#include "launch/database_check.h"

namespace quandrel {

history::DatabaseCheck SoundDatabaseCheck(Files& files) {
  return [&files](const std::string& path) { return CheckDatabase(files, path).Passes(); };
}

history::Replaced ReplaceKeepingHistory(Files& files, System& system, const HistoryKeeping& history,
                                        const std::string& target, const std::string& replaced,
                                        history::Reason reason, const std::function<OsResult()>& replace) {
  if (!history.On()) {
    history::Replaced out;
    out.moveResult = replace();
    out.done = out.moveResult.ok;
    return out;
  }
  StepLog log(files, system, history);
  return history::KeepThenReplace(files, system, *log, {target, replaced, reason, history.keep},
                                  SoundDatabaseCheck(files), replace);
}

}  // namespace quandrel
