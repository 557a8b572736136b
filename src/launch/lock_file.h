// The lock file the database engine keeps beside an open Access database:
// "SALES.ldb" beside "SALES.mdb", "SALES.laccdb" beside "SALES.accdb".
// It holds one record of 64 bytes for each connection made since the file
// was created: the computer's name in the first 32 bytes, the user's name
// (the engine's, "Admin" unless the database has its own users) in the
// other 32, each ended or padded with zero bytes. Records of people who
// have left may remain; the engine removes the file when the last one
// closes the database, though not always after a crash.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"

namespace quandrel {

struct LockFileEntry {
  std::string computer;
  std::string user;
};

// Both entries name the same person: the same user on the same computer,
// the computer's name compared with ASCII letter case aside.
bool SamePerson(const LockFileEntry& a, const LockFileEntry& b);

constexpr std::size_t kLockRecordSize = 64;
constexpr std::size_t kLockNameSize = 32;
// The engine allows 255 connections, so a longer file holds nothing more
// worth reading: no more than that many records are ever read.
constexpr std::size_t kMaxLockRecords = 255;

// The database's path with its extension replaced: ".laccdb" for ".accdb"
// (letter case aside), ".ldb" for ".mdb" and any other; ".ldb" appended to
// a name without one. The engine writes the new extension in lower case.
std::string LockFilePath(const std::string& databasePath);

// The people the records name, in file order, each pair once. A name ends
// at its first zero byte or with its 32 bytes; blanks around it go, and
// bytes that are no printable Shift-JIS show as '?'. Empty records are
// skipped; a last record cut short counts when its computer name is whole.
std::vector<LockFileEntry> ParseLockFile(const std::string& bytes);

// The records of the lock file at `lockPath`, at most kMaxLockRecords of
// them, whatever the file's size; nothing when there is no such file or it
// can't be read.
std::optional<std::vector<LockFileEntry>> ReadLockFile(Files& files, const std::string& lockPath);

// The entry names this computer (names compared with ASCII letter case
// aside, as the network does). An empty computer name matches nobody.
bool IsOnComputer(const LockFileEntry& entry, const std::string& computerName);

}  // namespace quandrel
