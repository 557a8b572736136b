// The classic form names and the code's names for the same things.
//
// The registered window classes and the control identifiers keep the form
// designer's names (`TFormMain`, `EditDBpath`, `BitBtnAcSave`, ...), since
// the platform, the tests and older notes find the windows by them. The code
// names its folders, classes and handlers for what they do:
//
//   form name / handler        code
//   -------------------------  ----------------------------------------------
//   TFormMain (MainMenu)       main_window/: MainWindowLogic, view MainView,
//                              win32::MainWindow (+ TaskbarWindow, TrayIcon)
//     FormCreate               StartAndRunFirstLaunch
//     FormDestroy              WindowDestroyed
//     WMNotifyIcon             TrayIconUsed
//     BitBtnAcQuitClick        DiscardAndExit
//     BitBtnAcExitClick        SaveAndExit
//     BitBtnAcSaveClick        SaveAndContinue
//     BitBtnRestartClick       Restart
//     BitBtnExitClick          ExitWithoutAction
//     BitBtnAcCompactClick     CompactDatabase
//     BitBtnAcRepairClick      RepairDatabase
//     BitBtnCustomClick        EnterSettingsMode
//     BitBtnDBpathClick        ChooseTargetFile
//     BitBtnImageClick         ChoosePictureFile
//     BitBtnIconClick          ChooseIconFile
//     EditTitleChange          TitleEdited
//     EditImagePathChange      PicturePathEdited
//     EditIconPathChange       IconPathEdited
//     BitBtnOKClick            SaveSettings
//     BitBtnCloseClick         DiscardSettingsEdits
//     BitBtnBackupClick        OpenBackup
//     BitBtnHistoryClick       OpenHistory
//   TFormBackUp (BackUp)       backup_window/: BackupWindowLogic, view
//                              BackupView, win32::BackupWindow / BackupForm
//     FormCreate               LoadAndShowOptions
//     RadioGroupDrvClick       DriveChosen
//     BtnDrvLeftClick          ShowFreeSpace
//     EditPreFixChange         PrefixFocusChanged
//     ButtonGoClick            StartCopy
//     BitBtnCloseClick         SaveOptionsAndClose
//     CheckBox...Click         CheckBox...Click (named for the box clicked)
//   TFormHistory               history_window/: HistoryWindowLogic, view
//                              HistoryView, win32::HistoryWindow / HistoryForm
//     FormCreate               ShowHistory
//     ListViewHistory          RowChosen
//     BitBtnRestoreClick       RestoreChosen
//     BitBtnCloseClick         ControlUsed (closes)
//   TFormSplash (Splash)       wait_window/: win32::WaitWindowView, seen by the
//                              logic as WaitWindow (launch/wait_window.h)
#pragma once
