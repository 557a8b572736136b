// TFormMain: the main window's logic. It holds the main settings and the
// launch-cycle state for the whole run and decides what the view shows; the
// view (MainView) draws the controls and forwards the user's actions here.
#pragma once

#include <string>
#include <vector>

#include "MainMenu/main_view.h"
#include "platform/platform.h"
#include "platform/processes.h"
#include "settings/settings.h"

namespace quandrel {

class TFormMain {
 public:
  TFormMain(Platform& platform, MainView& view);

  // Creation: set-up of the window, then the whole first launch cycle; returns
  // when the launched program has ended, with the window shown in end mode.
  void FormCreate();
  void FormDestroy();  // shows the application window again
  // Tray icon callback (message 1024): true when consumed (WM_LBUTTONDOWN 513,
  // WM_RBUTTONDOWN 516); false: pass to default handling.
  bool WmNotifyIcon(long lParam);

  // End-of-run actions
  void BitBtnAcQuitClick();  // discard & exit
  void BitBtnAcExitClick();  // save & exit
  void BitBtnAcSaveClick();  // save & continue
  void BitBtnRestartClick();
  void BitBtnExitClick();
  void BitBtnAcCompactClick();
  void BitBtnAcRepairClick();

  // Settings editing
  void BitBtnCustomClick();
  void BitBtnDBpathClick();
  void BitBtnImageClick();
  void BitBtnIconClick();
  void EditTitleChange();  // the view calls these on the user's edits
  void EditImagePathChange();
  void EditIconPathChange();
  void BitBtnOKClick();
  void BitBtnCloseClick();
  void BitBtnBackupClick();

  // The drive names table "A:".."Z:" (filled by FormCreate), for the backup window.
  const std::vector<std::string>& DriveNames() const;
  const std::string& SettingsPath() const;

  // For inspection: the main settings held in memory, and whether the
  // current run still has a snapshot of its target on disk.
  const MainSettings& Settings() const { return settings_; }
  bool HasSnapshot() const { return hasSnapshot_; }

 private:
  Platform& platform_;
  MainView& view_;

  std::string exePath_;
  std::string settingsPath_;
  std::vector<std::string> driveNames_;
  MainSettings settings_;

  std::string launchCommand_;       // found once at start-up, reused by relaunches
  std::string snapshotSourcePath_;  // the target whose snapshot this run took
  bool hasSnapshot_ = false;        // that snapshot was taken and is still ours
  ProcessRecord process_;
};

}  // namespace quandrel
