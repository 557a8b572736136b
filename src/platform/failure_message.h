// How a failed file or program step is told to the user: the path, what
// could not be done, and the platform's own wording of the reason.
#pragma once

#include <string>

#include "platform/os_result.h"
#include "platform/system.h"

namespace quandrel {

// "<path> <phrase>\n\n<reason>".
std::string ReasonedMessage(const std::string& path, const char* phrase, const std::string& reason);

// The platform's wording of an error, or its number when there is none.
std::string ErrorReason(System& system, OsResult result);

// "<path> <phrase>\n\n<the platform's wording of the error>", e.g.
// "D:\DB\SALES.MDB を元に戻せません\n\nプロセスはファイルに...". With no
// wording for the code, its number is given instead.
std::string FileFailureMessage(System& system, const std::string& path, const char* phrase,
                               OsResult result);

}  // namespace quandrel
