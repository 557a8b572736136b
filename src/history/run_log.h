// The record of runs: while History is above 0, every step that changes or
// copies a database file is one line of a plain text file beside the
// settings file ("Quandrel.LOG" beside "Quandrel.INI"), in Shift-JIS with
// CR LF line ends, fields separated by tabs:
//
//   2026/12/10 09:30:05 <TAB> computer <TAB> user <TAB> action <TAB> from
//   <TAB> to <TAB> 成功 | 失敗: reason
//
// Several computers may append to one file on a shared folder: each line is
// one append. When the file would grow past its limit it is renamed to
// "Quandrel.1.LOG" (replacing the one before) and a new file begins.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/os_result.h"
#include "platform/system.h"

namespace quandrel::history {

// The settings file's path with ".INI" replaced by ".LOG", and the previous
// part of the log ("<name>.1.LOG").
std::string LogPathFor(const std::string& settingsPath);
std::string OlderLogPathFor(const std::string& settingsPath);

// Above this size the log is rotated before the next line.
constexpr std::uint64_t kLogLimitBytes = 1024 * 1024;

struct LogEntry {
  std::string time;      // "2026/12/10 09:30:05"
  std::string computer;
  std::string user;
  std::string action;    // the action's word ("保存終了", "復元", ...)
  std::string from;
  std::string to;
  std::string result;    // "成功", or "失敗: " and the reason
};

// One line, CR LF included. Tabs and line ends inside a field become blanks
// and each field is cut to whole characters, so a line is always one line.
std::string FormatLine(const LogEntry& entry);
// The fields of one line (without its line end); none when it has too few.
std::optional<LogEntry> ParseLine(const std::string& line);

// The log's word for taking the snapshot of the target before a run (the
// other steps go by the words of the actions: ReasonWord, kRestoreAction,
// kPruneAction).
extern const char kSnapshotAction[];
// The words for the other steps that change or copy files: Microsoft
// Access's compaction and repair of the target (the line tells of the
// start, since Access reports nothing back), and the start of the folder's
// backup copy.
extern const char kCompactAction[];
extern const char kRepairAction[];
extern const char kBackupAction[];

// Writes the lines of one action's steps.
class RunLog {
 public:
  // The log that belongs to this settings file; with `enabled` false
  // (History 0) it writes nothing.
  RunLog(Files& files, System& system, const std::string& settingsPath, bool enabled,
         std::uint64_t limit = kLogLimitBytes);

  bool Enabled() const { return !path_.empty(); }
  // Appends one line for a step: the result's reason in the platform's
  // words when it failed. The first failure of the append is returned; the
  // action goes on whatever the log does.
  OsResult Step(const std::string& action, const std::string& from, const std::string& to, OsResult result);

 private:
  OsResult Append(const std::string& line);

  Files& files_;
  System& system_;
  std::string path_;   // empty when disabled
  std::string older_;
  std::uint64_t limit_;
};

// Who made each file: the computer and user of the last line (in either
// part of the log) whose step succeeded with that file as its destination,
// keyed by the destination upper-cased.
struct Maker {
  std::string computer;
  std::string user;
};
std::map<std::string, Maker> MakersFromLog(Files& files, const std::string& settingsPath);

}  // namespace quandrel::history
