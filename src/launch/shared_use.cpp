#include "launch/shared_use.h"

#include <algorithm>

#include "platform/os_errors.h"
#include "text/messages.h"
#include "text/sjis.h"

namespace quandrel {

OpenElsewhere CheckOpenElsewhere(Files& files, System& system, const std::string& databasePath) {
  OpenElsewhere check;
  const OsResult opened = files.OpenExclusively(databasePath);
  check.open = !opened && (opened.error == os_error::kSharingViolation || opened.error == os_error::kLockViolation);
  if (!check.open) return check;
  // The names are read only now: the usual case, nobody else there, costs
  // one open and no read.
  check.listed = ReadLockFile(files, LockFilePath(databasePath)).value_or(std::vector<LockFileEntry>{});
  check.message = check.listed.empty()
                      ? messages::Fill(messages::kOpenElsewhereNoNames, {databasePath})
                      : messages::Fill(messages::kOpenElsewhere,
                                       {databasePath, PeopleLines(check.listed, system.ComputerName())});
  return check;
}

bool RefuseWhenOpenElsewhere(Files& files, System& system, Dialogs& dialogs, const std::string& databasePath) {
  const OpenElsewhere check = CheckOpenElsewhere(files, system, databasePath);
  if (check.open) dialogs.ShowError(check.message);
  return check.open;
}

std::string PeopleLines(const std::vector<LockFileEntry>& people, const std::string& thisComputer) {
  std::string lines;
  const std::size_t shown = std::min(people.size(), kMaxNamedPeople);
  for (std::size_t i = 0; i < shown; ++i) {
    const LockFileEntry& p = people[i];
    if (!lines.empty()) lines += '\n';
    lines += messages::Fill(IsOnComputer(p, thisComputer) ? messages::kLockFileEntryHere : messages::kLockFileEntry,
                            {p.computer, p.user});
  }
  if (people.size() > shown) {
    lines += '\n';
    lines += messages::Fill(messages::kLockFileMore, {std::to_string(people.size() - shown)});
  }
  return lines;
}

std::string DiscardQuestion(const std::vector<LockFileEntry>& others) {
  if (others.empty()) return messages::kDiscardQuestion;
  return messages::Fill(messages::kDiscardQuestionOthers, {PeopleLines(others, "")});
}

void OthersSeen::Begin(const std::string& databasePath) {
  lockPath_ = databasePath.empty() ? std::string() : LockFilePath(databasePath);
  folder_ = text::FolderOf(databasePath);
  thisComputer_ = databasePath.empty() ? std::string() : system_.ComputerName();
  lastRead_.reset();
  folderSeen_.reset();
  looksSinceFileAsked_ = 0;
  others_.clear();
}

void OthersSeen::Look() {
  if (lockPath_.empty()) return;
  std::optional<FileStamp> folder;
  if (folderSeen_ && ++looksSinceFileAsked_ < kLooksPerFileQuestion) {
    folder = files_.Stamp(folder_);
    if (folder == folderSeen_) return;
  }
  looksSinceFileAsked_ = 0;
  const std::optional<FileStamp> stamp = files_.Stamp(lockPath_);
  if (!stamp) {
    // From now on the folder stands for the missing file. A file made
    // right before this folder stamp is found by the next question for the
    // file itself. When the folder can't be asked, the file is, each time.
    lastRead_.reset();
    folderSeen_ = folder ? folder : files_.Stamp(folder_);
    return;
  }
  folderSeen_.reset();
  // As it was when last read: nothing new to learn.
  if (stamp == lastRead_) return;
  // A failed read leaves the stamp unread, so the next look tries again.
  std::optional<std::vector<LockFileEntry>> read = ReadLockFile(files_, lockPath_);
  if (!read) return;
  lastRead_ = stamp;
  for (LockFileEntry& entry : *read) {
    if (IsOnComputer(entry, thisComputer_)) continue;
    const bool seen =
        std::any_of(others_.begin(), others_.end(), [&](const LockFileEntry& e) { return SamePerson(e, entry); });
    if (!seen) others_.push_back(std::move(entry));
  }
}

}  // namespace quandrel
