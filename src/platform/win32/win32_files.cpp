#include "platform/win32/win32_files.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <utility>
#include <vector>

#include "platform/os_errors.h"
#include "platform/win32/unique_handle.h"

namespace quandrel::win32 {

// The portable names of the error codes are the platform's own.
static_assert(os_error::kFileNotFound == ERROR_FILE_NOT_FOUND && os_error::kPathNotFound == ERROR_PATH_NOT_FOUND &&
                  os_error::kAccessDenied == ERROR_ACCESS_DENIED &&
                  os_error::kSharingViolation == ERROR_SHARING_VIOLATION && os_error::kDiskFull == ERROR_DISK_FULL &&
                  os_error::kAlreadyExists == ERROR_ALREADY_EXISTS &&
                  os_error::kFilenameTooLong == ERROR_FILENAME_EXCED_RANGE,
              "the portable error codes are Windows' own");

namespace {

OsResult LastError() { return OsResult::Failure(::GetLastError()); }

OsResult FromBool(BOOL ok) { return ok ? OsResult::Success() : LastError(); }

// Writes all of `size` bytes, however many calls that takes.
bool WriteAll(HANDLE file, const char* data, std::size_t size) {
  while (size > 0) {
    DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!::WriteFile(file, data, chunk, &written, nullptr)) return false;
    if (written == 0) {
      ::SetLastError(ERROR_WRITE_FAULT);
      return false;
    }
    data += written;
    size -= written;
  }
  return true;
}

// One CopyFileExA, on a thread of its own while the caller shows progress.
// The progress routine's figures are kept for the thread that waits; some
// platforms (Wine) never call it.
class EngineCopy {
 public:
  EngineCopy(const std::string& src, const std::string& dst) : src_(src), dst_(dst) {}
  ~EngineCopy() {
    if (thread_) ::WaitForSingleObject(thread_.get(), INFINITE);
  }
  EngineCopy(const EngineCopy&) = delete;
  EngineCopy& operator=(const EngineCopy&) = delete;

  bool Start() {
    thread_.reset(::CreateThread(nullptr, 0, &EngineCopy::Run, this, 0, nullptr));
    return static_cast<bool>(thread_);
  }
  // The copy on the calling thread, for a caller that shows no progress.
  void RunHere() { Run(this); }
  // True when the copy has ended; false after `ms` milliseconds otherwise.
  bool Wait(DWORD ms) { return ::WaitForSingleObject(thread_.get(), ms) != WAIT_TIMEOUT; }
  // The bytes copied as the engine last reported them; false before its first report.
  bool Reported(std::uint64_t* done) const {
    if (!reported_.load()) return false;
    *done = done_.load();
    return true;
  }
  bool Succeeded() const { return ok_; }
  DWORD Error() const { return error_; }

 private:
  static DWORD WINAPI Run(LPVOID self) {
    auto* c = static_cast<EngineCopy*>(self);
    c->ok_ = ::CopyFileExA(c->src_.c_str(), c->dst_.c_str(), &EngineCopy::Report, c, nullptr, 0) != FALSE;
    c->error_ = c->ok_ ? ERROR_SUCCESS : ::GetLastError();
    if (!c->ok_ && c->error_ == ERROR_SUCCESS) c->error_ = ERROR_WRITE_FAULT;  // never a failure without a cause
    return 0;
  }
  static DWORD CALLBACK Report(LARGE_INTEGER, LARGE_INTEGER transferred, LARGE_INTEGER, LARGE_INTEGER, DWORD, DWORD,
                               HANDLE, HANDLE, LPVOID self) {
    auto* c = static_cast<EngineCopy*>(self);
    c->done_.store(static_cast<std::uint64_t>(transferred.QuadPart));
    c->reported_.store(true);
    return PROGRESS_CONTINUE;
  }

  const std::string& src_;
  const std::string& dst_;
  KernelHandle thread_;
  std::atomic<std::uint64_t> done_{0};
  std::atomic<bool> reported_{false};
  bool ok_ = false;     // written by the copy's thread before it ends
  DWORD error_ = ERROR_SUCCESS;
};

// How often the waiting thread refreshes the progress shown.
constexpr DWORD kProgressTickMs = 50;

}  // namespace

bool Win32Files::FileExists(const std::string& path) {
  if (path.empty()) return false;
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Win32Files::FullPath(const std::string& path) {
  if (path.empty()) return path;
  std::vector<char> buffer(MAX_PATH + 1);
  for (;;) {
    DWORD n = ::GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (n == 0) return path;
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(n + 1);
  }
}

OsResult Win32Files::Read(const std::string& path, std::string* bytes) {
  FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return LastError();
  std::string content;
  char buffer[64 * 1024];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return LastError();
    if (got == 0) break;
    content.append(buffer, got);
  }
  *bytes = std::move(content);
  return OsResult::Success();
}

