#include "main_window/main_window_logic.h"

#include <algorithm>

#include "main_window/layout_modes.h"
#include "main_window/title_picture.h"
#include "launch/database_check.h"
#include "launch/launch.h"
#include "launch/leftover_snapshot.h"
#include "launch/maintenance.h"
#include "launch/snapshot.h"
#include "platform/failure_message.h"
#include "text/messages.h"
#include "text/sjis.h"

namespace quandrel {

namespace {

FileDialogRequest DatabaseDialog() {
  return {{{"最初に開くファイル", "*.Exe;*.Wfm;*.Cmd;*.Mdb;*.Accdb"}, {"全てのファイル", "*.*"}},
          "*.Exe;*.Wfm;*.Cmd;*.Mdb;*.Accdb"};
}
FileDialogRequest ImageDialog() { return {{{"ﾋﾞｯﾄﾏｯﾌﾟｲﾒｰｼﾞ", "*.bmp"}, {"全てのﾌｧｲﾙ", "*.*"}}, "*.bmp"}; }
FileDialogRequest IconDialog() { return {{{"アイコン (*.ICO)", "*.Ico"}, {"全てのﾌｧｲﾙ", "*.*"}}, "*.ico"}; }

}  // namespace

MainWindowLogic::MainWindowLogic(Platform& platform, MainView& view) : platform_(platform), view_(view) {}

const std::vector<std::string>& MainWindowLogic::DriveNames() const { return driveNames_; }
const std::string& MainWindowLogic::SettingsPath() const { return settingsPath_; }

const std::string& MainWindowLogic::TargetPath() const { return fields_.Text(Control::EditDBpath); }

void MainWindowLogic::ShowFields() {
  for (Control c : kMainTextFields) view_.SetText(c, fields_.Text(c));
  view_.SetText(Control::EditDate, fields_.date);
  ShowSwitches();
}

void MainWindowLogic::ShowSwitches() {
  for (Control c : kMainSwitches) view_.SetChecked(c, fields_.Ticked(c));
}

void MainWindowLogic::ShowDisplayTitle(TitleFallback fallback) {
  view_.SetDisplayTitle(DisplayTitle(platform_.files, settings_, exePath_, fallback));
}

void MainWindowLogic::ShowErrors(const std::vector<std::string>& errors) {
  for (const std::string& e : errors) platform_.dialogs.ShowError(e);
}

// ---------------------------------------------------------------------------
// Creation

void MainWindowLogic::StartAndRunFirstLaunch() {
  Files& files = platform_.files;
  Dialogs& dialogs = platform_.dialogs;

  // Relative paths in the settings count from the executable's folder.
  exePath_ = platform_.system.ExecutablePath();
  const std::string folder = text::FolderOf(exePath_);
  if (!folder.empty()) files.ChangeDirectory(folder);

  const std::vector<std::string> fonts = platform_.system.FontFamilies();
  if (std::find(fonts.begin(), fonts.end(), "TicagoFix") != fonts.end()) {
    view_.SetFieldFontFace("TicagoFix");
  }

  driveNames_.clear();
  for (char d = 'A'; d <= 'Z'; ++d) driveNames_.push_back(std::string(1, d) + ":");

  settingsPath_ = SettingsFilePath(exePath_);
  settings_ = LoadMainSettings(files, settingsPath_);

  ShowDisplayTitle(TitleFallback::WithExecutablePath);

  if (files.FileExists(settings_.DBPath)) settings_.DBPath = files.FullPath(settings_.DBPath);
  // A picture or icon that can't be loaded is reported; the built-in one
  // stays and the start goes on.
  if (files.FileExists(settings_.ImagePath)) {
    settings_.ImagePath = files.FullPath(settings_.ImagePath);
    LoadTitlePicture(view_, dialogs, settings_.ImagePath);
  }
  if (files.FileExists(settings_.IconPath)) {
    settings_.IconPath = files.FullPath(settings_.IconPath);
    LoadApplicationIcon(view_, dialogs, settings_.IconPath);
  }

  fields_.Text(Control::EditDBpath) = settings_.DBPath;
  fields_.Text(Control::EditTitle) = settings_.Title;
  fields_.Text(Control::EditImagePath) = settings_.ImagePath;
  fields_.Text(Control::EditIconPath) = settings_.IconPath;
  fields_.date = platform_.system.ShortDate();
  fields_.Ticked(Control::CboxNonCustom) = settings_.Customize == Word::Disable;
  fields_.Ticked(Control::CboxMDBbak) = settings_.MDBbak == Word::Use;
  fields_.Ticked(Control::CboxUnClose) = settings_.UnClose == Word::Use;
  ShowFields();
  for (Control c : kMainTextFields) view_.SetReadOnly(c, true);
  ApplyLayout(view_, EndModeLayout(settings_, kCompactHeight));

  // The first launch cycle. Only the tray icon stands for the launcher while
  // the lookup may ask the user something.
  EnterTray(view_, fields_.Text(Control::EditTitle));
  const std::string target = TargetPath();
  if (target.empty()) {
    // Nothing to launch: no lookup, no snapshot, no start.
    TellNoTarget();
    EndWatch(view_, false);
    return;
  }
  // A snapshot that a run which never ended left behind is settled before
  // anything else: the user may rather stop than start.
  if (TakesSnapshot(target, settings_.MDBbak)) {
    history::RunLog log = OpenRunLog();
    const LeftoverOutcome leftover = ResolveLeftoverSnapshot(files, dialogs, platform_.system, RunFilesFor(target),
                                                             {HistoryKeep(), &log});
    ShowErrors(leftover.errors);
    if (!leftover.start) {
      view_.CloseWindow();
      return;
    }
  }
  launchCommand_ = LookUpLaunchCommand(platform_.registry, dialogs, target);

  snapshot_ = RunSnapshot{};  // a ".TMP" left by an earlier run is never this run's
  snapshotHold_.LetGo();
  if (TakesSnapshot(target, settings_.MDBbak)) {
    snapshotSourcePath_ = target;
    const RunFiles run = RunFilesFor(target);
    SnapshotResult taken;
    {
      std::unique_ptr<WaitWindow> wait = view_.OpenWaitWindow();
      taken = TakeSnapshot(files, run, wait.get(), &snapshotHold_);
    }
    OpenRunLog().Step(history::kSnapshotAction, run.target, run.snapshot, taken.result);
    snapshot_ = SnapshotState(run, taken);
    // The user learns before the start that this run has no spare copy.
    if (!taken.result) dialogs.ShowError(SnapshotFailureMessage(platform_.system, run, taken));
  }

  RunAndWatch(LaunchCommandLine(launchCommand_, target), false);
  ReportDamagedTarget();
}

void MainWindowLogic::WindowDestroyed() { view_.ShowApplicationWindow(true); }

bool MainWindowLogic::TrayIconUsed(TrayMouse action) {
  // The icon only stands for the launcher; its clicks open nothing.
  return action == TrayMouse::LeftDown || action == TrayMouse::RightDown;
}

// ---------------------------------------------------------------------------
// Launch and watch

void MainWindowLogic::TellNoTarget() {
  platform_.dialogs.ShowMessage(messages::Fill(messages::kNoTarget, {settingsPath_}));
}

void MainWindowLogic::RunAndWatch(const std::string& commandLine, bool appWindowFirst) {
  Processes& processes = platform_.processes;
  const OsResult started = processes.Start(commandLine, StartupShape::Maximized, &process_);
  if (started) {
    // Only a run with a snapshot can be discarded, so only such a run notes
    // who else opens its database meanwhile.
    othersSeen_.Begin(snapshot_.taken ? snapshot_.target : std::string());
    WatchProcess(processes, platform_.desktop, view_, process_, [this] { return settings_.UnClose; },
                 &othersSeen_);
  } else {
    // Nothing ran: without a word the end mode would look like the end of
    // a run. What could not be started and why, before end mode.
    platform_.dialogs.ShowError(
        FileFailureMessage(platform_.system, messages::kProgramNotStarted, commandLine, started));
  }
  EndWatch(view_, appWindowFirst);
  process_.Reset();
}

void MainWindowLogic::Relaunch() {
  const std::string target = TargetPath();
  if (target.empty()) {
    TellNoTarget();  // nothing to launch
    EndWatch(view_, true);
    return;
  }
  // The launch command is the one found at start-up, even when the target
  // was changed in the settings since.
  RunAndWatch(LaunchCommandLine(launchCommand_, target), true);
  ReportDamagedTarget();
}

void MainWindowLogic::ReportDamagedTarget() {
  const std::string target = TargetPath();
  if (!IsDatabaseTarget(target)) return;
  const std::string report = DamagedTargetReport(platform_.files, platform_.system, RunFilesFor(target));
  if (!report.empty()) platform_.dialogs.ShowError(report);
}

int MainWindowLogic::HistoryKeep() const { return HistoryCount(settings_.History); }

history::RunLog MainWindowLogic::OpenRunLog() {
  return history::RunLog(platform_.files, platform_.system, settingsPath_, HistoryKeep() > 0);
}

bool MainWindowLogic::SaveConfirmed(const RunFiles& run) {
  const std::string question = DamagedSaveQuestion(platform_.files, platform_.system, run);
  if (question.empty()) return true;
  if (platform_.dialogs.Choose(ConfirmationWithNoDefault(question)) == kConfirmedYes) return true;
  platform_.dialogs.ShowMessage(messages::kSaveCancelled);
  return false;
}

// ---------------------------------------------------------------------------
// End-of-run actions

void MainWindowLogic::DiscardAndExit() {
  Files& files = platform_.files;
  Dialogs& dialogs = platform_.dialogs;
  const RunFiles run = RunFilesFor(TargetPath());
  // The run lasts until the discard: whoever came since its end counts too,
  // also someone whose open database refuses this press but not the next.
  othersSeen_.Look();
  // The snapshot is never put back under someone who has the database open.
  if (RefuseWhenOpenElsewhere(files, platform_.system, dialogs, run.target)) return;
  // When others were there, Yes throws their work away as well, so it is
  // not the answer Enter gives.
  const std::vector<LockFileEntry>& others = othersSeen_.Others();
  const bool yes = others.empty()
                       ? dialogs.Confirm(messages::kDiscardQuestion, false) == Answer::Yes
                       : dialogs.Choose(ConfirmationWithNoDefault(DiscardQuestion(others))) == kConfirmedYes;
  if (!yes) {
    dialogs.ShowMessage(messages::kDiscardCancelled);
    return;
  }
  // Someone may have opened it while the question waited.
  if (RefuseWhenOpenElsewhere(files, platform_.system, dialogs, run.target)) return;
  history::RunLog log = OpenRunLog();
  const EndOutcome outcome =
      RestoreSnapshot(files, platform_.system, run, snapshot_, &snapshotHold_, {HistoryKeep(), &log});
  if (outcome.snapshotLost) snapshot_ = RunSnapshot{};
  ShowErrors(outcome.errors);
  if (outcome.closeWindow) view_.CloseWindow();
}

void MainWindowLogic::SaveAndExit() {
  const RunFiles run = RunFilesFor(TargetPath());
  if (!SaveConfirmed(run)) return;
  history::RunLog log = OpenRunLog();
  const EndOutcome outcome =
      KeepChanges(platform_.files, platform_.system, run, snapshot_, &snapshotHold_, {HistoryKeep(), &log});
  if (outcome.snapshotLost) snapshot_ = RunSnapshot{};
  ShowErrors(outcome.errors);
  if (outcome.closeWindow) view_.CloseWindow();
}

void MainWindowLogic::SaveAndContinue() {
  const std::string target = TargetPath();
  const RunFiles run = RunFilesFor(target);
  if (!SaveConfirmed(run)) return;
  EnterTray(view_, fields_.Text(Control::EditTitle));
  ContinueOutcome outcome;
  {
    std::unique_ptr<WaitWindow> wait = view_.OpenWaitWindow();
    history::RunLog log = OpenRunLog();
    outcome = SaveAndSnapshot(platform_.files, platform_.system, run, snapshot_, wait.get(), &snapshotHold_,
                              {HistoryKeep(), &log});
  }
  snapshot_ = outcome.snapshot;
  snapshotSourcePath_ = target;
  if (!outcome.relaunch) {
    // Nothing was changed on disk; back to end mode to let the user decide.
    EndWatch(view_, true);
    ShowErrors(outcome.errors);
    return;
  }
  ShowErrors(outcome.errors);
  Relaunch();
}

void MainWindowLogic::Restart() {
  EnterTray(view_, fields_.Text(Control::EditTitle));
  Relaunch();
}

void MainWindowLogic::ExitWithoutAction() { view_.CloseWindow(); }

// ---------------------------------------------------------------------------
// Database maintenance

namespace {

// While Access runs the main window stays on screen and handles its
// messages, so its end-mode buttons are disabled meanwhile: no other action
// may start before Access has ended. Only the buttons disabled here come
// back. The close box is held too: closing the window would end the program
// under the running handler, with Access still running and the guard kept.
class ButtonsHeld {
 public:
  explicit ButtonsHeld(MainView& view) : view_(view) {
    view_.HoldClose(true);
    for (Control c : kMainEndModeButtons) {
      if (!view_.IsEnabled(c)) continue;
      view_.SetEnabled(c, false);
      held_.push_back(c);
    }
  }
  ~ButtonsHeld() {
    for (Control c : held_) view_.SetEnabled(c, true);
    view_.HoldClose(false);
  }
  ButtonsHeld(const ButtonsHeld&) = delete;
  ButtonsHeld& operator=(const ButtonsHeld&) = delete;

