// Process entry: the single-instance guard, the two lasting windows and the
// message loop.
#include <windows.h>

#include "backup_window/win32/backup_window.h"
#include "history_window/win32/history_window.h"
#include "main_window/main_window_logic.h"
#include "main_window/win32/main_window.h"
#include "wait_window/win32/wait_window_view.h"
#include "main/instance_guard.h"
#include "main/win32/instance_mutex.h"
#include "platform/win32/dll_search.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"

using namespace quandrel;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Before anything can load a DLL by name: none from the program's folder.
  win32::RestrictDllSearchToSystem();

  win32::Win32System system;
  const std::string exePath = system.ExecutablePath();

  win32::Win32Files files;

  // A second start of the same executable file is refused before anything
  // else happens: no window, no settings, no tray icon. The guard is named
  // from the file's final path, so that other spellings of the path (letter
  // case, another drive letter, a short name) meet the same guard; the
  // refusal names the path as this start spelled it.
  win32::InstanceMutex guard;
  const std::string guardPath = GuardPath(exePath, files.FinalPath(exePath));
  if (guard.Acquire(InstanceName(guardPath)) == win32::InstanceMutex::Outcome::AlreadyRunning) {
    ::MessageBoxA(nullptr, SecondStartMessage(exePath).c_str(), "エラー", MB_OK | MB_ICONERROR);
    return 0;
  }

  std::unique_ptr<win32::MainWindow> window = win32::MainWindow::Create(instance);
  if (!window) return 0;
  win32::Win32Registry registry;
  win32::Win32Processes processes;
  win32::Win32Desktop desktop;
  // Boxes belong to the main window while it is on screen; during a run it
  // is hidden and they stand on their own.
  win32::Win32Dialogs dialogs(
      [&]() -> HWND { return ::IsWindowVisible(window->Handle()) ? window->DialogOwner() : nullptr; },
      [&] { return window->ApplicationTitle(); });
  Platform platform{files, registry, processes, desktop, dialogs, system};

  MainWindowLogic form(platform, *window);
  window->Attach(&form);
  // Each backup window gets the drive names table and the settings file of
  // the main window, read when the window is made.
  auto makeBackup = [&](HWND owner) {
    return win32::BackupForm::Create(instance, owner, platform, form.DriveNames(), form.SettingsPath());
  };
  window->SetBackupFactory(makeBackup);
  auto makeWait = [instance](HWND owner) -> std::unique_ptr<WaitWindow> {
    return win32::WaitWindowView::Open(instance, owner);
  };
  window->SetWaitFactory(makeWait);
  // Each history window lists the target the end-of-run actions work on.
  window->SetHistoryFactory([&](HWND owner) {
    return win32::HistoryForm::Create(instance, owner, platform, form.Target(), form.SettingsPath(),
                                      form.HistoryKeep(), makeWait);
  });
  form.StartAndRunFirstLaunch();

  // The backup window created at start reads the settings and queries its
  // drive like every other, but stays hidden for the whole run.
  std::unique_ptr<win32::BackupForm> backup = makeBackup(window->Handle());

  win32::MainWindow::RunMessageLoop();
  guard.Release();
  return 0;
}
