// The rules of the single-instance guard: one running launcher per
// executable path.
#pragma once

#include <string>

namespace quandrel {

// The guard's name, derived from the full executable path: each backslash in
// turn, found byte-wise (so a 0x5C trail byte counts too), becomes "_" and at
// most 255 bytes are kept after it. A path that begins with a backslash (a
// network path) is used unchanged.
std::string InstanceName(const std::string& fullExecutablePath);

// The refusal shown to a second start of the same executable path.
std::string SecondStartMessage(const std::string& fullExecutablePath);

}  // namespace quandrel
