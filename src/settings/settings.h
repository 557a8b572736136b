// The settings file: an INI file beside the executable with the sections
// Execute, System and BackUp. The switches are setting words ("Use",
// "Never", ...), which keep any other stored text as it was.
#pragma once

#include <string>

#include "platform/files.h"
#include "platform/os_result.h"
#include "platform/system.h"
#include "settings/setting_word.h"

namespace quandrel {

struct MainSettings {
  std::string DBPath;
  std::string Title;
  std::string ImagePath;
  std::string IconPath;
  SettingWord Customize = Word::Enable;
  SettingWord MDBbak = Word::Use;
  SettingWord UnClose = Word::Use;
};

struct BackupOptions {
  SettingWord Multi = Word::No;
  SettingWord SubFolder = Word::Yes;
  std::string Drive;
  std::string PreFix = "BackUp";
  SettingWord UpDate = Word::Yes;
};

// Outcome of a batch of writes. A failed batch stops at the failing key:
// keys before it are written, later ones are not.
struct SettingsWrite {
  bool ok = true;
  std::string failedKey;  // empty when ok
  std::string message;    // "<settings file> に書き込めません" when not ok
  OsResult failure;       // the failing call's answer, for its reason
};

// What the user is told of a failed batch: the message and, below it, the
// platform's reason ("ディスクがいっぱいです" and the like).
std::string SettingsWriteFailureMessage(System& system, const SettingsWrite& written);

// The executable's path with its extension replaced by ".INI".
std::string SettingsFilePath(const std::string& executablePath);

// A missing file or key yields the default; an unreadable file counts as missing.
// DBPath, ImagePath and IconPath lose one pair of double quotes around the
// whole value; every other value (the title, the root marker "" of PreFix)
// is taken as written.
MainSettings LoadMainSettings(Files& files, const std::string& settingsPath);
// Writes Execute/DBPath, then System/ImagePath, IconPath, Title, Customize,
// MDBbak, UnClose: every key, empty values included.
SettingsWrite SaveMainSettings(Files& files, const std::string& settingsPath, const MainSettings& s);

// Reads the BackUp section; a stored Multi "Yes" becomes "Day" and an empty
// PreFix becomes "BackUp".
BackupOptions LoadBackupOptions(Files& files, const std::string& settingsPath);
// Writes BackUp/Multi, SubFolder, Drive, PreFix, UpDate in that order.
SettingsWrite SaveBackupOptions(Files& files, const std::string& settingsPath, const BackupOptions& o);

// The text to store for a path field: unchanged when no file of that name
// exists; else its full path, or just its file name when it lies in the
// settings file's folder (folders compared upper-cased).
std::string ShortenPath(Files& files, const std::string& text, const std::string& settingsPath);

}  // namespace quandrel
