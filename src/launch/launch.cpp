#include "launch/launch.h"

#include "launch/database_check.h"

#include "text/messages.h"
#include "text/sjis.h"

namespace quandrel {

namespace {

// The one word that turns the close lock on; "use", "USE" or anything else
// leaves every window alone.
bool LocksClose(const SettingWord& unClose) { return unClose == Word::Use; }

// Cuts `command` before the byte that precedes the first `token`: a token at
// 1-based byte p keeps the first p - 2 bytes, nothing when p - 2 <= 0.
std::string CutBefore(const std::string& command, const std::string& token) {
  std::size_t at = text::ByteFind(command, token);  // 0-based, so p - 2 == at - 1
  if (at == std::string::npos) return command;
  if (at < 2) return std::string();
  return command.substr(0, at - 1);
}

}  // namespace

std::string LookUpLaunchCommand(Registry& registry, Dialogs& dialogs, const std::string& targetPath) {
  // With no target there is nothing to look up: no key is opened and no
  // message shown, so callers may pass the field's text as it stands.
  if (targetPath.empty()) return std::string();

  const std::string ext = text::Extension(targetPath);  // as written: ".mdb" stays ".mdb"

  // Each key that cannot be opened is reported and the chain goes on with
  // what it has; only a missing shell key ends it. File types and their
  // commands are the same in both registry views, so the own one serves.
  auto read = [&registry](const std::string& subkey, std::string* value) {
    return registry.ReadDefaultValue(Hive::ClassesRoot, RegistryView::Own, subkey, value);
  };
  std::string fileClass;
  if (!read(ext, &fileClass)) {
    fileClass.clear();
    dialogs.ShowMessage(messages::Fill(messages::kExtensionUnreadable, {ext}));
  }

  std::string verb;
  if (!read(fileClass + "\\shell", &verb)) {
    dialogs.ShowMessage(messages::Fill(messages::kClassUnknown, {fileClass}));
    return std::string();
  }

  // The verb stands in for the command until the command is found; a verb
  // without a command key leaves the verb itself as the launch command.
  std::string launchCommand = verb;
  std::string command;
  if (verb.empty()) {
    if (read(fileClass + "\\shell\\open\\command", &command)) {
      launchCommand = command;
    } else {
      dialogs.ShowMessage(messages::Fill(messages::kDefaultVerbBroken, {ext}));
    }
  } else {
    if (read(fileClass + "\\shell\\" + verb + "\\command", &command)) {
      launchCommand = command;
    } else {
      dialogs.ShowMessage(messages::Fill(messages::kVerbNotRunnable, {ext}));
    }
  }
  return CleanUpCommand(launchCommand);
}

std::string CleanUpCommand(const std::string& command) {
  // '"', '%' and '1' are never the second byte of a double-byte character,
  // so a byte-wise search finds only real tokens.
  return CutBefore(CutBefore(command, "\"%1\""), "%1");
}

bool IsProgramFile(const std::string& targetPath) {
  return text::HasExtension(targetPath, ".EXE") || text::HasExtension(targetPath, ".BAT") ||
         text::HasExtension(targetPath, ".PIF");
}

std::string LaunchCommandLine(const std::string& launchCommand, const std::string& targetPath) {
  if (IsProgramFile(targetPath)) return "\"" + targetPath + "\"";
  return launchCommand + " \"" + targetPath + "\"";
}

bool TakesSnapshot(const std::string& targetPath, const SettingWord& mdbBak) {
  return IsDatabaseTarget(targetPath) && mdbBak != Word::Never;
}

std::string TrayTip(const std::string& editTitle) {
  // The tray keeps 63 bytes and a terminating zero. The cut keeps whole
  // characters: a lead byte left before that zero would make the tray read
  // past the end of its tip.
  return text::CutCharacters("【" + text::FileNamePart(editTitle) + "】稼働中...", 63);
}

std::vector<std::uintptr_t> WindowsToLock(const std::vector<TopLevelWindow>& windows,
                                          std::uint32_t primaryThreadId,
                                          const SettingWord& unClose) {
  std::vector<std::uintptr_t> locked;
  // Thread id 0 is what the system reports for a window that is already
  // gone; it never names the launched program's thread.
  if (!LocksClose(unClose) || primaryThreadId == 0) return locked;
  for (const TopLevelWindow& w : windows) {
    if (w.threadId == primaryThreadId) locked.push_back(w.handle);
  }
  return locked;
}

void EnterTray(LauncherShell& shell, const std::string& editTitle) {
  shell.AddTrayIcon(TrayTip(editTitle));
  shell.ShowMainWindow(false);
  shell.ShowApplicationWindow(false);
}

void WatchProcess(Processes& processes, Desktop& desktop, LauncherShell& shell,
                  const ProcessRecord& record, const std::function<SettingWord()>& unClose) {
  // A failed start holds no process: its first wait reports Over at once.
  bool prepared = false;
  while (processes.Wait(record, 1000) == WaitOutcome::StillRunning) {
    // The main window is made ready for the run's end once the program has
    // had its first second to itself: made at once, it would slow the
    // program's own start.
    if (!prepared) {
      shell.PrepareMainWindow();
      prepared = true;
    }
    // UnClose is read afresh each pass so that a change made meanwhile
    // applies at once. When it does not lock, the windows are not even
    // listed: nothing would be done to any of them.
    const SettingWord mode = unClose ? unClose() : SettingWord::FromText("");
    if (LocksClose(mode)) {
      for (std::uintptr_t w : WindowsToLock(desktop.TopLevelWindowsOf(record.threadId), record.threadId, mode)) {
        desktop.DisableClose(w);
      }
    }
    shell.PumpMessages();
  }
}

void EndWatch(LauncherShell& shell, bool appWindowFirst) {
  shell.RemoveTrayIcon();
  if (appWindowFirst) {
    shell.ShowApplicationWindow(true);
    shell.ShowMainWindow(true);
  } else {
    shell.ShowMainWindow(true);
    shell.ShowApplicationWindow(true);
  }
  shell.BringToFront();
}

}  // namespace quandrel
