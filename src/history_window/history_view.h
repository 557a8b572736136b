// The history window as its logic (HistoryWindowLogic) sees it: a list of
// the database's earlier states (the backup copy and the generations), a
// button that puts the chosen one back and one that closes the window.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "launch/wait_window.h"
#include "ui/position_in.h"

namespace quandrel {

// The controls of the history window.
enum class HistoryControl {
  LabelHistory,
  ListViewHistory,
  BitBtnRestore,
  BitBtnClose,
  Count
};

// The tab stops, first to last; the label takes no focus.
constexpr HistoryControl kHistoryTabOrder[] = {HistoryControl::ListViewHistory, HistoryControl::BitBtnRestore,
                                               HistoryControl::BitBtnClose};

// The control's place in kHistoryTabOrder, -1 when it is no tab stop.
constexpr int TabPosition(HistoryControl c) { return PositionIn(kHistoryTabOrder, c); }

// The list's columns, left to right.
enum class HistoryColumn { When, What, Size, Computer, User, Count };

// One line of the list, a text per column.
struct HistoryRow {
  std::string when;      // "2026/12/10 09:30:05"
  std::string what;      // the action that set it aside, or the backup copy's word
  std::string size;      // "1,024 KB"
  std::string computer;  // blank when the record of runs doesn't say
  std::string user;
};

// What the user does in the history window, as the view reports it.
class HistoryViewEvents {
 public:
  virtual ~HistoryViewEvents() = default;
  // A button was pressed; Enter on the list counts as BitBtnRestore.
  virtual void ControlUsed(HistoryControl c) = 0;
  // The user chose a line of the list (its index), or none.
  virtual void RowChosen(std::optional<int> row) = 0;
};

class HistoryView {
 public:
  virtual ~HistoryView() = default;

  // Shows these lines, none chosen. Showing runs no handler.
  virtual void ShowRows(const std::vector<HistoryRow>& rows) = 0;
  // Chooses a line (or none) as the user would see it; runs no handler.
  virtual void ChooseRow(std::optional<int> row) = 0;
  virtual void SetEnabled(HistoryControl c, bool enabled) = 0;
  // A wait window over this one for a copy's progress; null when none can be
  // shown (the copy runs all the same).
  virtual std::unique_ptr<WaitWindow> OpenWaitWindow() = 0;
  // Closes the window; the main window goes on.
  virtual void CloseWindow() = 0;
};

}  // namespace quandrel
