// HistoryWindowLogic: the history window's logic. It lists the database's
// earlier states (the backup copy and every generation) with who made them,
// and puts the chosen one back in the database's place.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "history_window/history_view.h"
#include "platform/platform.h"

namespace quandrel {

// One state the window offers.
struct HistoryEntry {
  std::string path;
  std::string stamp;  // "20261210-093005": when the state was set aside (the backup copy: its last write)
  int sequence = 1;   // of generations made in the same second
  HistoryRow row;
};

// The list's word for the backup copy in the "what" column.
extern const char kBackupCopyWord[];

// A size as Explorer shows it: whole kilobytes rounded up, "1,234 KB".
std::string SizeInKilobytes(std::uint64_t bytes);

// The backup copy and every generation of `target`, newest first, with the
// computer and user the record of runs beside `settingsPath` names for each.
std::vector<HistoryEntry> ListHistory(Files& files, System& system, const std::string& target,
                                      const std::string& settingsPath);

// The history window's rule for the main window: offered while History is
// above 0 or the target has generations (or their folder) already.
bool HistoryOffered(Files& files, const std::string& target, int historyCount);

class HistoryWindowLogic : public HistoryViewEvents {
 public:
  // `historyCount` is History's number (0 to 99): how many generations a
  // restore leaves, and whether it is recorded.
  HistoryWindowLogic(Platform& platform, HistoryView& view, std::string target, std::string settingsPath,
                     int historyCount);

  // Fills the list afresh, nothing chosen, and the restore button off.
  void ShowHistory();

  // HistoryViewEvents
  void ControlUsed(HistoryControl c) override;
  void RowChosen(std::optional<int> row) override;

  // Asks first, naming the chosen state's date and time ("No" the default),
  // then puts it in the target's place behind a wait window, says how that
  // went and lists again.
  void RestoreChosen();

  // For inspection: the entries shown, and the one chosen.
  const std::vector<HistoryEntry>& Entries() const { return entries_; }
  std::optional<int> Chosen() const { return chosen_; }

 private:
  Platform& platform_;
  HistoryView& view_;
  std::string target_;
  std::string settingsPath_;
  int historyCount_;

  std::vector<HistoryEntry> entries_;
  std::optional<int> chosen_;
};

}  // namespace quandrel
