#include "history_window/history_window_logic.h"

#include <algorithm>
#include <limits>
#include <map>
#include <utility>

#include "history/generations.h"
#include "history/restore.h"
#include "history/run_log.h"
#include "launch/database_check.h"
#include "launch/shared_use.h"
#include "launch/snapshot.h"
#include "text/messages.h"
#include "text/sjis.h"

namespace quandrel {

const char kBackupCopyWord[] = "バックアップ（.BAK）";

std::string SizeInKilobytes(std::uint64_t bytes) {
  const std::uint64_t kb = bytes / 1024 + (bytes % 1024 != 0 ? 1 : 0);
  std::string digits = std::to_string(kb);
  for (std::size_t i = digits.size(); i > 3; i -= 3) digits.insert(i - 3, ",");
  return digits + " KB";
}

std::vector<HistoryEntry> ListHistory(Files& files, System& system, const std::string& target,
                                      const std::string& settingsPath) {
  const std::map<std::string, history::Maker> makers = history::MakersFromLog(files, settingsPath);
  auto entryFor = [&](const std::string& path, const std::string& stamp, int sequence, const char* what,
                      std::uint64_t size) {
    HistoryEntry e;
    e.path = path;
    e.stamp = stamp;
    e.sequence = sequence;
    e.row.when = history::StampAsDateTime(stamp);
    e.row.what = what;
    e.row.size = SizeInKilobytes(size);
    auto maker = makers.find(text::UpperAscii(path));
    if (maker != makers.end()) {
      e.row.computer = maker->second.computer;
      e.row.user = maker->second.user;
    }
    return e;
  };

  std::vector<HistoryEntry> entries;
  const std::string backup = RunFilesFor(target).backup;
  for (const FileEntry& found : files.FindEntries(backup)) {
    if (found.folder) continue;
    entries.push_back(entryFor(backup, system.FileTimeStampOf(found.lastWrite), 1, kBackupCopyWord, found.size));
  }
  for (const history::Generation& g : history::List(files, target)) {
    entries.push_back(entryFor(g.path, g.stamp, g.sequence, history::ReasonWord(g.reason), g.size));
  }
  // Newest first by the time each line shows; the backup copy before a
  // generation of the same second, as generations are set aside after it.
  std::stable_sort(entries.begin(), entries.end(), [](const HistoryEntry& a, const HistoryEntry& b) {
    if (a.stamp != b.stamp) return a.stamp > b.stamp;
    return a.sequence > b.sequence;
  });
  return entries;
}

bool HistoryOffered(Files& files, const std::string& target, int historyCount) {
  if (historyCount > 0) return true;
  if (target.empty()) return false;
  return files.Stamp(history::FolderFor(target)).has_value() || !history::List(files, target).empty();
}

HistoryWindowLogic::HistoryWindowLogic(Platform& platform, HistoryView& view, std::string target,
                                       std::string settingsPath, int historyCount)
    : platform_(platform),
      view_(view),
      target_(std::move(target)),
      settingsPath_(std::move(settingsPath)),
      historyCount_(historyCount) {}

void HistoryWindowLogic::ShowHistory() {
  entries_ = ListHistory(platform_.files, platform_.system, target_, settingsPath_);
  std::vector<HistoryRow> rows;
  rows.reserve(entries_.size());
  for (const HistoryEntry& e : entries_) rows.push_back(e.row);
  view_.ShowRows(rows);
  chosen_.reset();
  view_.ChooseRow(std::nullopt);
  view_.SetEnabled(HistoryControl::BitBtnRestore, false);
}

void HistoryWindowLogic::RowChosen(std::optional<int> row) {
  if (row && (*row < 0 || static_cast<std::size_t>(*row) >= entries_.size())) row.reset();
  chosen_ = row;
  view_.SetEnabled(HistoryControl::BitBtnRestore, chosen_.has_value());
}

void HistoryWindowLogic::ControlUsed(HistoryControl c) {
  switch (c) {
    case HistoryControl::BitBtnRestore: RestoreChosen(); break;
    case HistoryControl::BitBtnClose: view_.CloseWindow(); break;
    default: break;
  }
}

void HistoryWindowLogic::RestoreChosen() {
  if (!chosen_) return;
  const HistoryEntry entry = entries_[static_cast<std::size_t>(*chosen_)];
  Dialogs& dialogs = platform_.dialogs;
  const std::string question = messages::Fill(messages::kRestoreQuestion, {entry.row.when});
  if (dialogs.Choose(ConfirmationWithNoDefault(question)) != kConfirmedYes) return;

  Files& files = platform_.files;
  System& system = platform_.system;
  history::RunLog log(files, system, settingsPath_, historyCount_ > 0);
  history::RestoreRequest request;
  request.target = target_;
  request.chosen = entry.path;
  request.when = entry.row.when;
  // With History off, the generations still there are the user's to
  // remove: a restore adds its own and takes none away.
  request.keep = historyCount_ > 0 ? historyCount_ : std::numeric_limits<int>::max();

  auto openElsewhere = [&](const std::string& target) {
    const OpenElsewhere o = CheckOpenElsewhere(files, system, target);
    return o.open ? o.message : std::string();
  };
  auto sound = [&](const std::string& path) { return CheckDatabase(files, path).Passes(); };

  history::RestoreOutcome out;
  {
    std::unique_ptr<WaitWindow> wait = view_.OpenWaitWindow();
    WaitWindow* shown = wait.get();
    const CopyProgress progress = [shown](std::uint64_t done, std::uint64_t total) {
      if (shown) shown->ShowProgress(done, total);
    };
    out = history::Restore(files, system, log, request, progress, openElsewhere, sound);
  }
  if (out.restored) dialogs.ShowMessage(out.message);
  for (const std::string& error : out.errors) dialogs.ShowError(error);
  ShowHistory();
}

}  // namespace quandrel
