// One record of a database's lock file as the engine writes it, for tests:
// the computer's name and the user's, each zero-padded to 32 bytes. A name
// of 32 bytes or more is written as its first 32, with no terminator.
#pragma once

#include <string>

#include "launch/lock_file.h"

namespace quandrel::testing {

inline std::string LockRecord(const std::string& computer, const std::string& user = "Admin") {
  auto field = [](const std::string& name) {
    std::string f = name.substr(0, kLockNameSize);
    f.resize(kLockNameSize, '\0');
    return f;
  };
  return field(computer) + field(user);
}

}  // namespace quandrel::testing
