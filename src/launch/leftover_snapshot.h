// A snapshot left behind by a run that did not end with save or discard
// (a power cut, a frozen or killed launcher, the main window closed): the
// state of the database before that run. The next start finds it and never
// overwrites it unasked: the user puts it back, keeps it aside under a name
// of its own, or stops. Enter keeps it aside, the choice that loses nothing.
#pragma once

#include <string>
#include <vector>

#include "launch/history_keeping.h"
#include "launch/snapshot.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/system.h"

namespace quandrel {

// The target's snapshot is there, passes the database check, and nothing
// has it open: no running launcher holds it as its own run's snapshot.
// A snapshot that fails the check is no sound version to keep; it is
// replaced as any earlier snapshot is.
bool IsLeftoverSnapshot(Files& files, const RunFiles& run);

enum class LeftoverChoice { PutBack, KeepAside, Stop };

// The question: what was found, where it would go when kept aside, and
// the three buttons ("戻す(&R)", "残す(&K)", "中止(&A)"); Enter keeps it
// aside, Esc stops. With history on it names the history folder, where
// both choices keep the state they replace.
Choice LeftoverQuestion(const RunFiles& run, const std::string& asidePath, bool historyOn = false);
LeftoverChoice ChoiceFromButton(int button);

struct LeftoverOutcome {
  bool start = true;                // false: end the program without a start
  std::vector<std::string> errors;  // error boxes to show first
};

// Carries out the choice. Put back: the snapshot takes the target's place
// in one replacing move, unless the target is open elsewhere (then nothing
// changes and the error names who the lock file lists). Keep aside: the snapshot is renamed to asidePath.
// With history on, put back first keeps the target as a generation
// ("復元前"), and keep aside makes the snapshot a generation ("中断")
// instead of renaming it.
// A step that fails leaves both files as they were, says why, and stops the
// start, so that the start's own snapshot can't replace it.
LeftoverOutcome SettleLeftover(Files& files, System& system, const RunFiles& run, LeftoverChoice choice,
                               const std::string& asidePath, const HistoryKeeping& history = {});

// All of it at the start, before the snapshot is taken: nothing when there
// is no leftover; otherwise the question (the snapshot held meanwhile, so
// that a launcher started now leaves it alone) and the choice carried out.
LeftoverOutcome ResolveLeftoverSnapshot(Files& files, Dialogs& dialogs, System& system, const RunFiles& run,
                                        const HistoryKeeping& history = {});

}  // namespace quandrel
