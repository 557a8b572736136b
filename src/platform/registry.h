// Read-only registry access.
#pragma once

#include <string>

namespace quandrel {

enum class Hive { ClassesRoot, LocalMachine };

class Registry {
 public:
  virtual ~Registry() = default;

  // Opens hive\subkey for reading (falling back to narrower rights when
  // KEY_READ is refused), reads its default value and closes it again.
  // Returns false when the key cannot be opened. `value` receives the stored
  // text unexpanded, up to its first zero byte and never ending in half a
  // character (text::WholeCharacters); it is empty when the default value
  // is missing or holds something other than text.
  virtual bool ReadDefaultValue(Hive hive, const std::string& subkey, std::string* value) = 0;
};

}  // namespace quandrel
