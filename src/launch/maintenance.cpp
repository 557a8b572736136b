#include "launch/maintenance.h"

#include <utility>

#include "launch/database_check.h"
#include "launch/launch.h"
#include "launch/shared_use.h"
#include "platform/dialogs.h"
#include "platform/failure_message.h"
#include "text/messages.h"
#include "text/sjis.h"

namespace quandrel {

const char kAccessAppPathKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\MSACCESS.EXE";

std::string AccessCommandLine(const std::string& accessPath, const std::string& databasePath, AccessJob job) {
  const char* option = job == AccessJob::Compact ? " /Compact" : " /Repair";
  return "\"" + accessPath + "\" \"" + databasePath + "\"" + option;
}

std::string TargetFolder(const std::string& targetPath) {
  return targetPath.substr(0, targetPath.size() - text::FileNamePart(targetPath).size());
}

std::string SameFolderPattern(const std::string& targetPath) { return TargetFolder(targetPath) + "*"; }

bool OffersEntry(const std::string& entryName, const std::string& targetPath) {
  if (text::UpperAsciiBytes(entryName) == text::UpperAsciiBytes(text::FileNamePart(targetPath))) return false;
  return IsDatabaseTarget(entryName);
}

std::string CompactionDoneMessage(const std::string& targetPath) {
  return messages::Fill(messages::kCompactionDone, {text::FileNamePart(targetPath)});
}

std::string OtherFileQuestion(const std::string& entryName) {
  return messages::Fill(messages::kCompactOtherFile, {entryName});
}

bool LookUpAccess(Registry& registry, std::string* accessPath) {
  // 64-bit Windows keeps App Paths apart for 32-bit and 64-bit programs, and
  // Office registers Access in the view of its own bitness, which need not
  // be the launcher's. A key without a path names nothing that could be
  // started.
  for (RegistryView view : {RegistryView::Own, RegistryView::Other}) {
    std::string found;
    if (registry.ReadDefaultValue(Hive::LocalMachine, view, kAccessAppPathKey, &found) && !found.empty()) {
      *accessPath = std::move(found);
      return true;
    }
  }
  return !accessPath->empty();
}

AccessMaintenance::AccessMaintenance(Platform& platform, LauncherShell& shell, ProcessRecord& process,
                                     std::function<SettingWord()> unClose, std::string& accessPath,
                                     history::RunLog* log)
    : platform_(platform),
      shell_(shell),
      process_(process),
      unClose_(std::move(unClose)),
      accessPath_(accessPath),
      log_(log) {}

bool AccessMaintenance::FindAccess() {
  if (LookUpAccess(platform_.registry, &accessPath_)) return true;
  platform_.dialogs.ShowError(messages::kAccessMissing);
  return false;
}

OsResult AccessMaintenance::RunAccess(const std::string& databasePath, AccessJob job) {
  Processes& processes = platform_.processes;
  const OsResult started =
      processes.Start(AccessCommandLine(accessPath_, databasePath, job), StartupShape::AsLauncher, &process_);
  if (log_) {
    log_->Step(job == AccessJob::Compact ? history::kCompactAction : history::kRepairAction, databasePath,
               databasePath, started);
  }
  if (started) WatchProcess(processes, platform_.desktop, shell_, process_, unClose_);
  process_.Reset();
  return started;
}

void AccessMaintenance::ShowStartFailure(OsResult result) {
  platform_.dialogs.ShowError(
      messages::Fill(messages::kAccessNotStarted, {accessPath_, ErrorReason(platform_.system, result)}));
}

bool AccessMaintenance::RefusedAsOpenElsewhere(const std::string& databasePath) {
  return RefuseWhenOpenElsewhere(platform_.files, platform_.system, platform_.dialogs, databasePath);
}

void AccessMaintenance::Compact(const std::string& targetPath) {
  if (RefusedAsOpenElsewhere(targetPath) || !FindAccess()) return;
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
    // A file a colleague has open is left alone; the others may still be done.
    if (RefusedAsOpenElsewhere(folder + name)) continue;
    const OsResult other = RunAccess(folder + name, AccessJob::Compact);
    shell_.BringToFront();
    if (!other) {
      ShowStartFailure(other);
      break;
    }
  }

  dialogs.ShowMessage(messages::kCompactionOver);
  shell_.ShowApplicationWindow(true);
}

void AccessMaintenance::Repair(const std::string& targetPath) {
  if (RefusedAsOpenElsewhere(targetPath) || !FindAccess()) return;
  shell_.ShowApplicationWindow(false);
  const OsResult ran = RunAccess(targetPath, AccessJob::Repair);
  shell_.ShowApplicationWindow(true);
  shell_.BringToFront();
  if (!ran) ShowStartFailure(ran);
}

}  // namespace quandrel
