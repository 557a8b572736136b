#include "launch/lock_file.h"

#include <algorithm>

#include "text/sjis.h"

namespace quandrel {

namespace {

// One name field: up to its first zero byte, without the blanks around it,
// made fit to show.
std::string NameField(const std::string& field) {
  return text::PrintableCharacters(text::Trim(field.substr(0, field.find('\0'))));
}

}  // namespace

std::string LockFilePath(const std::string& databasePath) {
  const std::string ext = text::Extension(databasePath);
  const std::string stem = databasePath.substr(0, databasePath.size() - ext.size());
  return stem + (text::UpperAscii(ext) == ".ACCDB" ? ".laccdb" : ".ldb");
}

std::vector<LockFileEntry> ParseLockFile(const std::string& bytes) {
  std::vector<LockFileEntry> entries;
  std::size_t records = 0;
  for (std::size_t at = 0; at + kLockNameSize <= bytes.size() && records < kMaxLockRecords;
       at += kLockRecordSize, ++records) {
    LockFileEntry entry;
    entry.computer = NameField(bytes.substr(at, kLockNameSize));
    if (at + kLockNameSize < bytes.size()) entry.user = NameField(bytes.substr(at + kLockNameSize, kLockNameSize));
    if (entry.computer.empty() && entry.user.empty()) continue;
    const bool listed =
        std::any_of(entries.begin(), entries.end(), [&](const LockFileEntry& e) { return SamePerson(e, entry); });
    if (!listed) entries.push_back(std::move(entry));
  }
  return entries;
}

std::optional<std::vector<LockFileEntry>> ReadLockFile(Files& files, const std::string& lockPath) {
  std::string bytes;
  std::uint64_t size = 0;
  if (!files.ReadHead(lockPath, kMaxLockRecords * kLockRecordSize, &bytes, &size)) return std::nullopt;
  return ParseLockFile(bytes);
}

bool SamePerson(const LockFileEntry& a, const LockFileEntry& b) {
  return a.user == b.user && text::UpperAscii(a.computer) == text::UpperAscii(b.computer);
}

bool IsOnComputer(const LockFileEntry& entry, const std::string& computerName) {
  return !computerName.empty() && text::UpperAscii(entry.computer) == text::UpperAscii(computerName);
}

}  // namespace quandrel
