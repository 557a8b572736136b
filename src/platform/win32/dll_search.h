// Where the loader looks for DLLs that the program (or a system component on
// its behalf) loads by name after start.
#pragma once

namespace quandrel::win32 {

// Restricts every later load of a DLL by bare name to the system directory,
// so that a DLL dropped into the program's folder (often a shared folder that
// many can write to) or into the current directory is never loaded in its
// place. Where the platform lacks that restriction (Windows 7 without its
// loader update) the current directory at least leaves the search. True when
// the search is the system directory's alone.
bool RestrictDllSearchToSystem();

}  // namespace quandrel::win32
