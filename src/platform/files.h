// Files and folders. Paths are CP932 byte strings as the ANSI functions take them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/os_result.h"

namespace quandrel {

// Called while a copy proceeds, every few dozen milliseconds whether or not
// the figures changed: bytes copied so far and the source's size.
// `done` is kCopyAmountUnknown while the copy goes on but the platform has
// not told how far it has come.
using CopyProgress = std::function<void(std::uint64_t done, std::uint64_t total)>;
constexpr std::uint64_t kCopyAmountUnknown = ~std::uint64_t{0};

// A file this program keeps open so that others may read it but nobody can
// write, replace, rename or delete it. Destroying the hold lets go of it.
class FileHold {
 public:
  virtual ~FileHold() = default;
};

// The longest path, in characters, that the ANSI file functions take
// (MAX_PATH less its terminating zero).
constexpr std::size_t kMaxPathCharacters = 259;

class Files {
 public:
  virtual ~Files() = default;

  // A file (not a folder) of that name exists.
  virtual bool FileExists(const std::string& path) = 0;
  // The absolute form of a path (GetFullPathNameA); the path unchanged when
  // the platform cannot make one.
  virtual std::string FullPath(const std::string& path) = 0;

  // The whole content of a file.
  virtual OsResult Read(const std::string& path, std::string* bytes) = 0;
  // The first `count` bytes of a file (all of it when it is shorter) and
  // its size, read without keeping anyone from the file meanwhile: a
  // program may hold it open for writing.
  virtual OsResult ReadHead(const std::string& path, std::size_t count, std::string* head,
                            std::uint64_t* size) = 0;
  // Creates or truncates the file, writes all bytes and flushes them to disk.
  virtual OsResult WriteNew(const std::string& path, const std::string& bytes) = 0;
  // Copies src over dst (dst created or truncated); the copy is flushed to
  // disk before success is reported. A failed copy may leave a partial dst.
  virtual OsResult Copy(const std::string& src, const std::string& dst,
                        const CopyProgress& progress) = 0;
  virtual OsResult Remove(const std::string& path) = 0;
  // Renames src to dst; fails when dst exists.
  virtual OsResult Move(const std::string& src, const std::string& dst) = 0;
  // Renames src to dst in one step, replacing an existing dst, written
  // through to disk (MoveFileExA with REPLACE_EXISTING | WRITE_THROUGH).
  // When it fails, dst is as it was.
  virtual OsResult Replace(const std::string& src, const std::string& dst) = 0;

  // Opens an existing file and keeps it open, shared for reading only: while
  // the hold lives, every attempt to write, replace, rename or delete the
  // file fails, this program's own included (a sharing violation, or access
  // denied for a replacing move onto it). On failure *hold is left empty.
  virtual OsResult Hold(const std::string& path, std::unique_ptr<FileHold>* hold) = 0;

  // Some handle keeps the file from being renamed or deleted right now:
  // another run's hold, or a program that has it open without sharing
  // deletion. False for a missing file.
  virtual bool InUse(const std::string& path) = 0;

  // The path the platform resolves an existing file to through an open
  // handle (GetFinalPathNameByHandleA): every spelling of the same file
  // (letter case, another drive letter for the same folder, 8.3 short
  // names) gives one answer, in the form "\\?\D:\..." or
  // "\\?\UNC\server\...". Empty when the platform can't tell.
  virtual std::string FinalPath(const std::string& path) = 0;

  virtual OsResult ChangeDirectory(const std::string& path) = 0;

  // The names (no folder part) of the entries a wildcard pattern such as
  // "D:\DB\*.MDB" matches, files and folders alike, whatever their
  // attributes, in the order the platform reports them; none when nothing
  // matches or the folder cannot be read.
  virtual std::vector<std::string> FindNames(const std::string& pattern) = 0;
};

}  // namespace quandrel