 private:
  MainView& view_;
  std::vector<Control> held_;
};

}  // namespace

void MainWindowLogic::CompactDatabase() {
  ButtonsHeld held(view_);
  history::RunLog log = OpenRunLog();
  AccessMaintenance(platform_, view_, process_, [this] { return settings_.UnClose; }, accessPath_, &log)
      .Compact(TargetPath());
}

void MainWindowLogic::RepairDatabase() {
  ButtonsHeld held(view_);
  history::RunLog log = OpenRunLog();
  AccessMaintenance(platform_, view_, process_, [this] { return settings_.UnClose; }, accessPath_, &log)
      .Repair(TargetPath());
}

// ---------------------------------------------------------------------------
// Settings editing

void MainWindowLogic::EnterSettingsMode() {
  ApplyLayout(view_, SettingsModeLayout());
  settingsMode_ = true;
  snapshotSourcePath_ = TargetPath();
  entry_.fields = fields_;
  entry_.settings = settings_;
}

void MainWindowLogic::ChooseTargetFile() {
  std::optional<std::string> chosen = platform_.dialogs.OpenFile(DatabaseDialog());
  if (!chosen) return;
  fields_.Text(Control::EditDBpath) = *chosen;
  view_.SetText(Control::EditDBpath, *chosen);
}

// A chosen picture or icon is followed as if it had been typed: the path
// is shown and taken, and the file loaded.
void MainWindowLogic::ChoosePictureFile() {
  std::optional<std::string> chosen = platform_.dialogs.OpenFile(ImageDialog());
  if (!chosen) return;
  view_.SetText(Control::EditImagePath, *chosen);
  PicturePathEdited(*chosen);
}

void MainWindowLogic::ChooseIconFile() {
  std::optional<std::string> chosen = platform_.dialogs.OpenFile(IconDialog());
  if (!chosen) return;
  view_.SetText(Control::EditIconPath, *chosen);
  IconPathEdited(*chosen);
}

void MainWindowLogic::TitleEdited(const std::string& text) {
  fields_.Text(Control::EditTitle) = text;
  settings_.Title = text;
  ShowDisplayTitle(TitleFallback::WithExecutablePath);
}

void MainWindowLogic::PicturePathEdited(const std::string& text) {
  Files& files = platform_.files;
  fields_.Text(Control::EditImagePath) = text;
  settings_.ImagePath = text;
  if (!files.FileExists(settings_.ImagePath)) return;  // the picture on screen stays
  settings_.ImagePath = files.FullPath(settings_.ImagePath);
  LoadTitlePicture(view_, platform_.dialogs, settings_.ImagePath);
}

void MainWindowLogic::IconPathEdited(const std::string& text) {
  Files& files = platform_.files;
  fields_.Text(Control::EditIconPath) = text;
  settings_.IconPath = text;
  if (!files.FileExists(settings_.IconPath)) return;
  settings_.IconPath = files.FullPath(settings_.IconPath);
  LoadApplicationIcon(view_, platform_.dialogs, settings_.IconPath);
}

void MainWindowLogic::SaveSettings() {
  if (!settingsMode_) return;  // only reachable from settings mode
  Files& files = platform_.files;
  Dialogs& dialogs = platform_.dialogs;

  // The fields keep showing what was typed; the stored paths are shortened.
  settings_.DBPath = ShortenPath(files, fields_.Text(Control::EditDBpath), settingsPath_);
  settings_.Title = fields_.Text(Control::EditTitle);
  settings_.ImagePath = ShortenPath(files, fields_.Text(Control::EditImagePath), settingsPath_);
  settings_.IconPath = ShortenPath(files, fields_.Text(Control::EditIconPath), settingsPath_);
  settings_.Customize = fields_.Ticked(Control::CboxNonCustom) ? Word::Disable : Word::Enable;
  settings_.MDBbak = fields_.Ticked(Control::CboxMDBbak) ? Word::Use : Word::Never;
  settings_.UnClose = fields_.Ticked(Control::CboxUnClose) ? Word::Use : Word::Never;

  const SettingsWrite written = SaveMainSettings(files, settingsPath_, settings_);
  if (!written.ok) {
    // Nothing further: the snapshot stays and the user stays in settings mode.
    dialogs.ShowError(SettingsWriteFailureMessage(platform_.system, written));
    return;
  }
  dialogs.ShowMessage(messages::kSettingsSaved);

  if (IsDatabaseTarget(snapshotSourcePath_)) {
    dialogs.ShowMessage(messages::kRunEndedBySave);
    // The last run's changes stay in the target; its snapshot is let go, so
    // no end-of-run action may put it back or keep it as the backup copy.
    history::RunLog log = OpenRunLog();
    ShowErrors(DropSnapshot(files, platform_.system, RunFilesFor(snapshotSourcePath_), snapshot_, &snapshotHold_,
                            {HistoryKeep(), &log}));
    snapshot_ = RunSnapshot{};
  }

  ShowDisplayTitle(TitleFallback::Bare);
  ApplyLayout(view_, EndModeLayout(settings_, kCompactHeight));
  settingsMode_ = false;
}

void MainWindowLogic::DiscardSettingsEdits() {
  if (!settingsMode_) return;  // nothing to put back
  // The target and the switches go back to the values in force, so the
  // end-of-run actions keep working on the file whose snapshot was taken.
  // The title, picture and icon stay as previewed.
  settings_.DBPath = entry_.settings.DBPath;
  settings_.Customize = entry_.settings.Customize;
  settings_.MDBbak = entry_.settings.MDBbak;
  settings_.UnClose = entry_.settings.UnClose;
  fields_.Text(Control::EditDBpath) = entry_.fields.Text(Control::EditDBpath);
  fields_.ticks = entry_.fields.ticks;
  view_.SetText(Control::EditDBpath, fields_.Text(Control::EditDBpath));
  ShowSwitches();
  ApplyLayout(view_, EndModeLayout(settings_, kCompactHeightAfterDiscard));
  settingsMode_ = false;
}

void MainWindowLogic::OpenBackup() { view_.OpenBackupWindow(); }

void MainWindowLogic::TextEdited(Control field, const std::string& text) {
  switch (field) {
    case Control::EditTitle: TitleEdited(text); break;
    case Control::EditImagePath: PicturePathEdited(text); break;
    case Control::EditIconPath: IconPathEdited(text); break;
    case Control::EditDBpath:
      // No change handler: the target is taken from the field when used.
      fields_.Text(field) = text;
      break;
    default: break;
  }
}

void MainWindowLogic::SwitchClicked(Control box, bool ticked) {
  // Taken over into the settings only when they are saved.
  if (IsIn(kMainSwitches, box)) fields_.Ticked(box) = ticked;
}

void MainWindowLogic::ControlUsed(Control c) {
  switch (c) {
    case Control::BitBtnAcRepair: RepairDatabase(); break;
    case Control::BitBtnAcCompact: CompactDatabase(); break;
    case Control::BitBtnBackup: OpenBackup(); break;
    case Control::BitBtnAcQuit: DiscardAndExit(); break;
    case Control::BitBtnAcSave: SaveAndContinue(); break;
    case Control::BitBtnRestart: Restart(); break;
    case Control::BitBtnAcExit: SaveAndExit(); break;
    case Control::BitBtnExit: ExitWithoutAction(); break;
    case Control::BitBtnDBpath: ChooseTargetFile(); break;
    case Control::BitBtnCustom: EnterSettingsMode(); break;
    case Control::BitBtnClose: DiscardSettingsEdits(); break;
    case Control::BitBtnOK: SaveSettings(); break;
    case Control::BitBtnImage: ChoosePictureFile(); break;
    case Control::BitBtnIcon: ChooseIconFile(); break;
    default: break;
  }
}

}  // namespace quandrel
