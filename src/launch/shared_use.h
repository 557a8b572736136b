// A database on a shared folder that colleagues open too: whether it is open
// elsewhere right now, who the lock file names, and who else a run saw.
//
// Every action that replaces or rewrites the database (discard & exit,
// compaction, repair, a restore) asks RefuseWhenOpenElsewhere first and
// stops before any file changes when it answers true.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "launch/lock_file.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/system.h"

namespace quandrel {

struct OpenElsewhere {
  bool open = false;                   // someone else has the file open right now
  std::vector<LockFileEntry> listed;   // whom the lock file names, this computer included
  std::string message;                 // what the user is told; empty when !open
};

// The database is open elsewhere when it can't be opened without sharing:
// a sharing or lock violation. Any other failure (no such file, no right to
// read it) is left to the action's own steps, which report their failures.
OpenElsewhere CheckOpenElsewhere(Files& files, System& system, const std::string& databasePath);

// CheckOpenElsewhere, with its message in an error box when the database is
// open elsewhere. True: the caller must stop, nothing has been changed.
bool RefuseWhenOpenElsewhere(Files& files, System& system, Dialogs& dialogs, const std::string& databasePath);

// The lines that name these people, one each ("・KEIRI-PC2（ユーザー名
// Admin）"), this computer's marked; past kMaxNamedPeople the rest are
// counted in one more line.
constexpr std::size_t kMaxNamedPeople = 10;
std::string PeopleLines(const std::vector<LockFileEntry>& people, const std::string& thisComputer);

// The discard question: exactly the usual one when nobody else was seen;
// otherwise it names the others and says that their changes go as well.
std::string DiscardQuestion(const std::vector<LockFileEntry>& others);

// The other computers that a run has seen in its database's lock file.
// The watch looks once a second, so a look must cost next to nothing: it
// asks for one stamp and reads the file only when it has changed since it
// was last read. While there is no lock file, the stamp asked for is the
// folder's, which changes when a file is made in it: under Wine a question
// for a missing file costs four times one for a file that is there. Every
// tenth look asks for the file all the same, for a file made within the
// clock tick of the folder's stamp.
class OthersSeen {
 public:
  OthersSeen(Files& files, System& system) : files_(files), system_(system) {}

  // A new run on this database: nobody seen yet. An empty path watches
  // nothing (a run without a snapshot can't be discarded).
  void Begin(const std::string& databasePath);
  // One look at the lock file.
  void Look();
  // Everyone seen so far whose computer is not this one, in the order first seen.
  const std::vector<LockFileEntry>& Others() const { return others_; }

 private:
  Files& files_;
  System& system_;
  std::string lockPath_;
  std::string folder_;
  std::string thisComputer_;
  std::optional<FileStamp> lastRead_;     // the lock file as it was when last read
  std::optional<FileStamp> folderSeen_;   // the folder when the lock file was last missing
  int looksSinceFileAsked_ = 0;
  static constexpr int kLooksPerFileQuestion = 10;
  std::vector<LockFileEntry> others_;
};

}  // namespace quandrel
