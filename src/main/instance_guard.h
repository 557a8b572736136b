// The rules of the single-instance guard: one running launcher per
// executable path.
#pragma once

#include <string>

namespace quandrel {

// The path the guard is named from, the same however this start spelled the
// executable's path: its final path as the platform resolved it from an
// open handle (another drive letter for the same folder, 8.3 short names and
// letter case all lead to it), without the "\\?\" prefix ("\\?\UNC\server"
// becomes "\\server"). When the platform could not resolve it (empty
// finalPath), the spelled path. ASCII letters are upper-cased either way
// (never a trail byte), since file names ignore their case.
std::string GuardPath(const std::string& spelledPath, const std::string& finalPath);

// The guard's name, derived from the full executable path: each backslash in
// turn, found byte-wise (so a 0x5C trail byte counts too), becomes "_" and at
// most 255 bytes of whole characters are kept after it. A path that begins
// with a backslash (a network path) is used unchanged.
std::string InstanceName(const std::string& fullExecutablePath);

// The refusal shown to a second start of the same executable path.
std::string SecondStartMessage(const std::string& fullExecutablePath);

}  // namespace quandrel
