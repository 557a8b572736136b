#include "launch/leftover_snapshot.h"

#include "launch/database_check.h"
#include "platform/failure_message.h"
#include "text/messages.h"
#include "text/sjis.h"

namespace quandrel {

namespace {

// Button order on screen; Enter and Esc name buttons by these.
constexpr int kPutBackButton = 0;
constexpr int kKeepAsideButton = 1;
constexpr int kStopButton = 2;

}  // namespace

bool IsLeftoverSnapshot(Files& files, const RunFiles& run) {
  if (!files.FileExists(run.snapshot)) return false;
  // A running launcher holds its snapshot for its whole run: that one is
  // not left over, and its run will settle it.
  if (files.InUse(run.snapshot)) return false;
  return CheckDatabase(files, run.snapshot).Passes();
}

Choice LeftoverQuestion(const RunFiles& run, const std::string& asidePath) {
  Choice choice;
  choice.text = messages::Fill(messages::kLeftoverQuestion, {run.snapshot, text::FileNamePart(asidePath)});
  choice.buttons = {"戻す(&R)", "残す(&K)", "中止(&A)"};
  choice.enterButton = kKeepAsideButton;
  choice.escapeButton = kStopButton;
  return choice;
}

LeftoverChoice ChoiceFromButton(int button) {
  switch (button) {
    case kPutBackButton: return LeftoverChoice::PutBack;
    case kKeepAsideButton: return LeftoverChoice::KeepAside;
    default: return LeftoverChoice::Stop;
  }
}

LeftoverOutcome SettleLeftover(Files& files, System& system, const RunFiles& run, LeftoverChoice choice,
                               const std::string& asidePath) {
  LeftoverOutcome outcome;
  switch (choice) {
    case LeftoverChoice::Stop:
      outcome.start = false;
      break;
    case LeftoverChoice::PutBack: {
      // One replacing move, as a discard does: when the target is open
      // elsewhere neither file changes.
      const OsResult placed = files.Replace(run.snapshot, run.target);
      if (!placed) {
        outcome.start = false;
        outcome.errors.push_back(FileFailureMessage(system, messages::kCannotRestore, run.target, placed));
      }
      break;
    }
    case LeftoverChoice::KeepAside: {
      // Only to a name nothing has yet: no other file is ever replaced.
      const OsResult moved = files.Move(run.snapshot, asidePath);
      if (!moved) {
        outcome.start = false;
        outcome.errors.push_back(
            messages::Fill(messages::kCannotSetAside, {run.snapshot, asidePath, ErrorReason(system, moved)}));
      }
      break;
    }
  }
  return outcome;
}

LeftoverOutcome ResolveLeftoverSnapshot(Files& files, Dialogs& dialogs, System& system, const RunFiles& run) {
  if (!IsLeftoverSnapshot(files, run)) return {};
  const std::string aside = AsidePath(run.target, system.FileTimeStamp(), kAsideBeforeBreak);
  LeftoverChoice choice;
  {
    SnapshotHold hold;  // keeps a launcher started meanwhile off it
    hold.Take(files, run.snapshot);
    choice = ChoiceFromButton(dialogs.Choose(LeftoverQuestion(run, aside)));
  }
  return SettleLeftover(files, system, run, choice, aside);
}

}  // namespace quandrel
