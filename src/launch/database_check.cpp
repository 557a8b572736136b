#include "launch/database_check.h"

#include "platform/failure_message.h"
#include "text/messages.h"
#include "text/sjis.h"

namespace quandrel {

namespace {

constexpr std::size_t kSignatureAt = 4;
constexpr char kJetSignature[] = "Standard Jet DB";  // the zero byte after it is part of the check
constexpr char kAceSignature[] = "Standard ACE DB";
constexpr std::size_t kSignatureBytes = sizeof kJetSignature;  // 16, with the zero byte
constexpr std::size_t kVersionAt = 0x14;
constexpr std::size_t kHeaderBytes = kVersionAt + 1;
constexpr std::uint32_t kJet3PageSize = 2048;
constexpr std::uint32_t kPageSize = 4096;

bool SignatureIs(const std::string& head, const char (&signature)[kSignatureBytes]) {
  return head.compare(kSignatureAt, kSignatureBytes, signature, kSignatureBytes) == 0;
}

}  // namespace

bool IsDatabaseTarget(const std::string& path) {
  return text::HasExtension(path, ".MDB") || text::HasExtension(path, ".ACCDB");
}

DatabaseCheck JudgeDatabase(const std::string& head, std::uint64_t size) {
  DatabaseCheck check;
  check.size = size;
  if (size < kHeaderBytes || head.size() < kHeaderBytes) {
    check.fault = DatabaseFault::TooShort;
    return check;
  }
  const bool jet = SignatureIs(head, kJetSignature);
  check.ace = SignatureIs(head, kAceSignature);
  if (head[0] != '\0' || (!jet && !check.ace)) {
    check.fault = DatabaseFault::NotADatabase;
    return check;
  }
  check.pageSize = head[kVersionAt] == '\0' ? kJet3PageSize : kPageSize;
  if (size < check.pageSize) {
    check.fault = DatabaseFault::TooShort;
  } else if (size % check.pageSize != 0) {
    check.fault = DatabaseFault::NotWholePages;
  } else {
    check.fault = DatabaseFault::None;
  }
  return check;
}

DatabaseCheck CheckDatabase(Files& files, const std::string& path) {
  std::string head;
  std::uint64_t size = 0;
  const OsResult read = files.ReadHead(path, kHeaderBytes, &head, &size);
  if (!read) {
    DatabaseCheck check;
    check.read = read;
    return check;
  }
  return JudgeDatabase(head, size);
}

std::string DatabaseFaultReason(System& system, const DatabaseCheck& check) {
  switch (check.fault) {
    case DatabaseFault::None: return "";
    case DatabaseFault::Unreadable: return messages::Fill(messages::kDatabaseUnreadable, {ErrorReason(system, check.read)});
    case DatabaseFault::TooShort:
      if (check.size == 0) return messages::kDatabaseEmpty;
      return messages::Fill(messages::kDatabaseTooShort, {std::to_string(check.size)});
    case DatabaseFault::NotWholePages:
      return messages::Fill(messages::kDatabaseNotWholePages,
                            {std::to_string(check.size), std::to_string(check.pageSize)});
    case DatabaseFault::NotADatabase: return messages::kDatabaseNoHeader;
  }
  return "";
}

}  // namespace quandrel
