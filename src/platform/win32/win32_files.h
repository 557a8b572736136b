#pragma once

#include "platform/files.h"

namespace quandrel::win32 {

class Win32Files : public Files {
 public:
  bool FileExists(const std::string& path) override;
  std::string FullPath(const std::string& path) override;
  OsResult Read(const std::string& path, std::string* bytes) override;
  OsResult ReadHead(const std::string& path, std::size_t count, std::string* head, std::uint64_t* size) override;
  OsResult WriteNew(const std::string& path, const std::string& bytes) override;
  OsResult Copy(const std::string& src, const std::string& dst, const CopyProgress& progress) override;
  OsResult Remove(const std::string& path) override;
  OsResult Move(const std::string& src, const std::string& dst) override;
  OsResult Replace(const std::string& src, const std::string& dst) override;
  OsResult Hold(const std::string& path, std::unique_ptr<FileHold>* hold) override;
  bool InUse(const std::string& path) override;
  std::string FinalPath(const std::string& path) override;
  OsResult ChangeDirectory(const std::string& path) override;
  std::vector<std::string> FindNames(const std::string& pattern) override;
};

}  // namespace quandrel::win32
