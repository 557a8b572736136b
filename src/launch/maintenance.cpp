#include "launch/maintenance.h"

#include <utility>

#include "launch/launch.h"
#include "platform/dialogs.h"
#include "text/sjis.h"

namespace quandrel {

const char kAccessAppPathKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\MSACCESS.EXE";
const char kCompactionOverMessage[] = "\n\n以上で最適化処理を終了します。";

namespace {

const char kAccessMissing[] =
    "Microsoft Access が見つかりません\n\nこのコンピュータには MSACCESS.EXE が登録されていません";

}  // namespace

std::string AccessCommandLine(const std::string& accessPath, const std::string& databasePath, AccessJob job) {
  const char* option = job == AccessJob::Compact ? " /Compact" : " /Repair";
  return "\"" + accessPath + "\" \"" + databasePath + "\"" + option;
}

std::string TargetFolder(const std::string& targetPath) {
  return targetPath.substr(0, targetPath.size() - text::FileNamePart(targetPath).size());
}

std::string SameFolderPattern(const std::string& targetPath) { return TargetFolder(targetPath) + "*.MDB"; }

bool OffersEntry(const std::string& entryName, const std::string& targetPath) {
  if (text::UpperAsciiBytes(entryName) == text::UpperAsciiBytes(text::FileNamePart(targetPath))) return false;
  return text::HasExtension(entryName, ".MDB");
}

std::string CompactionDoneMessage(const std::string& targetPath) {
  return "「 " + text::FileNamePart(targetPath) + " 」の最適化が終了しました。";
}

std::string OtherFileQuestion(const std::string& entryName) {
  return "同一フォルダの別ファイルを探しています。\n\n「 " + entryName +
         " 」が同一フォルダに見つかりました\n\nこのファイルも最適化しますか？\n\n";
}

bool LookUpAccess(Registry& registry, std::string* accessPath) {
  std::string found;
  // A key without a path names nothing that could be started.
  if (registry.ReadDefaultValue(Hive::LocalMachine, kAccessAppPathKey, &found) && !found.empty()) {
    *accessPath = std::move(found);
  }
  return !accessPath->empty();
}

AccessMaintenance::AccessMaintenance(Platform& platform, LauncherShell& shell, ProcessRecord& process,
                                     std::function<std::string()> unClose, std::string& accessPath)
    : platform_(platform), shell_(shell), process_(process), unClose_(std::move(unClose)), accessPath_(accessPath) {}

bool AccessMaintenance::FindAccess() {
  if (LookUpAccess(platform_.registry, &accessPath_)) return true;
  platform_.dialogs.ShowError(kAccessMissing);
  return false;
}

OsResult AccessMaintenance::RunAccess(const std::string& databasePath, AccessJob job) {
  Processes& processes = platform_.processes;
  const OsResult started =
      processes.Start(AccessCommandLine(accessPath_, databasePath, job), StartupShape::AsLauncher, &process_);
  if (started) WatchProcess(processes, platform_.desktop, shell_, process_, unClose_);
  process_.Reset();
  return started;
}

void AccessMaintenance::ShowStartFailure(OsResult result) {
  std::string reason = platform_.system.ErrorText(result.error);
  if (reason.empty()) reason = "エラー番号 " + std::to_string(result.error);
  platform_.dialogs.ShowError("Microsoft Access を起動できません\n\n" + accessPath_ + "\n\n" + reason);
}

void AccessMaintenance::Compact(const std::string& targetPath) {
  if (!FindAccess()) return;
  Dialogs& dialogs = platform_.dialogs;

  shell_.ShowApplicationWindow(false);
  const OsResult ran = RunAccess(targetPath, AccessJob::Compact);
  if (!ran) {
    // Nothing was compacted, so nothing is reported as done and no other
    // file is offered: Access would not start for it either.
    shell_.ShowApplicationWindow(true);
    shell_.BringToFront();
    ShowStartFailure(ran);
    return;
  }
  shell_.BringToFront();
  dialogs.ShowMessage(CompactionDoneMessage(targetPath));

  // The folder is listed once, before any other file is compacted, so what
  // Access leaves behind meanwhile is never offered.
  const std::string folder = TargetFolder(targetPath);
  for (const std::string& name : platform_.files.FindNames(SameFolderPattern(targetPath))) {
    if (!OffersEntry(name, targetPath)) continue;
    const Answer answer = dialogs.Confirm(OtherFileQuestion(name), true);
    if (answer == Answer::Abort) break;
    if (answer != Answer::Yes) continue;
    const OsResult other = RunAccess(folder + name, AccessJob::Compact);
    shell_.BringToFront();
    if (!other) {
      ShowStartFailure(other);
      break;
    }
  }

  dialogs.ShowMessage(kCompactionOverMessage);
  shell_.ShowApplicationWindow(true);
}

void AccessMaintenance::Repair(const std::string& targetPath) {
  if (!FindAccess()) return;
  shell_.ShowApplicationWindow(false);
  const OsResult ran = RunAccess(targetPath, AccessJob::Repair);
  shell_.ShowApplicationWindow(true);
  shell_.BringToFront();
  if (!ran) ShowStartFailure(ran);
}

}  // namespace quandrel
