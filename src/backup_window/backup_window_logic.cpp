#include "backup_window/backup_window_logic.h"

#include <utility>

#include "history/run_log.h"
#include "platform/failure_message.h"
#include "text/messages.h"
#include "text/sjis.h"

namespace quandrel {

namespace {

constexpr char kDefaultPrefix[] = "BackUp";

std::string DriveRoot(const std::string& driveName) { return driveName + "\\"; }

}  // namespace

BackupWindowLogic::BackupWindowLogic(Platform& platform, BackupView& view, std::vector<std::string> driveNames,
                         std::string settingsPath)
    : platform_(platform), view_(view), driveNames_(std::move(driveNames)), settingsPath_(std::move(settingsPath)) {}

void BackupWindowLogic::ChangeToExecutableFolder() {
  // Relative paths, and XCOPY started from here, count from the
  // executable's folder.
  const std::string folder = text::FolderOf(platform_.system.ExecutablePath());
  if (!folder.empty()) platform_.files.ChangeDirectory(folder);
}

std::string BackupWindowLogic::ChosenDriveName() const {
  const std::optional<int> item = view_.ChosenDrive();
  if (!item || *item < 0 || static_cast<std::size_t>(*item) >= driveNames_.size()) return std::string();
  return driveNames_[static_cast<std::size_t>(*item)];
}

Multiplex BackupWindowLogic::ChosenMultiplex() const {
  if (view_.IsChecked(BackupControl::CheckBoxMultiDay)) return Multiplex::Date;
  if (view_.IsChecked(BackupControl::CheckBoxMultiWeek)) return Multiplex::Weekday;
  return Multiplex::None;
}

void BackupWindowLogic::BuildDestination() {
  // With no drive chosen the field keeps whatever it shows.
  const std::string drive = ChosenDriveName();
  if (drive.empty()) return;
  const std::string tail = DestinationTail(text::FolderOf(platform_.system.ExecutablePath()),
                                           view_.GetText(BackupControl::EditPreFix), ChosenMultiplex(), dateName_,
                                           weekdayName_);
  view_.SetText(BackupControl::EditCopyTo, drive + tail);
}

// ---------------------------------------------------------------------------
// Creation

void BackupWindowLogic::LoadAndShowOptions() {
  ChangeToExecutableFolder();
  loaded_ = LoadBackupOptions(platform_.files, settingsPath_);
  // Fixed for the window's life, even past midnight.
  dateName_ = DateFolderName(platform_.system.ShortDate());
  weekdayName_ = WeekdayFolderName(platform_.system.Weekday());

  view_.SetChecked(BackupControl::CheckBoxMultiDay, loaded_.Multi == Word::Day);
  view_.SetChecked(BackupControl::CheckBoxMultiWeek, loaded_.Multi == Word::Week);
  view_.SetChecked(BackupControl::CheckBoxMultiOff, loaded_.Multi != Word::Day && loaded_.Multi != Word::Week);
  view_.SetChecked(BackupControl::CheckBoxSubOff, loaded_.SubFolder == Word::No);
  view_.SetChecked(BackupControl::CheckBoxSubOn, loaded_.SubFolder != Word::No);
  view_.SetChecked(BackupControl::CheckBoxUpDate, loaded_.UpDate == Word::Yes);
  view_.SetChecked(BackupControl::CheckBoxOverWrite, loaded_.UpDate != Word::Yes);

  // Only an exact entry ("E:", not "e:") chooses a drive.
  for (std::size_t i = 0; i < driveNames_.size(); ++i) {
    if (driveNames_[i] == loaded_.Drive) {
      view_.ChooseDrive(static_cast<int>(i));
      DriveChosen();
      break;
    }
  }

  view_.SetText(BackupControl::EditPreFix, loaded_.PreFix);
  BuildDestination();
}

// ---------------------------------------------------------------------------
// Drive

void BackupWindowLogic::DriveChosen() {
  const std::string drive = ChosenDriveName();
  if (drive.empty()) return;
  BuildDestination();

  Desktop& desktop = platform_.desktop;
  const DriveKind kind = DriveKindOf(desktop.DriveType(DriveRoot(drive)));
  if (kind.known) {
    view_.SetText(BackupControl::LabelDrvKind, kind.text);
    if (kind.showsFreeSpace) {
      view_.SetText(BackupControl::LabelDrvLeft, FreeSpaceText(desktop.FreeBytes(DriveRoot(drive))));
    } else {
      view_.SetText(BackupControl::LabelDrvLeft, "");
    }
  }
  ChangeToExecutableFolder();
}

void BackupWindowLogic::ShowFreeSpace() {
  const std::string drive = ChosenDriveName();
  if (drive.empty()) return;
  view_.SetText(BackupControl::LabelDrvLeft, FreeSpaceText(platform_.desktop.FreeBytes(DriveRoot(drive))));
}

// ---------------------------------------------------------------------------
// Boxes

void BackupWindowLogic::PairClick(BackupControl clicked, BackupControl partner) {
  view_.SetChecked(partner, !view_.IsChecked(clicked));
}

void BackupWindowLogic::CheckBoxSubOnClick() { PairClick(BackupControl::CheckBoxSubOn, BackupControl::CheckBoxSubOff); }
void BackupWindowLogic::CheckBoxSubOffClick() { PairClick(BackupControl::CheckBoxSubOff, BackupControl::CheckBoxSubOn); }
void BackupWindowLogic::CheckBoxUpDateClick() {
  PairClick(BackupControl::CheckBoxUpDate, BackupControl::CheckBoxOverWrite);
}
void BackupWindowLogic::CheckBoxOverWriteClick() {
  PairClick(BackupControl::CheckBoxOverWrite, BackupControl::CheckBoxUpDate);
}

void BackupWindowLogic::MultiClick(BackupControl clicked) {
  using C = BackupControl;
  if (clicked == C::CheckBoxMultiOff) {
    view_.SetChecked(C::CheckBoxMultiOff, true);
    view_.SetChecked(C::CheckBoxMultiDay, false);
    view_.SetChecked(C::CheckBoxMultiWeek, false);
  } else {
    // The click has already flipped the box: ticked now means chosen, and
    // unticked means back to neither.
    const C other = clicked == C::CheckBoxMultiDay ? C::CheckBoxMultiWeek : C::CheckBoxMultiDay;
    view_.SetChecked(other, false);
    view_.SetChecked(C::CheckBoxMultiOff, !view_.IsChecked(clicked));
  }
  BuildDestination();
}

void BackupWindowLogic::CheckBoxMultiDayClick() { MultiClick(BackupControl::CheckBoxMultiDay); }
void BackupWindowLogic::CheckBoxMultiOffClick() { MultiClick(BackupControl::CheckBoxMultiOff); }
void BackupWindowLogic::CheckBoxMultiWeekClick() { MultiClick(BackupControl::CheckBoxMultiWeek); }

// ---------------------------------------------------------------------------
// Prefix

void BackupWindowLogic::PrefixFocusChanged() {
  if (view_.GetText(BackupControl::EditPreFix).empty()) {
    platform_.dialogs.ShowError(messages::kPrefixMissing);
    view_.SetText(BackupControl::EditPreFix, kDefaultPrefix);
  }
  BuildDestination();
}

// ---------------------------------------------------------------------------
// Copy and return

void BackupWindowLogic::StartCopy() {
  Dialogs& dialogs = platform_.dialogs;
  if (ChosenDriveName().empty()) {
    // A copy without a drive would go to the root of the current drive,
    // which no one means.
    dialogs.ShowError(messages::kNoDrive);
    return;
  }
  const std::string destination = view_.GetText(BackupControl::EditCopyTo);
  if (destination.empty()) {
    dialogs.ShowError(messages::kNoDestination);
    return;
  }
  const std::string source = text::FolderOf(platform_.system.ExecutablePath());
  const std::string parameters =
      CopyParameters(source, destination,
                     view_.IsChecked(BackupControl::CheckBoxUpDate), view_.IsChecked(BackupControl::CheckBoxSubOn));
  const std::string program = CopyProgramPath(platform_.system.SystemDirectory());
  if (program.empty()) {
    dialogs.ShowError(messages::Fill(messages::kCopyProgramMissing, {kCopyProgramName}));
    return;
  }
  // XCOPY shows its own progress and errors; only a failed start is ours to tell.
  const OsResult started = platform_.processes.ShellOpen(view_.WindowHandle(), program, parameters);
  // The record of runs (History on) notes the copy's start; how it ended
  // only XCOPY's own window shows.
  const bool historyOn = HistoryCount(LoadMainSettings(platform_.files, settingsPath_).History) > 0;
  history::RunLog(platform_.files, platform_.system, settingsPath_, historyOn)
      .Step(history::kBackupAction, source, destination, started);
  if (!started) dialogs.ShowError(FileFailureMessage(platform_.system, messages::kCopyProgramNotStarted, program, started));
}

void BackupWindowLogic::SaveOptionsAndClose() {
  using C = BackupControl;
  BackupOptions o;
  o.Multi = view_.IsChecked(C::CheckBoxMultiDay)    ? Word::Day
            : view_.IsChecked(C::CheckBoxMultiWeek) ? Word::Week
                                                    : Word::No;
  o.SubFolder = view_.IsChecked(C::CheckBoxSubOff) ? Word::No : Word::Yes;
  o.UpDate = view_.IsChecked(C::CheckBoxUpDate) ? Word::Yes : Word::No;
  // An empty field or no chosen drive writes back what was loaded.
  const std::string prefix = view_.GetText(C::EditPreFix);
  o.PreFix = prefix.empty() ? loaded_.PreFix : prefix;
  const std::string drive = ChosenDriveName();
  o.Drive = drive.empty() ? loaded_.Drive : drive;

  const SettingsWrite written = SaveBackupOptions(platform_.files, settingsPath_, o);
  if (!written.ok) {
    // The window stays, so the user can try again or keep the choices.
    platform_.dialogs.ShowError(SettingsWriteFailureMessage(platform_.system, written));
    return;
  }
  view_.CloseWindow();
}

void BackupWindowLogic::ControlUsed(BackupControl c) {
  switch (c) {
    case BackupControl::RadioGroupDrv: DriveChosen(); break;
    case BackupControl::BtnDrvLeft: ShowFreeSpace(); break;
    case BackupControl::CheckBoxMultiDay: CheckBoxMultiDayClick(); break;
    case BackupControl::CheckBoxMultiOff: CheckBoxMultiOffClick(); break;
    case BackupControl::CheckBoxMultiWeek: CheckBoxMultiWeekClick(); break;
    case BackupControl::CheckBoxSubOn: CheckBoxSubOnClick(); break;
    case BackupControl::CheckBoxSubOff: CheckBoxSubOffClick(); break;
    case BackupControl::CheckBoxUpDate: CheckBoxUpDateClick(); break;
    case BackupControl::CheckBoxOverWrite: CheckBoxOverWriteClick(); break;
    case BackupControl::ButtonGo: StartCopy(); break;
    case BackupControl::BitBtnClose: SaveOptionsAndClose(); break;
    case BackupControl::EditPreFix: PrefixFocusChanged(); break;
    default: break;
  }
}

}  // namespace quandrel