OsResult Win32Files::ReadHead(const std::string& path, std::size_t count, std::string* head,
                              std::uint64_t* size) {
  // Every kind of sharing: the database program may have the file open for
  // writing, and a run's hold on a snapshot must not be disturbed.
  FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return LastError();
  LARGE_INTEGER length{};
  if (!::GetFileSizeEx(file.get(), &length)) return LastError();
  const std::uint64_t total = static_cast<std::uint64_t>(length.QuadPart);
  std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(count, total)), '\0');
  std::size_t got = 0;
  while (got < bytes.size()) {
    DWORD n = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - got, 1u << 20));
    if (!::ReadFile(file.get(), &bytes[got], want, &n, nullptr)) return LastError();
    if (n == 0) break;  // the file was cut while it was read
    got += n;
  }
  bytes.resize(got);
  *head = std::move(bytes);
  *size = total;
  return OsResult::Success();
}

std::optional<FileStamp> Win32Files::Stamp(const std::string& path) {
  if (path.empty()) return std::nullopt;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  FileStamp stamp;
  stamp.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  stamp.lastWrite =
      (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
  return stamp;
}

OsResult Win32Files::OpenExclusively(const std::string& path) {
  // Reading is asked for because an open without data access does not take
  // part in sharing: only a reading one meets every other handle's sharing.
  FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return LastError();
  return OsResult::Success();
}

OsResult Win32Files::WriteNew(const std::string& path, const std::string& bytes) {
  FileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return LastError();
  if (!WriteAll(file.get(), bytes.data(), bytes.size())) return LastError();
  if (!::FlushFileBuffers(file.get())) return LastError();
  if (!file.reset()) return LastError();
  return OsResult::Success();
}

OsResult Win32Files::Copy(const std::string& src, const std::string& dst, const CopyProgress& progress) {
  // Others may read the target while it is copied, nobody may write it: this
  // handle refuses writers for as long as the copy runs.
  FileHandle in(::CreateFileA(src.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!in) return LastError();
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(in.get(), &size)) return LastError();
  FILETIME written{};
  bool haveTime = ::GetFileTime(in.get(), nullptr, nullptr, &written);
  const std::uint64_t total = static_cast<std::uint64_t>(size.QuadPart);

  // The platform's own copy engine moves the bytes: it copies as fast as the
  // system can, inside a file server for a database on the network. It runs
  // on a thread of its own so that this one can keep the progress shown.
  if (progress) progress(0, total);
  // A copy that broke off in an earlier run may have left dst with the
  // source's read-only attribute, which would refuse this copy for good.
  ::SetFileAttributesA(dst.c_str(), FILE_ATTRIBUTE_NORMAL);  // no such file is fine
  EngineCopy copy(src, dst);
  if (!progress) {
    // Nobody waits for figures: a thread of its own would only cost its start.
    copy.RunHere();
  } else if (!copy.Start()) {
    return LastError();
  }
  // The progress goes out at every tick, also when the figure stands still
  // (a stalled network): the caller's window uses the call to keep its
  // thread answering.
  while (progress && !copy.Wait(kProgressTickMs)) {
    std::uint64_t done = 0;
    if (copy.Reported(&done)) {
      progress(done, total);
    } else {
      progress(kCopyAmountUnknown, total);  // the engine tells nothing: show that work goes on
    }
  }
  if (!copy.Succeeded()) return OsResult::Failure(copy.Error());
  in.reset();

  // The engine carries the source's attributes over; the copy is a plain
  // file that can be flushed here and replaced or removed later.
  if (!::SetFileAttributesA(dst.c_str(), FILE_ATTRIBUTE_NORMAL)) return LastError();
  FileHandle out(::CreateFileA(dst.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                               nullptr));
  if (!out) return LastError();
  // The copy keeps the original's time of last change.
  if (haveTime) ::SetFileTime(out.get(), nullptr, nullptr, &written);
  if (!::FlushFileBuffers(out.get())) return LastError();
  if (!out.reset()) return LastError();
  if (progress) progress(total, total);
  return OsResult::Success();
}

OsResult Win32Files::Remove(const std::string& path) { return FromBool(::DeleteFileA(path.c_str())); }

OsResult Win32Files::Move(const std::string& src, const std::string& dst) {
  return FromBool(::MoveFileA(src.c_str(), dst.c_str()));
}

OsResult Win32Files::Replace(const std::string& src, const std::string& dst) {
  return FromBool(::MoveFileExA(src.c_str(), dst.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

namespace {

class Win32FileHold : public FileHold {
 public:
  explicit Win32FileHold(FileHandle file) : file_(std::move(file)) {}

 private:
  FileHandle file_;
};

}  // namespace

OsResult Win32Files::Hold(const std::string& path, std::unique_ptr<FileHold>* hold) {
  hold->reset();
  // Reading shared, nothing else: without FILE_SHARE_WRITE nobody can open
  // it for writing, without FILE_SHARE_DELETE nobody can rename, replace or
  // delete it.
  FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return LastError();
  *hold = std::make_unique<Win32FileHold>(std::move(file));
  return OsResult::Success();
}

bool Win32Files::InUse(const std::string& path) {
  if (path.empty()) return false;
  // Asking for delete access is refused while any handle on the file does
  // not share deletion, as a hold does; the handle is closed at once.
  FileHandle probe(::CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (probe) return false;
  return ::GetLastError() == ERROR_SHARING_VIOLATION;
}

std::string Win32Files::FinalPath(const std::string& path) {
  if (path.empty()) return "";
  // No access asked for: attributes are enough to learn the name, and the
  // file stays free for everyone else.
  FileHandle file(::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file) return "";
  std::vector<char> buffer(MAX_PATH + 1);
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD n = ::GetFinalPathNameByHandleA(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                          FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0) return "";
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(n + 1);  // n is the size needed, terminating NUL included
  }
  return "";  // the name kept growing: renamed while asked
}

OsResult Win32Files::ChangeDirectory(const std::string& path) {
  return FromBool(::SetCurrentDirectoryA(path.c_str()));
}

std::vector<std::string> Win32Files::FindNames(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found{};
  FindHandle search(::FindFirstFileA(pattern.c_str(), &found));
  if (!search) return names;  // nothing matches, or the folder is not there
  do {
    names.push_back(found.cFileName);
  } while (::FindNextFileA(search.get(), &found));
  return names;
}

std::vector<FileEntry> Win32Files::FindEntries(const std::string& pattern) {
  std::vector<FileEntry> entries;
  WIN32_FIND_DATAA found{};
  FindHandle search(::FindFirstFileA(pattern.c_str(), &found));
  if (!search) return entries;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    FileEntry e;
    e.name = name;
    e.folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    e.readOnly = (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    e.size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    e.lastWrite = (static_cast<std::uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                  found.ftLastWriteTime.dwLowDateTime;
    entries.push_back(std::move(e));
  } while (::FindNextFileA(search.get(), &found));
  return entries;
}

OsResult Win32Files::MakeFolder(const std::string& path) {
  if (::CreateDirectoryA(path.c_str(), nullptr)) return OsResult::Success();
  const DWORD error = ::GetLastError();
  if (error == ERROR_ALREADY_EXISTS) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      return OsResult::Success();
    }
  }
  return OsResult::Failure(error);
}

OsResult Win32Files::SetReadOnly(const std::string& path, bool readOnly) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return LastError();
  DWORD wanted = readOnly ? (attributes | FILE_ATTRIBUTE_READONLY) : (attributes & ~FILE_ATTRIBUTE_READONLY);
  if (wanted == 0) wanted = FILE_ATTRIBUTE_NORMAL;
  if (wanted == attributes) return OsResult::Success();
  return FromBool(::SetFileAttributesA(path.c_str(), wanted));
}

OsResult Win32Files::Append(const std::string& path, const std::string& bytes) {
  // FILE_APPEND_DATA alone: every write goes to the end of the file as it is
  // at that moment, on a file server too, so lines of several computers
  // never overwrite each other. One write call per append keeps a line whole.
  constexpr int kTries = 20;
  constexpr DWORD kPauseMs = 50;
  for (int attempt = 1;; ++attempt) {
    FileHandle file(::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      const DWORD error = ::GetLastError();
      // Another computer may be rotating the file right now: wait and retry.
      if ((error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) && attempt < kTries) {
        ::Sleep(kPauseMs);
        continue;
      }
      return OsResult::Failure(error);
    }
    if (bytes.size() > 0xFFFFFFFFu) return OsResult::Failure(ERROR_INVALID_PARAMETER);
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
      return LastError();
    }
    if (written != bytes.size()) return OsResult::Failure(ERROR_WRITE_FAULT);
    if (!file.reset()) return LastError();
    return OsResult::Success();
  }
}

}  // namespace quandrel::win32
