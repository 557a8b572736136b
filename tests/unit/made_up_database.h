// Bytes that pass the database check, or fail it, for tests that are about
// what is done with such files rather than about the check itself.
#pragma once

#include <string>

namespace quandrel::testing {

// A one-page Jet 3 database (2048 bytes) whose contents carry `tag`, so that
// versions can be told apart by their bytes.
inline std::string SoundDatabase(const std::string& tag) {
  std::string bytes("\x00\x01\x00\x00Standard Jet DB\x00\x00", 21);
  bytes += tag;
  bytes.resize(2048, '.');
  return bytes;
}

// The tag of a sound database made by SoundDatabase; empty for other bytes.
inline std::string TagOf(const std::string& bytes) {
  if (bytes.size() != 2048 || bytes.compare(0, 21, SoundDatabase("").substr(0, 21)) != 0) return "";
  return bytes.substr(21, bytes.find('.', 21) - 21);
}

}  // namespace quandrel::testing
