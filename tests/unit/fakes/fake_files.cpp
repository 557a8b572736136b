#include "fakes/fake_files.h"

#include <algorithm>
#include <utility>

#include "text/sjis.h"

namespace quandrel::fakes {

std::string FakeFiles::Key(const std::string& path) { return text::UpperAscii(path); }

void FakeFiles::Put(const std::string& path, const std::string& bytes) {
  // A new file comes last in its folder's listing; a rewritten one keeps its place.
  if (!files_.count(Key(path))) created_[Key(path)] = ++creations_;
  files_[Key(path)] = Entry{path, bytes};
}

void FakeFiles::AddFolder(const std::string& path) {
  if (!folders_.count(Key(path))) created_[Key(path)] = ++creations_;
  folders_.insert(Key(path));
  folderNames_[Key(path)] = path;
}

std::optional<std::string> FakeFiles::Get(const std::string& path) const {
  auto it = files_.find(Key(path));
  if (it == files_.end()) return std::nullopt;
  return it->second.bytes;
}

std::vector<std::string> FakeFiles::List() const {
  std::vector<std::string> names;
  for (const auto& [key, entry] : files_) names.push_back(entry.name);
  return names;
}

void FakeFiles::FailCall(int number, std::uint32_t error, bool forGood) {
  failAt_ = number;
  failError_ = error;
  failForGood_ = forGood;
}

void FakeFiles::Lock(const std::string& path, std::uint32_t error) { locked_[Key(path)] = error; }
void FakeFiles::Unlock(const std::string& path) { locked_.erase(Key(path)); }
void FakeFiles::MakeFolderReadOnly(const std::string& folder) { readOnlyFolders_.insert(Key(folder)); }

bool FakeFiles::InAwayFolder(const std::string& path) {
  const std::string key = Key(FullPath(path));
  for (const std::string& folder : awayFolders_) {
    if (key.rfind(folder, 0) == 0) return true;
  }
  return false;
}

bool FakeFiles::InReadOnlyFolder(const std::string& path) const {
  return readOnlyFolders_.count(Key(text::FolderPart(path))) != 0;
}

void FakeFiles::Schedule(std::vector<Outcome> outcomes, std::uint32_t error) {
  schedule_ = std::move(outcomes);
  scheduleError_ = error;
}

std::optional<FakeFiles::Fault> FakeFiles::Injected(const std::string& what,
                                                    std::initializer_list<std::string> paths) {
  ++calls_;
  log_.push_back(what);
  if (awayAtCall_ == calls_) TakeFolderAway(folderAwayAtCall_);
  if (failAt_ != 0 && (calls_ == failAt_ || (failForGood_ && calls_ > failAt_))) {
    return Fault{failError_, Outcome::Fails};
  }
  for (const std::string& p : paths) {
    auto it = locked_.find(Key(p));
    if (it != locked_.end()) return Fault{it->second, Outcome::Fails};
    if (InAwayFolder(p)) return Fault{kPathNotFound, Outcome::Fails};
  }
  const std::size_t index = static_cast<std::size_t>(calls_ - 1);
  if (index < schedule_.size() && schedule_[index] != Outcome::Works) {
    return Fault{scheduleError_, schedule_[index]};
  }
  return std::nullopt;
}

bool FakeFiles::FileExists(const std::string& path) {
  if (existenceChecksFail_ || InAwayFolder(path)) return false;
  return files_.count(Key(FullPath(path))) != 0 || files_.count(Key(path)) != 0;
}

std::string FakeFiles::FullPath(const std::string& path) {
  if (path.empty()) return path;
  bool absolute = (path.size() >= 2 && path[1] == ':') || path[0] == '\\';
  if (absolute) return path;
  std::string base = cwd_;
  if (!base.empty() && base.back() != '\\') base += '\\';
  std::string rest = path;
  while (rest.rfind(".\\", 0) == 0) rest = rest.substr(2);
  return base + rest;
}

// Each call below: a fault that does not do the work returns at once; one
// that does lets the call do it and then reports the failure all the same.

OsResult FakeFiles::Read(const std::string& path, std::string* bytes) {
  auto fault = Injected("Read " + path, {path});
  auto it = files_.find(Key(FullPath(path)));
  if (fault && !fault->DoesTheWork()) {
    // A read that stops part way has filled part of the buffer.
    if (fault->outcome == Outcome::StopsPartWay && it != files_.end()) {
      *bytes = it->second.bytes.substr(0, it->second.bytes.size() / 2);
    }
    return OsResult::Failure(fault->error);
  }
  if (it == files_.end()) return OsResult::Failure(os_error::kFileNotFound);
  *bytes = it->second.bytes;
  return fault ? OsResult::Failure(fault->error) : OsResult::Success();
}

OsResult FakeFiles::ReadHead(const std::string& path, std::size_t count, std::string* head,
                             std::uint64_t* size) {
  auto locked = locked_.find(Key(path));
  if (locked != locked_.end()) return OsResult::Failure(locked->second);
  auto it = files_.find(Key(FullPath(path)));
  if (it == files_.end()) return OsResult::Failure(os_error::kFileNotFound);
  *head = it->second.bytes.substr(0, count);
  *size = it->second.bytes.size();
  return OsResult::Success();
}

OsResult FakeFiles::WriteNew(const std::string& path, const std::string& bytes) {
  auto fault = Injected("WriteNew " + path, {path});
  if (auto e = HeldError({path})) return OsResult::Failure(*e);
  if (fault && fault->outcome == Outcome::StopsPartWay && !locked_.count(Key(path)) &&
      !Held(path) && !InReadOnlyFolder(FullPath(path))) {
    Put(FullPath(path), bytes.substr(0, bytes.size() / 2));
  }
  if (fault && !fault->DoesTheWork()) return OsResult::Failure(fault->error);
  if (InReadOnlyFolder(FullPath(path))) return OsResult::Failure(os_error::kAccessDenied);
  Put(FullPath(path), bytes);
  return fault ? OsResult::Failure(fault->error) : OsResult::Success();
}

OsResult FakeFiles::Copy(const std::string& src, const std::string& dst, const CopyProgress& progress) {
  auto it = files_.find(Key(FullPath(src)));
  auto fault = Injected("Copy " + src + " -> " + dst, {src, dst});
  if (fault && !fault->DoesTheWork()) {
    // A copy that breaks off leaves a partial destination behind.
    if (it != files_.end() && !locked_.count(Key(dst)) && !Held(dst) && !InReadOnlyFolder(FullPath(dst))) {
      Put(FullPath(dst), it->second.bytes.substr(0, it->second.bytes.size() / 2));
    }
    return OsResult::Failure(fault->error);
  }
  if (auto e = HeldError({dst})) return OsResult::Failure(*e);
  if (it == files_.end()) return OsResult::Failure(os_error::kFileNotFound);
  if (InReadOnlyFolder(FullPath(dst))) return OsResult::Failure(os_error::kAccessDenied);
  std::string bytes = it->second.bytes;
  std::uint64_t total = bytes.size();
  if (progress) {
    progress(0, total);
    progress(total / 2, total);
    progress(total, total);
  }
  Put(FullPath(dst), bytes);
  return fault ? OsResult::Failure(fault->error) : OsResult::Success();
}

OsResult FakeFiles::Remove(const std::string& path) {
  auto fault = Injected("Remove " + path, {path});
  if (auto e = HeldError({path})) return OsResult::Failure(*e);
  if (fault && !fault->DoesTheWork()) return OsResult::Failure(fault->error);
  if (files_.erase(Key(FullPath(path))) == 0) return OsResult::Failure(os_error::kFileNotFound);
  return fault ? OsResult::Failure(fault->error) : OsResult::Success();
}

OsResult FakeFiles::Move(const std::string& src, const std::string& dst) {
  auto fault = Injected("Move " + src + " -> " + dst, {src, dst});
  if (auto e = HeldError({src, dst})) return OsResult::Failure(*e);
  if (fault && !fault->DoesTheWork()) return OsResult::Failure(fault->error);
  auto it = files_.find(Key(FullPath(src)));
  if (it == files_.end()) return OsResult::Failure(os_error::kFileNotFound);
  if (files_.count(Key(FullPath(dst)))) return OsResult::Failure(os_error::kAlreadyExists);
  std::string bytes = it->second.bytes;
  files_.erase(it);
  Put(FullPath(dst), bytes);
  return fault ? OsResult::Failure(fault->error) : OsResult::Success();
}

OsResult FakeFiles::Replace(const std::string& src, const std::string& dst) {
  auto fault = Injected("Replace " + src + " -> " + dst, {src, dst});
  if (auto e = HeldError({src, dst})) return OsResult::Failure(*e);
  if (fault && !fault->DoesTheWork()) return OsResult::Failure(fault->error);
  auto it = files_.find(Key(FullPath(src)));
  if (it == files_.end()) return OsResult::Failure(os_error::kFileNotFound);
  std::string bytes = it->second.bytes;
  files_.erase(it);
  Put(FullPath(dst), bytes);
  return fault ? OsResult::Failure(fault->error) : OsResult::Success();
}

namespace {

// Lets go of its file when destroyed, even after the fake itself is gone.
class FakeHold : public FileHold {
 public:
  FakeHold(std::shared_ptr<std::map<std::string, int>> holds, std::string key)
      : holds_(std::move(holds)), key_(std::move(key)) {
    ++(*holds_)[key_];
  }
  ~FakeHold() override {
    if (--(*holds_)[key_] == 0) holds_->erase(key_);
  }

