#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <vector>

#include "platform/win32/unique_handle.h"
#include "text/sjis.h"

namespace quandrel::win32 {

namespace {

// The access flag that opens keys in the other registry view, or 0 where
// there is none. A 64-bit program always has the 32-bit view beside its
// own; a 32-bit one has the 64-bit view only on 64-bit Windows, where it
// runs under WOW64.
REGSAM OtherViewFlag() {
#ifdef _WIN64
  return KEY_WOW64_32KEY;
#else
  static const REGSAM flag = [] {
    BOOL wow64 = FALSE;
    return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64 ? REGSAM{KEY_WOW64_64KEY} : REGSAM{0};
  }();
  return flag;
#endif
}

// Opens a key read-only, in the view that `view` names (0: the program's
// own); where KEY_READ is refused, narrower rights may still be granted.
KeyHandle OpenForReading(HKEY root, const std::string& subkey, REGSAM view) {
  static const REGSAM kRights[] = {KEY_READ, READ_CONTROL | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS,
                                   KEY_QUERY_VALUE};
  for (REGSAM rights : kRights) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, subkey.c_str(), 0, rights | view, &key) == ERROR_SUCCESS) return KeyHandle(key);
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

bool Win32Registry::ReadDefaultValue(Hive hive, RegistryView view, const std::string& subkey, std::string* value) {
  HKEY root = hive == Hive::ClassesRoot ? HKEY_CLASSES_ROOT : HKEY_LOCAL_MACHINE;
  REGSAM viewFlag = 0;
  if (view == RegistryView::Other) {
    viewFlag = OtherViewFlag();
    if (viewFlag == 0) return false;
  }
  // A leading backslash names the key from the hive's root ("\shell" is the
  // key shell directly below it).
  std::string name = subkey;
  while (!name.empty() && name[0] == '\\') name.erase(0, 1);
  KeyHandle key = OpenForReading(root, name, viewFlag);
  if (!key) return false;
  *value = DefaultText(key.get());
  return true;
}

}  // namespace quandrel::win32
