#include "platform/failure_message.h"

#include "text/messages.h"

namespace quandrel {

std::string ErrorReason(System& system, OsResult result) {
  std::string reason = system.ErrorText(result.error);
  if (reason.empty()) reason = messages::Fill(messages::kErrorNumber, {std::to_string(result.error)});
  return reason;
}

std::string FileFailureMessage(System& system, const char* messageTemplate, const std::string& path,
                               OsResult result) {
  return messages::Fill(messageTemplate, {path, ErrorReason(system, result)});
}

}  // namespace quandrel
