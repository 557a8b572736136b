// Earlier states of the database (generations), kept in one folder beside it
// when the setting History is above 0: every state that an action replaces
// or removes is moved there instead of being deleted.
//
// The folder is "<target's file name> の履歴" beside the target; each
// generation's name is the time it was set aside, the action that did it and
// the target's extension: "20261210-093005 保存終了.mdb". Names sort by time
// in Explorer, open with the database's program by double-click, and are
// read-only so that opening one by accident changes nothing. Two in the same
// second get "-2", "-3", ... after the time.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/os_result.h"
#include "platform/system.h"

namespace quandrel::history {

// What made a generation: the action whose step would have replaced or
// removed that state.
enum class Reason {
  SaveAndExit,      // the backup copy a save & exit replaced
  SaveAndContinue,  // the backup copy a save & continue replaced
  Discard,          // the target as the run left it, before discard & exit
  BeforeRestore,    // the target before a restore
  SettingsSave,     // the run's snapshot, which the settings save lets go
  Interrupted,      // the snapshot of a run that never ended
};

// The word for a reason in names, the log and the history window
// ("保存終了", "保存継続", "破棄終了", "復元前", "設定保存", "中断").
const char* ReasonWord(Reason reason);

// A time stamp as names carry it ("20261210-093005") as people read it
// ("2026/12/10 09:30:05"); any other text as it is.
std::string StampAsDateTime(const std::string& stamp);

// "<folder>\<target file name> の履歴".
std::string FolderFor(const std::string& target);

// A name made by NameFor: "<stamp>[-n] <reason word><target's extension>".
std::string NameFor(const std::string& stamp, int sequence, Reason reason, const std::string& target);

struct Generation {
  std::string path;
  std::string stamp;      // "20261210-093005"
  int sequence = 1;       // 1, or 2.. for more in the same second
  Reason reason = Reason::SaveAndExit;
  std::uint64_t size = 0;
  std::uint64_t lastWrite = 0;  // the platform's count, as FileEntry gives it
  bool readOnly = false;
};

// The stamp, sequence and reason of a generation's file name; none for any
// other name (a file a user put in the folder is no generation).
std::optional<Generation> ParseName(const std::string& name);

// The target's generations, newest first.
std::vector<Generation> List(Files& files, const std::string& target);

// Whether a file holds a sound database (the database check); null counts
// every file as sound.
using DatabaseCheck = std::function<bool(const std::string& path)>;

// The result of setting one state aside.
struct Kept {
  OsResult result;          // failed: nothing changed
  std::string generation;   // the new generation's path when kept
  bool moved = false;       // the source is gone (moved); false: copied, the source is still there
  OsResult markedReadOnly;  // the read-only mark of the generation
};

// Sets the state in `source` (the target, its snapshot or its backup copy)
// aside as a new generation of `target`, by a move within the volume, or by
// a checked copy when the folder is on another volume. The caller replaces
// or removes the source next, or calls PutBack when that step fails.
Kept Keep(Files& files, System& system, const std::string& target, const std::string& source, Reason reason);

// Undoes a Keep whose following step failed: a moved generation goes back to
// `source` (writable again); a copied one is removed. Fails when that can't
// be done; the state is then still in the generation.
OsResult PutBack(Files& files, const Kept& kept, const std::string& source);

struct Pruned {
  std::vector<std::string> removed;
  // Generations that should have gone and could not, with the reason.
  std::vector<std::pair<std::string, OsResult>> failed;
};

// Removes the oldest generations until at most `keep` remain. The newest
// generation that passes the database check is never removed: when none of
// the `keep` newest passes, the newest older one that does stays as well.
Pruned Prune(Files& files, const std::string& target, int keep, const DatabaseCheck& check);

}  // namespace quandrel::history
