// An in-memory file system for the unit tests. Names are matched without
// regard to ASCII letter case, as on Windows. Any call can be made to fail:
// the k-th call that touches the disk (Read, WriteNew, Copy, Remove, Move,
// Replace), once or for good, or every call on one path (a locked file).
// A file under a hold (Hold) is enforced as on Windows: it can be read and
// copied from, but every write, replace, rename or delete of it fails with a
// sharing violation until the last hold on it is let go.
// A schedule gives each of the first disk calls an outcome of its own,
// among them a write that stops part way and a call that did its work but
// reports failure.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/os_errors.h"

namespace quandrel::fakes {

class FakeFiles : public Files {
 public:
  // Windows error codes the fake reports.

  // --- set-up and inspection ---
  void Put(const std::string& path, const std::string& bytes);
  std::optional<std::string> Get(const std::string& path) const;
  bool Has(const std::string& path) const { return Get(path).has_value(); }
  // A folder; FindNames lists it among the entries of its parent.
  void AddFolder(const std::string& path);
  // Paths of all files, as first written.
  std::vector<std::string> List() const;
  void SetCurrentDirectoryForTest(const std::string& dir) { cwd_ = dir; }
  const std::string& CurrentDirectory() const { return cwd_; }

  // What a scheduled disk call does.
  enum class Outcome {
    Works,
    Fails,         // nothing done (a copy may leave part of its destination)
    StopsPartWay,  // a write or copy leaves the first half of its bytes; other calls do nothing
    DoneButFails,  // the call did all its work, yet reports failure
  };
  // Disk call i + 1 has outcome outcomes[i], reported with `error`; calls
  // past the schedule work (unless FailCall or a lock says otherwise).
  void Schedule(std::vector<Outcome> outcomes, std::uint32_t error = os_error::kDiskFull);

  // The disk call with this 1-based number fails with `error`; with
  // `forGood`, every later disk call fails too.
  void FailCall(int number, std::uint32_t error = os_error::kDiskFull, bool forGood = false);
  // Every disk call that names this path fails (a file held open elsewhere).
  void Lock(const std::string& path, std::uint32_t error = os_error::kSharingViolation);
  void Unlock(const std::string& path);
  // Every write of a new file or copy into this folder fails (read-only folder).
  void MakeFolderReadOnly(const std::string& folder);
  // FileExists answers false for every path, as GetFileAttributesA does
  // when it fails (a folder that may not be listed, a network gone away).
  void FailExistenceChecks(bool fail = true) { existenceChecksFail_ = fail; }
  // The folder and everything below it is out of reach (a network drive
  // dropped), with its files kept as they were: they don't exist for
  // FileExists, and every disk call naming one fails with "path not found".
  // Holds taken before stay. Get and Has still show the kept files.
  void TakeFolderAway(const std::string& folder) { awayFolders_.insert(Key(folder) + "\\"); }
  void BringFolderBack(const std::string& folder) { awayFolders_.erase(Key(folder) + "\\"); }
  static constexpr std::uint32_t kPathNotFound = 3;
  // The folder goes away right before disk call `number` (1-based).
  void TakeFolderAwayBeforeCall(int number, const std::string& folder) {
    awayAtCall_ = number;
    folderAwayAtCall_ = folder;
  }
  int DiskCalls() const { return calls_; }
  // Someone holds this file (Hold) right now.
  bool Held(const std::string& path);
  // What FinalPath answers for this spelling; unset spellings answer "".
  void SetFinalPath(const std::string& path, const std::string& finalPath);
  // A log of disk calls: "Copy a -> b", "Remove a", ...
  const std::vector<std::string>& Log() const { return log_; }

  // --- Files ---
  bool FileExists(const std::string& path) override;
  std::string FullPath(const std::string& path) override;
  OsResult Read(const std::string& path, std::string* bytes) override;
  // Not counted among the disk calls (it changes nothing); fails for a
  // missing or locked file.
  OsResult ReadHead(const std::string& path, std::size_t count, std::string* head, std::uint64_t* size) override;
  OsResult WriteNew(const std::string& path, const std::string& bytes) override;
  OsResult Copy(const std::string& src, const std::string& dst, const CopyProgress& progress) override;
  OsResult Remove(const std::string& path) override;
  OsResult Move(const std::string& src, const std::string& dst) override;
  OsResult Replace(const std::string& src, const std::string& dst) override;
  // Not counted among the disk calls; fails for a missing or locked file.
  OsResult Hold(const std::string& path, std::unique_ptr<FileHold>* hold) override;
  // Held (Hold), or locked with a sharing violation.
  bool InUse(const std::string& path) override;
  std::string FinalPath(const std::string& path) override;
  OsResult ChangeDirectory(const std::string& path) override;
  // Supports patterns of the form "<folder>\*<suffix>" ("D:\DB\*.MDB"): the
  // files and folders directly in that folder whose names end in the
  // suffix, letter case aside, in the order they were created.
  std::vector<std::string> FindNames(const std::string& pattern) override;

 private:
  struct Entry {
    std::string name;
    std::string bytes;
  };
  static std::string Key(const std::string& path);
  struct Fault {
    std::uint32_t error;
    Outcome outcome;
    bool DoesTheWork() const { return outcome == Outcome::DoneButFails; }
  };
  // Counts a disk call and tells whether it must fail (with what, and how).
  std::optional<Fault> Injected(const std::string& what, std::initializer_list<std::string> paths);
  bool InReadOnlyFolder(const std::string& path) const;
  bool InAwayFolder(const std::string& path);
  // A sharing violation when one of these paths is held.
  std::optional<std::uint32_t> HeldError(std::initializer_list<std::string> paths);

  std::map<std::string, Entry> files_;
  std::set<std::string> folders_;
  // When each file or folder was created, for FindNames' order; a folder's
  // name as written.
  std::map<std::string, std::uint64_t> created_;
  std::map<std::string, std::string> folderNames_;
  std::uint64_t creations_ = 0;
  std::map<std::string, std::uint32_t> locked_;
  std::set<std::string> readOnlyFolders_;
  std::set<std::string> awayFolders_;  // upper-cased, each ending in a backslash
  int awayAtCall_ = 0;
  std::string folderAwayAtCall_;
  std::string cwd_ = "C:\\";
  bool existenceChecksFail_ = false;
  std::vector<Outcome> schedule_;
  std::uint32_t scheduleError_ = 0;
  int calls_ = 0;
  int failAt_ = 0;
  bool failForGood_ = false;
  std::uint32_t failError_ = 0;
  std::vector<std::string> log_;
  // Holds per file; shared with the holds, which may outlive the fake.
  std::shared_ptr<std::map<std::string, int>> holds_ = std::make_shared<std::map<std::string, int>>();
  std::map<std::string, std::string> finalPaths_;
};

}  // namespace quandrel::fakes