 private:
  std::shared_ptr<std::map<std::string, int>> holds_;
  std::string key_;
};

}  // namespace

bool FakeFiles::Held(const std::string& path) {
  return holds_->count(Key(FullPath(path))) != 0;
}

std::optional<std::uint32_t> FakeFiles::HeldError(std::initializer_list<std::string> paths) {
  for (const std::string& p : paths) {
    if (Held(p)) return os_error::kSharingViolation;
  }
  return std::nullopt;
}

OsResult FakeFiles::Hold(const std::string& path, std::unique_ptr<FileHold>* hold) {
  hold->reset();
  auto locked = locked_.find(Key(path));
  if (locked != locked_.end()) return OsResult::Failure(locked->second);
  if (InAwayFolder(path)) return OsResult::Failure(kPathNotFound);
  const std::string key = Key(FullPath(path));
  if (!files_.count(key)) return OsResult::Failure(os_error::kFileNotFound);
  *hold = std::make_unique<FakeHold>(holds_, key);
  return OsResult::Success();
}

bool FakeFiles::InUse(const std::string& path) {
  if (!files_.count(Key(FullPath(path)))) return false;
  auto locked = locked_.find(Key(path));
  return Held(path) || (locked != locked_.end() && locked->second == os_error::kSharingViolation);
}

void FakeFiles::SetFinalPath(const std::string& path, const std::string& finalPath) {
  finalPaths_[Key(path)] = finalPath;
}

std::string FakeFiles::FinalPath(const std::string& path) {
  auto it = finalPaths_.find(Key(path));
  return it == finalPaths_.end() ? "" : it->second;
}

OsResult FakeFiles::ChangeDirectory(const std::string& path) {
  cwd_ = path;
  return OsResult::Success();
}

std::vector<std::string> FakeFiles::FindNames(const std::string& pattern) {
  const std::string full = FullPath(pattern);
  const std::string folder = Key(text::FolderPart(full));
  const std::string wildcard = text::FileNamePart(full);
  if (wildcard.empty() || wildcard[0] != '*') return {};
  const std::string suffix = Key(wildcard.substr(1));

  std::vector<std::pair<std::uint64_t, std::string>> found;
  auto consider = [&](const std::string& key, const std::string& path) {
    if (Key(text::FolderPart(key)) != folder) return;
    const std::string name = text::FileNamePart(path);
    const std::string upper = Key(name);
    if (upper.size() < suffix.size() || upper.compare(upper.size() - suffix.size(), suffix.size(), suffix) != 0) {
      return;
    }
    found.emplace_back(created_[key], name);
  };
  for (const auto& [key, entry] : files_) consider(key, entry.name);
  for (const auto& [key, name] : folderNames_) consider(key, name);

  std::sort(found.begin(), found.end());
  std::vector<std::string> names;
  for (auto& f : found) names.push_back(std::move(f.second));
  return names;
}

}  // namespace quandrel::fakes
