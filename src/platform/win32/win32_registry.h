#pragma once

#include "platform/registry.h"

namespace quandrel::win32 {

class Win32Registry : public Registry {
 public:
  bool ReadDefaultValue(Hive hive, RegistryView view, const std::string& subkey, std::string* value) override;
};

}  // namespace quandrel::win32
