// Whether a file is a Microsoft Access database that could be opened: the
// two kinds of database file, and a check of one file that reads only its
// first bytes and its size, so it costs the same on any size of file.
//
// A database file (Jet and its successor ACE) is a whole number of pages.
// Its first page begins with the page type 0x00 (the database definition
// page), then at offset 4 the text "Standard Jet DB" or "Standard ACE DB"
// ending in a zero byte; the byte at offset 0x14 names the engine version:
// 0 for Jet 3 (pages of 2048 bytes), anything else for the later versions
// (pages of 4096 bytes).
#pragma once

#include <cstdint>
#include <string>

#include "platform/files.h"
#include "platform/os_result.h"
#include "platform/system.h"

namespace quandrel {

// The target is an Access database file: ".MDB" or ".ACCDB", in any letter case.
bool IsDatabaseTarget(const std::string& path);

enum class DatabaseFault {
  None,           // passes
  Unreadable,     // missing, or the platform refused to read it
  TooShort,       // shorter than one page, or than the header itself
  NotWholePages,  // the size is no multiple of the page size: cut short, or grown by stray bytes
  NotADatabase,   // the first bytes name no Jet or ACE database
};

struct DatabaseCheck {
  DatabaseFault fault = DatabaseFault::Unreadable;
  OsResult read;               // why it could not be read (Unreadable)
  std::uint64_t size = 0;      // bytes, once read
  std::uint32_t pageSize = 0;  // 2048 or 4096, once the header names a database
  bool ace = false;            // the header says "Standard ACE DB"

  bool Passes() const { return fault == DatabaseFault::None; }
};

// The judgement over the first bytes of a file (at least 0x15 of them when
// the file has that many) and its size.
DatabaseCheck JudgeDatabase(const std::string& head, std::uint64_t size);

// Reads the first bytes and the size of the file and judges them.
DatabaseCheck CheckDatabase(Files& files, const std::string& path);

// Why a file fails the check, in the user's words ("ファイルが空です（0
// バイト）。"); empty for a file that passes.
std::string DatabaseFaultReason(System& system, const DatabaseCheck& check);

}  // namespace quandrel
