#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <vector>

#include "platform/win32/unique_handle.h"
#include "text/sjis.h"

namespace quandrel::win32 {

namespace {

// Opens a key read-only; where KEY_READ is refused, narrower rights may
// still be granted.
KeyHandle OpenForReading(HKEY root, const std::string& subkey) {
  static const REGSAM kRights[] = {KEY_READ, READ_CONTROL | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS,
                                   KEY_QUERY_VALUE};
  for (REGSAM rights : kRights) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, subkey.c_str(), 0, rights, &key) == ERROR_SUCCESS) return KeyHandle(key);
  }
  return KeyHandle();
}

// The default value as text; empty when it is missing or not text.
std::string DefaultText(HKEY key) {
  std::vector<BYTE> data(256);
  for (int attempt = 0; attempt < 8; ++attempt) {
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(data.size());
    LONG status = ::RegQueryValueExA(key, "", nullptr, &type, data.data(), &size);
    if (status == ERROR_MORE_DATA) {
      data.resize(size + 2);
      continue;
    }
    if (status != ERROR_SUCCESS) return "";
    // Only text counts; numbers and binary data read as a missing value.
    if (type != REG_SZ && type != REG_EXPAND_SZ) return "";
    // Stored strings usually, but not always, end in a zero byte; nor need
    // they end in a whole character.
    return text::WholeCharacters(std::string(reinterpret_cast<const char*>(data.data()), size));
  }
  return "";
}

}  // namespace

bool Win32Registry::ReadDefaultValue(Hive hive, const std::string& subkey, std::string* value) {
  HKEY root = hive == Hive::ClassesRoot ? HKEY_CLASSES_ROOT : HKEY_LOCAL_MACHINE;
  // A leading backslash names the key from the hive's root ("\shell" is the
  // key shell directly below it).
  std::string name = subkey;
  while (!name.empty() && name[0] == '\\') name.erase(0, 1);
  KeyHandle key = OpenForReading(root, name);
  if (!key) return false;
  *value = DefaultText(key.get());
  return true;
}

}  // namespace quandrel::win32
