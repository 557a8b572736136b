// Compaction and repair of the database by Microsoft Access: where Access
// is found, its command lines, which files of the target's folder are
// offered for compaction too, and the two runs as the main window starts them.
#pragma once

#include <functional>
#include <string>

#include "history/run_log.h"
#include "launch/launcher_shell.h"
#include "platform/os_result.h"
#include "platform/platform.h"
#include "platform/processes.h"
#include "settings/setting_word.h"

namespace quandrel {

// The key below HKEY_LOCAL_MACHINE whose default value is Access's path.
extern const char kAccessAppPathKey[];

enum class AccessJob { Compact, Repair };

// The Access path and the database path, each in double quotes, then the
// switch: "C:\Office\MSACCESS.EXE" "D:\DB\SALES.MDB" /Compact
std::string AccessCommandLine(const std::string& accessPath, const std::string& databasePath, AccessJob job);

// Everything before the file-name part of the target: its folder with the
// trailing backslash ("D:\DB\" of "D:\DB\SALES.MDB"), empty for a bare name.
std::string TargetFolder(const std::string& targetPath);

// What the scan searches for: every entry of the target's folder
// (folder + "*"); OffersEntry picks the databases of both kinds.
std::string SameFolderPattern(const std::string& targetPath);

// Whether the scan asks about this entry of the target's folder: its name
// ends in ".MDB" or ".ACCDB" and is not the target's. The target itself is
// recognised by its name upper-cased byte by byte, and skipped. The names
// are the entries' own: a search for "*.MDB" would also match names through
// their short 8.3 aliases ("SALES.MDBX" is "SALES~1.MDB"), which is why the
// scan lists everything and judges each long name. Attributes play no
// part: a folder named "OLD.MDB" is offered.
bool OffersEntry(const std::string& entryName, const std::string& targetPath);

// "「 SALES.MDB 」の最適化が終了しました。" for the target's file-name part.
std::string CompactionDoneMessage(const std::string& targetPath);
// The question before another file of the folder is compacted.
std::string OtherFileQuestion(const std::string& entryName);

// Reads Access's path from the registry, in the program's own registry view
// first, then in the other one. A lookup that finds no path in either (key
// missing, or empty) keeps the one an earlier lookup found; false when
// there is still none.
bool LookUpAccess(Registry& registry, std::string* accessPath);

// One compaction or repair, started from the main window in end mode. The
// application window (the taskbar button) is hidden while Access runs, the
// main window stays on screen, and the watch loop runs with the close lock
// on Access's windows but without a tray icon.
class AccessMaintenance {
 public:
  // `process` is the record shared with the launches; `accessPath` lives as
  // long as the main window, so a later failed lookup keeps it.
  // `log` (may be null) gets a line for each start of Access.
  AccessMaintenance(Platform& platform, LauncherShell& shell, ProcessRecord& process,
                    std::function<SettingWord()> unClose, std::string& accessPath,
                    history::RunLog* log = nullptr);

  // Compacts the target, says so, then offers the other database entries of
  // its folder one by one (Yes: compact it too, Abort: stop, No: next) and
  // ends with the closing message. When Access is not registered or can't
  // be started, an error box says why and nothing else happens. A database
  // open elsewhere is not compacted: an error box says who has it open; for
  // the target nothing else happens, another file is skipped.
  void Compact(const std::string& targetPath);
  // Repairs the target; no message unless Access can't be found or started,
  // or the target is open elsewhere (then Access is not started).
  void Repair(const std::string& targetPath);

 private:
  // True, after an error box saying so, when the database is open elsewhere.
  bool RefusedAsOpenElsewhere(const std::string& databasePath);
  bool FindAccess();
  // Starts Access on the database and waits until it has ended.
  OsResult RunAccess(const std::string& databasePath, AccessJob job);
  void ShowStartFailure(OsResult result);

  Platform& platform_;
  LauncherShell& shell_;
  ProcessRecord& process_;
  std::function<SettingWord()> unClose_;
  std::string& accessPath_;
  history::RunLog* log_;
};

}  // namespace quandrel
