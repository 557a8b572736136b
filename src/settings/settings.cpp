#include "settings/settings.h"

#include <vector>

#include "platform/failure_message.h"
#include "platform/os_errors.h"
#include "settings/ini_document.h"
#include "text/messages.h"
#include "text/sjis.h"

namespace quandrel {

namespace {

const char kExecute[] = "Execute";
const char kSystem[] = "System";
const char kBackUp[] = "BackUp";

struct Entry {
  const char* section;
  const char* key;
  std::string value;
};

// The file as it is now; a file that cannot be read counts as empty.
IniDocument ReadForLoad(Files& files, const std::string& settingsPath) {
  std::string bytes;
  if (!files.Read(settingsPath, &bytes)) return IniDocument();
  return IniDocument::Parse(bytes);
}

void LoadInto(const IniDocument& ini, const char* section, const char* key, std::string* value) {
  if (auto stored = ini.Get(section, key)) *value = *stored;
}
void LoadInto(const IniDocument& ini, const char* section, const char* key, SettingWord* value) {
  if (auto stored = ini.Get(section, key)) *value = SettingWord::FromText(*stored);
}

// A path written in double quotes, as people write paths with blanks, is the
// path inside them: one pair around the whole value goes, as the profile
// functions drop it. A file name can't hold a double quote, so no path
// loses anything; the quote (0x22) is never the second byte of a character.
void LoadPathInto(const IniDocument& ini, const char* section, const char* key, std::string* value) {
  LoadInto(ini, section, key, value);
  if (value->size() >= 2 && value->front() == '"' && value->back() == '"') {
    *value = value->substr(1, value->size() - 2);
  }
}

SettingsWrite Failed(const std::string& settingsPath, const char* key, OsResult failure) {
  SettingsWrite w;
  w.ok = false;
  w.failedKey = key;
  w.message = messages::Fill(messages::kSettingsNotWritten, {settingsPath});
  w.failure = failure;
  return w;
}

// Writes the entries one key at a time, in order. Each key's write puts a
// complete new file in place in one step (written and flushed under a name
// of its own, then renamed over the settings file), so a failure at any
// point leaves the file as it was after the previous key: never truncated,
// never half written. The batch stops at the first key that fails.
SettingsWrite WriteBatch(Files& files, const std::string& settingsPath, const std::vector<Entry>& entries) {
  if (entries.empty()) return SettingsWrite();

  IniDocument ini;
  std::string bytes;
  const OsResult read = files.Read(settingsPath, &bytes);
  if (read) {
    ini = IniDocument::Parse(bytes);
  } else if (read.error != os_error::kFileNotFound && read.error != os_error::kPathNotFound) {
    // Writing without the current content would throw away every other key
    // of the file: the first key fails instead. Only the read's own answer
    // tells that there is no file; a separate check of existence could fail
    // for the same reason the read did and be taken for "no file".
    return Failed(settingsPath, entries.front().key, read);
  }

  const std::string partial = settingsPath + ".part";
  for (const Entry& e : entries) {
    ini.Set(e.section, e.key, e.value);
    OsResult written = files.WriteNew(partial, ini.Serialize());
    OsResult placed = written ? files.Replace(partial, settingsPath) : written;
    if (!placed) {
      if (files.FileExists(partial)) files.Remove(partial);  // of no use, possibly incomplete
      return Failed(settingsPath, e.key, placed);
    }
  }
  return SettingsWrite();
}

}  // namespace

std::string SettingsWriteFailureMessage(System& system, const SettingsWrite& written) {
  return written.message + "\n\n" + ErrorReason(system, written.failure);
}

std::string SettingsFilePath(const std::string& executablePath) {
  const std::string ext = text::Extension(executablePath);
  return executablePath.substr(0, executablePath.size() - ext.size()) + ".INI";
}

MainSettings LoadMainSettings(Files& files, const std::string& settingsPath) {
  const IniDocument ini = ReadForLoad(files, settingsPath);
  MainSettings s;
  LoadPathInto(ini, kExecute, "DBPath", &s.DBPath);
  LoadInto(ini, kSystem, "Title", &s.Title);
  LoadPathInto(ini, kSystem, "ImagePath", &s.ImagePath);
  LoadPathInto(ini, kSystem, "IconPath", &s.IconPath);
  LoadInto(ini, kSystem, "Customize", &s.Customize);
  LoadInto(ini, kSystem, "MDBbak", &s.MDBbak);
  LoadInto(ini, kSystem, "UnClose", &s.UnClose);
  return s;
}

SettingsWrite SaveMainSettings(Files& files, const std::string& settingsPath, const MainSettings& s) {
  return WriteBatch(files, settingsPath,
                    {
                        {kExecute, "DBPath", s.DBPath},
                        {kSystem, "ImagePath", s.ImagePath},
                        {kSystem, "IconPath", s.IconPath},
                        {kSystem, "Title", s.Title},
                        {kSystem, "Customize", s.Customize.Text()},
                        {kSystem, "MDBbak", s.MDBbak.Text()},
                        {kSystem, "UnClose", s.UnClose.Text()},
                    });
}

BackupOptions LoadBackupOptions(Files& files, const std::string& settingsPath) {
  const IniDocument ini = ReadForLoad(files, settingsPath);
  BackupOptions o;
  LoadInto(ini, kBackUp, "Multi", &o.Multi);
  LoadInto(ini, kBackUp, "SubFolder", &o.SubFolder);
  LoadInto(ini, kBackUp, "Drive", &o.Drive);
  LoadInto(ini, kBackUp, "PreFix", &o.PreFix);
  LoadInto(ini, kBackUp, "UpDate", &o.UpDate);
  if (o.Multi == Word::Yes) o.Multi = Word::Day;
  if (o.PreFix.empty()) o.PreFix = "BackUp";
  return o;
}

SettingsWrite SaveBackupOptions(Files& files, const std::string& settingsPath, const BackupOptions& o) {
  return WriteBatch(files, settingsPath,
                    {
                        {kBackUp, "Multi", o.Multi.Text()},
                        {kBackUp, "SubFolder", o.SubFolder.Text()},
                        {kBackUp, "Drive", o.Drive},
                        {kBackUp, "PreFix", o.PreFix},
                        {kBackUp, "UpDate", o.UpDate.Text()},
                    });
}

std::string ShortenPath(Files& files, const std::string& text, const std::string& settingsPath) {
  if (text.empty() || !files.FileExists(text)) return text;
  const std::string full = files.FullPath(text);
  // Character-wise, so the second byte of 表 or ソ is no separator.
  const std::size_t sep = text::CharFindLastOf(full, "\\");
  if (sep == std::string::npos) return full;
  const std::string folder = full.substr(0, sep);
  if (text::UpperAscii(folder) == text::UpperAscii(text::FolderPart(settingsPath))) {
    return full.substr(sep + 1);
  }
  return full;
}

}  // namespace quandrel
