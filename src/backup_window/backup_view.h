// The backup window as its logic (BackupWindowLogic) sees it. The Win32 view draws
// the controls; the logic decides what they show.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ui/position_in.h"

namespace quandrel {

// The controls of the backup window, named as in its design.
enum class BackupControl {
  RadioGroupDrv,
  PanelDrvInfo,
  LabelDrvKind2,
  LabelDrvKind,
  BtnDrvLeft,
  LabelDrvLeft,
  Bevel1,
  Label2,
  EditPreFix,
  BevelMulti,
  LabelMulti,
  CheckBoxMultiDay,
  CheckBoxMultiOff,
  CheckBoxMultiWeek,
  Label1,
  BevelSub,
  LabelSub,
  CheckBoxSubOn,
  CheckBoxSubOff,
  Bevel2,
  Label3,
  CheckBoxUpDate,
  CheckBoxOverWrite,
  ButtonGo,
  LabelCopyTo,
  EditCopyTo,
  BitBtnClose,
  Count
};

// The design's facts that every view of the backup window starts from.

// Ticked in the design; every other box starts clear.
constexpr BackupControl kBackupTickedInDesign[] = {BackupControl::CheckBoxMultiOff, BackupControl::CheckBoxSubOn,
                                                   BackupControl::CheckBoxUpDate};
// What the two drive labels show before any drive is chosen: 19 blanks.
inline constexpr char kDriveLabelBlanks[] = "                   ";

// The tab stops, first to last (the drive group's place is its chosen
// item's); every other control takes no focus.
constexpr BackupControl kBackupTabOrder[] = {
    BackupControl::ButtonGo,          BackupControl::BitBtnClose,      BackupControl::RadioGroupDrv,
    BackupControl::EditCopyTo,        BackupControl::CheckBoxMultiDay, BackupControl::CheckBoxMultiOff,
    BackupControl::CheckBoxSubOn,     BackupControl::CheckBoxSubOff,   BackupControl::BtnDrvLeft,
    BackupControl::CheckBoxMultiWeek, BackupControl::EditPreFix,       BackupControl::CheckBoxUpDate,
    BackupControl::CheckBoxOverWrite};

// The control's place in kBackupTabOrder, -1 when it is no tab stop.
constexpr int TabPosition(BackupControl c) { return PositionIn(kBackupTabOrder, c); }

// The drive group has 26 items, "A:" to "Z:", numbered 0 to 25.
constexpr int kDriveItems = 26;

// What the user does in the backup window, as the view reports it to its
// logic: a button or box was clicked, a drive item chosen (RadioGroupDrv),
// or the focus moved into or out of EditPreFix.
class BackupViewEvents {
 public:
  virtual ~BackupViewEvents() = default;
  virtual void ControlUsed(BackupControl c) = 0;
};

class BackupView {
 public:
  virtual ~BackupView() = default;

  // Check boxes. A user's click flips the box before its handler runs;
  // setting a state from the logic runs no handler.
  virtual bool IsChecked(BackupControl c) const = 0;
  virtual void SetChecked(BackupControl c, bool checked) = 0;

  // The chosen item of the drive group, or none. Choosing from the logic
  // runs no handler.
  virtual std::optional<int> ChosenDrive() const = 0;
  virtual void ChooseDrive(std::optional<int> item) = 0;

  // Texts of the fields and labels. Setting a text runs no handler.
  virtual std::string GetText(BackupControl c) const = 0;
  virtual void SetText(BackupControl c, const std::string& text) = 0;

  // The window, as the owner of programs started from it.
  virtual std::uintptr_t WindowHandle() const = 0;
  // Closes the window; the main window goes on.
  virtual void CloseWindow() = 0;
};

}  // namespace quandrel
