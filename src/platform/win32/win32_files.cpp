#include "platform/win32/win32_files.h"

#include <windows.h>

#include <memory>
#include <utility>
#include <vector>

#include "platform/win32/unique_handle.h"

namespace quandrel::win32 {

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
  // Others may read the target while it is copied, nobody may write it.
  FileHandle in(::CreateFileA(src.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!in) return LastError();
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(in.get(), &size)) return LastError();
  FILETIME written{};
  bool haveTime = ::GetFileTime(in.get(), nullptr, nullptr, &written);

  FileHandle out(::CreateFileA(dst.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!out) return LastError();

  const std::uint64_t total = static_cast<std::uint64_t>(size.QuadPart);
  std::vector<char> buffer(4 * 1024 * 1024);
  std::uint64_t done = 0;
  if (progress) progress(0, total);
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(in.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) return LastError();
    if (got == 0) break;
    if (!WriteAll(out.get(), buffer.data(), got)) return LastError();
    done += got;
    if (progress) progress(done, total);
  }
  // The copy keeps the original's time of last change, as CopyFile does.
  if (haveTime) ::SetFileTime(out.get(), nullptr, nullptr, &written);
  if (!::FlushFileBuffers(out.get())) return LastError();
  if (!out.reset()) return LastError();
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

}  // namespace quandrel::win32
