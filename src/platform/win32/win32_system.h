#pragma once

#include "platform/system.h"

namespace quandrel::win32 {

class Win32System : public System {
 public:
  std::string ExecutablePath() override;
  std::string ShortDate() override;
  int Weekday() override;
  std::string FileTimeStamp() override;
  std::string FileTimeStampOf(std::uint64_t lastWrite) override;
  std::string ErrorText(std::uint32_t code) override;
  std::vector<std::string> FontFamilies() override;
  std::string ComputerName() override;
  std::string SystemDirectory() override;
  std::string UserName() override;
};

}  // namespace quandrel::win32
