// Files of the source tree that tests read (the shipped sample settings file,
// the user guide).
#pragma once

#include <string>

namespace quandrel::testing_paths {

// The path as the file system spells it. The tree's path is given as a UTF-8
// literal: a plain one would be compiled to CP932, and a checkout in a folder
// with Japanese characters could then not be found.
inline std::string SourceTreePath(const std::string& relative) {
  return std::string(QUANDREL_SOURCE_DIR_UTF8) + "/" + relative;
}

}  // namespace quandrel::testing_paths
