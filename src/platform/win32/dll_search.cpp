#include "platform/win32/dll_search.h"

#include <windows.h>

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

namespace quandrel::win32 {

bool RestrictDllSearchToSystem() {
  // Looked up at run time: an import of it would keep the program from
  // starting at all where it is missing. kernel32 is loaded in every
  // process, so its handle comes without any search.
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
  auto setDefault = kernel ? reinterpret_cast<SetDefaultDllDirectoriesFn>(
                                 reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDefaultDllDirectories")))
                           : nullptr;
  // The system directory alone: LOAD_LIBRARY_SEARCH_DEFAULT_DIRS would bring
  // the program's folder back. SetDllDirectoryA("") is no fallback: its
  // setting is handed on to the programs started from here, and the
  // current directory it drops is the program's folder, searched first
  // anyway.
  return setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace quandrel::win32
