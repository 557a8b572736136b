// Putting an earlier state (the backup copy or a generation) back in the
// target's place, from the history window.
//
// The chosen file is copied beside the target first, under a name of its
// own: a copy that fails (a full disk) leaves no partial file and changes
// nothing. Then the target is set aside as a generation, and the copy takes
// its place in one replacing move. When that move fails, the target comes
// back from the generation.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "history/generations.h"
#include "history/run_log.h"
#include "platform/files.h"
#include "platform/system.h"

namespace quandrel::history {

// Why the target must not be replaced now (it is open elsewhere, and by
// whom), as the message to show; empty when nothing stands in the way.
using OpenElsewhereCheck = std::function<std::string(const std::string& target)>;

struct RestoreOutcome {
  bool restored = false;
  std::string keptAs;               // the generation that holds the target from before
  std::string message;              // the plain message that tells of success
  std::vector<std::string> errors;  // error boxes, in order
};

struct RestoreRequest {
  std::string target;
  std::string chosen;  // the backup copy or a generation
  std::string when;    // the chosen state's date and time as the window shows it
  int keep = 0;        // History: generations to keep after the restore
};

RestoreOutcome Restore(Files& files, System& system, RunLog& log, const RestoreRequest& request,
                       const CopyProgress& progress, const OpenElsewhereCheck& openElsewhere,
                       const DatabaseCheck& check);

// The log's word for a restore, and for keeping and pruning generations.
extern const char kRestoreAction[];
extern const char kPruneAction[];

}  // namespace quandrel::history
