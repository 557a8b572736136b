// How a failed file or program step is told to the user: the path, what
// could not be done, and the platform's own wording of the reason.
#pragma once

#include <string>

#include "platform/os_result.h"
#include "platform/system.h"

namespace quandrel {

// The platform's wording of a failed call's error; with no wording for the
// code, its number is given instead ("エラー番号 1784").
std::string ErrorReason(System& system, OsResult result);

// A message template of two parts (messages::kCannotRestore and the like)
// filled with the path and the reason, e.g.
// "D:\DB\SALES.MDB を元に戻せません\n\nプロセスはファイルに...".
std::string FileFailureMessage(System& system, const char* messageTemplate, const std::string& path,
                               OsResult result);

}  // namespace quandrel
