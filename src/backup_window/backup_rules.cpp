#include "backup_window/backup_rules.h"

#include "text/sjis.h"

namespace quandrel {

namespace {

constexpr std::size_t kMaxSourceTail = 100;

// The part before the first `c`; empty when there is none. "/" and "(" are
// never the second byte of a double-byte character, so a byte search serves.
std::string Before(const std::string& s, char c) {
  const std::size_t at = s.find(c);
  return at == std::string::npos ? std::string() : s.substr(0, at);
}

// At most `count` bytes from the 1-based byte position `from`.
std::string Copy(const std::string& s, std::size_t from, std::size_t count) {
  if (from < 1 || from > s.size()) return std::string();
  return s.substr(from - 1, count);
}

// Without the blanks and control bytes (every byte up to 0x20) at either
// end, as a date format may carry them: a folder name may not hold a
// control byte. Bytes below 0x40 are never the second byte of a
// double-byte character, so a byte-wise trim can't split one.
std::string TrimBlanksAndControls(const std::string& s) {
  auto blankOrControl = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  std::size_t first = 0, last = s.size();
  while (first < last && blankOrControl(s[first])) ++first;
  while (last > first && blankOrControl(s[last - 1])) --last;
  return s.substr(first, last - first);
}

}  // namespace

std::string DateFolderName(const std::string& systemShortDate) {
  const std::string shortDate = TrimBlanksAndControls(systemShortDate);
  const std::string year = Before(shortDate, '/');
  const std::string rest = Copy(shortDate, year.size() + 2, 10);
  std::string month = Before(rest, '/');
  std::string day = Copy(rest, month.size() + 2, 10);
  day = TrimBlanksAndControls(Before(day + "(", '('));  // a weekday in parentheses is dropped
  if (month.size() == 1) month = "0" + month;
  if (day.size() == 1) day = "0" + day;
  return year + "_" + month + "_" + day;
}

std::string WeekdayFolderName(int weekday) {
  static const char* const kNames[] = {"(1)_日曜", "(2)_月曜", "(3)_火曜", "(4)_水曜",
                                       "(5)_木曜", "(6)_金曜", "(7)_土曜"};
  if (weekday < 1 || weekday > 7) return std::string();
  return kNames[weekday - 1];
}

std::string DestinationTail(const std::string& sourceFolder, const std::string& prefix, Multiplex mode,
                            const std::string& dateName, const std::string& weekdayName) {
  // The source path without its drive letter and colon. A network path
  // (\\server\share\...) has no drive: it loses one of its two leading
  // backslashes, so that the server's name becomes a folder of its own
  // instead of running into the prefix or, with the root marker, making the
  // destination a path relative to the drive's current folder.
  const std::size_t driveLength = sourceFolder.compare(0, 2, "\\\\") == 0 ? 1 : 2;
  std::string tail = sourceFolder.size() > driveLength
                         ? text::CutCharacters(sourceFolder.substr(driveLength), kMaxSourceTail)
                         : "";
  if (prefix != kRootMarker) tail = "\\" + prefix + tail;
  switch (mode) {
    case Multiplex::Date: tail += "\\" + dateName; break;
    case Multiplex::Weekday: tail += "\\" + weekdayName; break;
    case Multiplex::None: break;
  }
  return tail;
}

std::string CopyProgramPath(const std::string& systemDirectory) {
  if (systemDirectory.empty()) return std::string();
  const bool endsInSeparator = text::CharFindLastOf(systemDirectory, "\\") == systemDirectory.size() - 1;
  return systemDirectory + (endsInSeparator ? "" : "\\") + kCopyProgramName;
}

std::string CopyParameters(const std::string& source, const std::string& destination, bool updateOnly,
                           bool withSubfolders) {
  std::string p = "\"" + source + "\" \"" + destination + "\\\" /C /F";
  if (updateOnly) p += " /D";
  if (withSubfolders) p += " /E";
  return p;
}

DriveKind DriveKindOf(unsigned driveType) {
  switch (driveType) {
    case 0:
    case 1: return {true, "不明デバイス", false};
    case 2: return {true, "フロッピー・ＭＯ等", false};
    case 3: return {true, "ハードディスク", true};
    case 4: return {true, "ネットワーク", false};
    case 5: return {true, "ＣＤ－ＲＯＭ", false};
    case 6: return {true, "ＲＡＭディスク", true};
    default: return {};
  }
}

std::string FreeSpaceText(std::optional<std::uint64_t> freeBytes) {
  // A failed query counts as -1 byte, which is 0 whole kilobytes.
  const std::uint64_t kb = freeBytes ? *freeBytes / 1024 : 0;
  std::string digits = kb == 0 ? std::string() : std::to_string(kb);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped + " KB";
}

}  // namespace quandrel
