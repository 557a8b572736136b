// Where the loader looks for DLLs that the program (or a system component on
// its behalf) loads by name after start.
#pragma once

namespace quandrel::win32 {

// Restricts every later load of a DLL by bare name, and the search for the
// dependencies of a DLL loaded by full path, to the system directory, so that
// a DLL dropped into the program's folder (often a shared folder that many
// can write to) or into the current directory is never loaded in its place.
// Components the system loads by full path with the altered search (COM
// in-process servers, among them the file dialog's shell extensions) still
// find the DLLs beside them. The restriction is this process's alone: the
// programs it starts search as they would when started by hand.
//
// True when the restriction holds. Where the platform lacks it (Windows 7
// without its loader update KB2533623) nothing changes: the loader searches
// the program's folder first there whatever the program does, and the one
// other step it offers (SetDllDirectory) would reach into the search of
// every program the launcher starts.
bool RestrictDllSearchToSystem();

}  // namespace quandrel::win32
