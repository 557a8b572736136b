#include "launch/leftover_snapshot.h"

#include <optional>

#include "history/restore.h"
#include "launch/database_check.h"
#include "launch/shared_use.h"
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

Choice LeftoverQuestion(const RunFiles& run, const std::string& asidePath, bool historyOn) {
  Choice choice;
  if (historyOn) {
    const std::string folder = text::FileNamePart(history::FolderFor(run.target));
    choice.text = messages::Fill(messages::kLeftoverQuestionHistory, {run.snapshot, folder, folder});
  } else {
    choice.text = messages::Fill(messages::kLeftoverQuestion, {run.snapshot, text::FileNamePart(asidePath)});
  }
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
                               const std::string& asidePath, const HistoryKeeping& history) {
  StepLog log(files, system, history);
  LeftoverOutcome outcome;
  switch (choice) {
    case LeftoverChoice::Stop:
      outcome.start = false;
      break;
    case LeftoverChoice::PutBack: {
      // Never under someone who has the database open: their work would go.
      const OpenElsewhere elsewhere = CheckOpenElsewhere(files, system, run.target);
      if (elsewhere.open) {
        outcome.start = false;
        outcome.errors.push_back(elsewhere.message);
        break;
      }
      // One replacing move, as a discard does: a step that fails changes
      // neither file.
      std::optional<OsResult> placed;
      const history::Replaced replaced = ReplaceKeepingHistory(
          files, system, history, run.target, run.target, history::Reason::BeforeRestore, [&] {
            placed = files.Replace(run.snapshot, run.target);
            log->Step(history::kRestoreAction, run.snapshot, run.target, *placed);
            return *placed;
          });
      outcome.start = replaced.done;
      if (placed && !*placed) {
        outcome.errors.push_back(FileFailureMessage(system, messages::kCannotRestore, run.target, *placed));
      }
      outcome.errors.insert(outcome.errors.end(), replaced.errors.begin(), replaced.errors.end());
      break;
    }
    case LeftoverChoice::KeepAside: {
      if (history.On()) {
        const history::Replaced kept =
            ReplaceKeepingHistory(files, system, history, run.target, run.snapshot, history::Reason::Interrupted,
                                  [] { return OsResult::Success(); });
        outcome.start = kept.done;
        outcome.errors = kept.errors;
        break;
      }
      // Only to a name nothing has yet: no other file is ever replaced.
      const OsResult moved = files.Move(run.snapshot, asidePath);
      log->Step(history::ReasonWord(history::Reason::Interrupted), run.snapshot, asidePath, moved);
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

LeftoverOutcome ResolveLeftoverSnapshot(Files& files, Dialogs& dialogs, System& system, const RunFiles& run,
                                        const HistoryKeeping& history) {
  if (!IsLeftoverSnapshot(files, run)) return {};
  const std::string aside = AsidePath(run.target, system.FileTimeStamp(), kAsideBeforeBreak);
  LeftoverChoice choice;
  {
    SnapshotHold hold;  // keeps a launcher started meanwhile off it
    hold.Take(files, run.snapshot);
    choice = ChoiceFromButton(dialogs.Choose(LeftoverQuestion(run, aside, history.On())));
  }
  return SettleLeftover(files, system, run, choice, aside, history);
}

}  // namespace quandrel
