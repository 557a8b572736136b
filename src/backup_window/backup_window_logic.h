// BackupWindowLogic: the backup window's logic. The options live in the view's
// controls while the window is open; they are read from the settings file
// at creation and written back by the return button.
#pragma once

#include <string>
#include <vector>

#include "backup_window/backup_rules.h"
#include "backup_window/backup_view.h"
#include "platform/platform.h"
#include "settings/settings.h"

namespace quandrel {

class BackupWindowLogic : public BackupViewEvents {
 public:
  // `driveNames` is the main window's table "A:".."Z:" (item i of the drive
  // group stands for entry i); `settingsPath` the settings file.
  BackupWindowLogic(Platform& platform, BackupView& view, std::vector<std::string> driveNames,
              std::string settingsPath);

  // Creation: current directory, options, date and weekday names, boxes,
  // stored drive (as a drive click), prefix, destination.
  void LoadAndShowOptions();

  // A drive item was clicked or chosen: destination, drive kind, free space.
  void DriveChosen();
  // BackupViewEvents: each goes to its handler.
  void ControlUsed(BackupControl c) override;
  // Free space of the chosen drive, whatever its kind.
  void ShowFreeSpace();

  // Pairs: the partner takes the opposite of the clicked box.
  void CheckBoxSubOnClick();
  void CheckBoxSubOffClick();
  void CheckBoxUpDateClick();
  void CheckBoxOverWriteClick();

  // Multiplexing: exactly one of the three boxes stays ticked.
  void CheckBoxMultiDayClick();
  void CheckBoxMultiOffClick();
  void CheckBoxMultiWeekClick();

  // The focus entered or left EditPreFix: an empty prefix is refused.
  void PrefixFocusChanged();

  // Starts XCOPY on the executable's folder and the destination field.
  void StartCopy();
  // Saves the options and closes the window; a failed write keeps it open.
  void SaveOptionsAndClose();

  // For inspection: the names fixed at creation, and the options as loaded.
  const std::string& DateName() const { return dateName_; }
  const std::string& WeekdayName() const { return weekdayName_; }
  const BackupOptions& Loaded() const { return loaded_; }

 private:
  void BuildDestination();
  void ChangeToExecutableFolder();
  // The chosen drive's entry of the table, or empty with none chosen.
  std::string ChosenDriveName() const;
  Multiplex ChosenMultiplex() const;
  void PairClick(BackupControl clicked, BackupControl partner);
  void MultiClick(BackupControl clicked);

  Platform& platform_;
  BackupView& view_;
  std::vector<std::string> driveNames_;
  std::string settingsPath_;

  BackupOptions loaded_;
  std::string dateName_;
  std::string weekdayName_;
};

}  // namespace quandrel
