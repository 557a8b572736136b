// Read-only registry access.
#pragma once

#include <string>

namespace quandrel {

enum class Hive { ClassesRoot, LocalMachine };

// 64-bit Windows keeps much of HKEY_LOCAL_MACHINE\SOFTWARE twice, one view
// for 32-bit and one for 64-bit programs; a program sees its own unless it
// asks for the other. 32-bit Windows has its own view alone.
enum class RegistryView { Own, Other };

class Registry {
 public:
  virtual ~Registry() = default;

  // Opens hive\subkey in the given view for reading (falling back to
  // narrower rights when KEY_READ is refused), reads its default value and
  // closes it again. Returns false when the key cannot be opened, and for
  // the other view where the system has none. `value` receives the stored
  // text unexpanded, up to its first zero byte and never ending in half a
  // character (text::WholeCharacters); it is empty when the default value
  // is missing or holds something other than text.
  virtual bool ReadDefaultValue(Hive hive, RegistryView view, const std::string& subkey, std::string* value) = 0;
};

}  // namespace quandrel
