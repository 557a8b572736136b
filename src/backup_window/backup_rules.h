// The folder backup's rules as pure functions: date and weekday folder
// names, the destination folder, XCOPY's parameters, the drive kind and the
// free space text. Texts are CP932 bytes; lengths count bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quandrel {

// A PreFix of two ASCII double quotes: no prefix folder, the source path
// goes straight under the destination drive's root.
inline constexpr char kRootMarker[] = "\"\"";
inline constexpr char kCopyProgramName[] = "xcopy.exe";

// The extra folder level below the source path.
enum class Multiplex { None, Date, Weekday };

// "2024/3/5", "2024/03/05(火)" -> "2024_03_05"; "24/03/05" -> "24_03_05".
// Any other text gives some name and never fails.
std::string DateFolderName(const std::string& shortDate);

// "(1)_日曜" for Sunday (1) to "(7)_土曜" for Saturday (7); empty otherwise.
std::string WeekdayFolderName(int weekday);

// The destination without its drive: "\" + prefix (unless the root marker)
// + the source folder (the executable's, text::FolderOf) without its drive,
// or a network path without its first backslash (at most 100 bytes of it,
// never ending in half a character), then "\" and the date or weekday name.
std::string DestinationTail(const std::string& sourceFolder, const std::string& prefix, Multiplex mode,
                            const std::string& dateName, const std::string& weekdayName);

// The system's XCOPY by its full path: the folder given (the system
// directory) and "xcopy.exe". Started by a bare name from the program's
// folder, an Xcopy.exe that anyone dropped there would run instead. Empty
// when the folder is unknown.
std::string CopyProgramPath(const std::string& systemDirectory);

// "\"<source>\" \"<destination>\\\" /C /F", then " /D" for update-only,
// then " /E" when subfolders are copied.
std::string CopyParameters(const std::string& source, const std::string& destination, bool updateOnly,
                           bool withSubfolders);

// What a drive type (GetDriveTypeA) shows.
struct DriveKind {
  bool known = false;           // false: both labels stay as they are
  std::string text;             // the kind's name
  bool showsFreeSpace = false;  // false: the free space label is emptied
};
DriveKind DriveKindOf(unsigned driveType);

// Free kilobytes (bytes / 1024) as "#,### KB": "120,563 KB"; no digits for
// 0, so 0 and a failed query (no value) read " KB".
std::string FreeSpaceText(std::optional<std::uint64_t> freeBytes);

}  // namespace quandrel
