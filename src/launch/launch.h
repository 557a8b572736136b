// The launch cycle's decisions and steps: the association lookup, the
// command lines, the tray tip, the close lock and the watch loop.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "launch/launcher_shell.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "settings/setting_word.h"

namespace quandrel {

// The command registered for the target's extension below HKEY_CLASSES_ROOT,
// found through the class's shell key and its default (or open) verb, with
// a plain message for each key that cannot be opened; then cleaned up.
// An empty target path yields an empty command with no key opened and no
// message, so the caller need not test for it.
std::string LookUpLaunchCommand(Registry& registry, Dialogs& dialogs, const std::string& targetPath);

// Cuts the command before the byte that precedes its first "\"%1\"", then,
// on the result, likewise before its first "%1".
std::string CleanUpCommand(const std::string& command);

// The target is a program file: ".EXE", ".BAT" or ".PIF" in any case.
bool IsProgramFile(const std::string& targetPath);

// A program file is started as its quoted path alone; anything else as the
// launch command, a blank and the quoted path.
std::string LaunchCommandLine(const std::string& launchCommand, const std::string& targetPath);

// A launch takes a snapshot of a database target (".MDB" or ".ACCDB") unless
// MDBbak is exactly "Never".
bool TakesSnapshot(const std::string& targetPath, const SettingWord& mdbBak);

// "【" + name part of the title field + "】稼働中...", cut to 63 bytes.
std::string TrayTip(const std::string& editTitle);

// The windows the close lock touches: those created by the launched
// program's primary thread, and only while UnClose is exactly "Use".
std::vector<std::uintptr_t> WindowsToLock(const std::vector<TopLevelWindow>& windows,
                                          std::uint32_t primaryThreadId,
                                          const SettingWord& unClose);

// Tray entry: icon up with the tip, main window and taskbar button hidden.
void EnterTray(LauncherShell& shell, const std::string& editTitle);

// Waits for the started process one second at a time; after each second it
// still runs, the close lock runs (UnClose read afresh each pass) and the
// pending messages are handled. After the first such second the main window
// is prepared for the run's end. Returns when the process has ended or
// there is none.
void WatchProcess(Processes& processes, Desktop& desktop, LauncherShell& shell,
                  const ProcessRecord& record, const std::function<SettingWord()>& unClose);

// Watch end: tray icon removed, main window and taskbar button back (the
// application window first when appWindowFirst), the application in front.
void EndWatch(LauncherShell& shell, bool appWindowFirst);

}  // namespace quandrel
