#include "platform/failure_message.h"

namespace quandrel {

std::string ReasonedMessage(const std::string& path, const char* phrase, const std::string& reason) {
  return path + " " + phrase + "\n\n" + reason;
}

std::string ErrorReason(System& system, OsResult result) {
  std::string reason = system.ErrorText(result.error);
  if (reason.empty()) reason = "エラー番号 " + std::to_string(result.error);
  return reason;
}

std::string FileFailureMessage(System& system, const std::string& path, const char* phrase,
                               OsResult result) {
  return ReasonedMessage(path, phrase, ErrorReason(system, result));
}

}  // namespace quandrel
