// MainWindowLogic: the main window's logic. It holds the main settings and the
// launch-cycle state for the whole run and decides what the view shows; the
// view (MainView) draws the controls and forwards the user's actions here.
#pragma once

#include <string>
#include <vector>

#include "main_window/display_title.h"
#include "main_window/main_view.h"
#include "history/run_log.h"
#include "launch/end_of_run.h"
#include "launch/shared_use.h"
#include "launch/snapshot.h"
#include "platform/platform.h"
#include "platform/processes.h"
#include "settings/settings.h"

namespace quandrel {

class MainWindowLogic : public MainViewEvents {
 public:
  MainWindowLogic(Platform& platform, MainView& view);

  // Set-up of the window, then the whole first launch cycle; returns when
  // the launched program has ended, with the window shown in end mode.
  void StartAndRunFirstLaunch();
  void WindowDestroyed();  // shows the application window again

  // MainViewEvents: each goes to its handler below.
  void ControlUsed(Control button) override;
  void TextEdited(Control field, const std::string& text) override;
  void SwitchClicked(Control box, bool ticked) override;
  void ControlsMade() override { ShowFields(); }
  // A press of either button on the tray icon is taken, and opens nothing.
  bool TrayIconUsed(TrayMouse action) override;
  void WindowClosed() override { WindowDestroyed(); }

  // End-of-run actions
  void DiscardAndExit();
  void SaveAndExit();
  void SaveAndContinue();
  void Restart();
  void ExitWithoutAction();  // closes the window; no file is touched
  void CompactDatabase();
  void RepairDatabase();

  // Settings editing
  void EnterSettingsMode();
  void ChooseTargetFile();
  void ChoosePictureFile();
  void ChooseIconFile();
  // The user's edits of the title, picture and icon fields, with the text
  // the field now shows (TextEdited calls them).
  void TitleEdited(const std::string& text);
  void PicturePathEdited(const std::string& text);
  void IconPathEdited(const std::string& text);
  void SaveSettings();          // OK in settings mode
  void DiscardSettingsEdits();  // leaves settings mode, putting the target and switches back
  void OpenBackup();
  void OpenHistory();

  // The drive names table "A:".."Z:" (filled by StartAndRunFirstLaunch), for the backup window.
  const std::vector<std::string>& DriveNames() const;
  const std::string& SettingsPath() const;
  // For the history window: the target the end-of-run actions work on, and
  // History: the generations to keep (0: off), as the settings file says.
  const std::string& Target() const { return TargetPath(); }
  int HistoryKeep() const;

  // For inspection: the main settings held in memory, the values the
  // fields show, and the snapshot the current run still has on disk (none
  // after a failed copy or a save).
  const MainSettings& Settings() const { return settings_; }
  const MainFields& Fields() const { return fields_; }
  const RunSnapshot& Snapshot() const { return snapshot_; }

 private:
  const std::string& TargetPath() const;  // the text of EditDBpath
  // End mode shows the history button (History on, or history there).
  bool OffersHistory() const;
  void ShowFields();    // every field's value
  void ShowSwitches();  // the switches' ticks
  void ShowDisplayTitle(TitleFallback fallback);
  void ShowErrors(const std::vector<std::string>& errors);
  // Starts the target again, waits for it and brings the window back.
  void Relaunch();
  // Starts the command line, watches the process and ends the watch; a
  // start that fails is reported first.
  void RunAndWatch(const std::string& commandLine, bool appWindowFirst);
  // The user learns that no target is set, and where to set one.
  void TellNoTarget();
  // Right when a run has ended: an error box when it left the target
  // damaged while a sound version is there to go back to.
  void ReportDamagedTarget();
  // A save of a damaged target is asked about first, "No" the default;
  // false (and a message) when the user does not confirm it.
  bool SaveConfirmed(const RunFiles& run);
  // The record of runs beside the settings file (writes nothing while
  // History is off).
  history::RunLog OpenRunLog();

  Platform& platform_;
  MainView& view_;

  std::string exePath_;
  std::string settingsPath_;
  std::vector<std::string> driveNames_;
  MainSettings settings_;
  MainFields fields_;  // what the fields show: the one copy of their values

  std::string launchCommand_;       // found once at start-up, reused by relaunches
  std::string snapshotSourcePath_;  // EditDBpath when settings mode was entered
  RunSnapshot snapshot_;            // the snapshot this run took and still has
  SnapshotHold snapshotHold_;       // keeps that snapshot from other runs
  ProcessRecord process_;
  OthersSeen othersSeen_{platform_.files, platform_.system};  // in the lock file during this run
  std::string accessPath_;  // Microsoft Access, as the last lookup that found it said

  bool settingsMode_ = false;
  // What settings mode started from, put back by a discard.
  struct Entry {
    MainFields fields;
    MainSettings settings;
  } entry_;
};

}  // namespace quandrel
