// Scripted fakes of the platform services other than files.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/os_errors.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "text/sjis.h"

namespace quandrel::fakes {

// Keys below a hive in one of the two registry views, matched without
// regard to ASCII case. A key present with no default value reads as empty
// text.
class FakeRegistry : public Registry {
 public:
  void SetKey(Hive hive, const std::string& subkey, const std::string& defaultValue = "",
              RegistryView view = RegistryView::Own) {
    keys_[{hive, view, text::UpperAscii(subkey)}] = defaultValue;
  }
  // Every subkey opened, in order, and the view each was opened in.
  std::vector<std::string> opened;
  std::vector<RegistryView> openedViews;

  bool ReadDefaultValue(Hive hive, RegistryView view, const std::string& subkey, std::string* value) override {
    opened.push_back(subkey);
    openedViews.push_back(view);
    auto it = keys_.find({hive, view, text::UpperAscii(subkey)});
    if (it == keys_.end()) return false;
    *value = it->second;
    return true;
  }

 private:
  std::map<std::tuple<Hive, RegistryView, std::string>, std::string> keys_;
};

// Each started process runs for a scripted number of one-second waits.
class FakeProcesses : public Processes {
 public:
  struct Started {
    std::string commandLine;
    StartupShape shape;
  };
  std::vector<Started> started;
  struct ShellCall {
    std::uintptr_t owner;
    std::string file, parameters;
  };
  std::vector<ShellCall> shellOpened;
  // Each next shell start fails with this error, while non-zero.
  std::uint32_t failShellOpenWith = 0;
  // How many waits each next start stays running for (front first); 0 when
  // the queue is empty.
  std::deque<int> runFor;
  // Each next start fails with this error, while non-zero.
  std::uint32_t failStartsWith = 0;
  // Called at the start of each wait, with the waits done so far for it.
  std::function<void(int)> onWait;
  int waits = 0;
  int released = 0;

  OsResult Start(const std::string& commandLine, StartupShape shape, ProcessRecord* record) override {
    started.push_back({commandLine, shape});
    *record = ProcessRecord{};
    if (failStartsWith != 0) return OsResult::Failure(failStartsWith);
    ++nextId_;
    record->process = nextId_;
    record->thread = nextId_ + 1000;
    record->processId = nextId_ + 2000;
    record->threadId = nextId_ + 3000;
    record->ClosedBy(*this);
    remaining_[nextId_] = runFor.empty() ? 0 : runFor.front();
    if (!runFor.empty()) runFor.pop_front();
    return OsResult::Success();
  }
  WaitOutcome Wait(const ProcessRecord& record, std::uint32_t) override {
    if (onWait) onWait(waits);
    ++waits;
    auto it = remaining_.find(record.process);
    if (record.process == 0 || it == remaining_.end() || it->second <= 0) return WaitOutcome::Over;
    --it->second;
    return WaitOutcome::StillRunning;
  }
  void CloseHandles(std::uintptr_t process, std::uintptr_t) override {
    if (process != 0) ++released;
  }
  OsResult ShellOpen(std::uintptr_t owner, const std::string& file, const std::string& parameters) override {
    shellOpened.push_back({owner, file, parameters});
    if (failShellOpenWith != 0) return OsResult::Failure(failShellOpenWith);
    return OsResult::Success();
  }

 private:
  std::uintptr_t nextId_ = 0;
  std::map<std::uintptr_t, int> remaining_;
};

class FakeDesktop : public Desktop {
 public:
  std::vector<TopLevelWindow> windows;
  std::vector<std::uintptr_t> closeDisabled;
  int enumerations = 0;
  std::map<std::string, unsigned> driveTypes;           // root -> type
  std::map<std::string, std::uint64_t> freeBytes;      // root -> bytes; missing: query fails

  std::vector<TopLevelWindow> TopLevelWindowsOf(std::uint32_t threadId) override {
    ++enumerations;
    std::vector<TopLevelWindow> of;
    for (const TopLevelWindow& w : windows) {
      if (threadId != 0 && w.threadId == threadId) of.push_back(w);
    }
    return of;
  }
  void DisableClose(std::uintptr_t window) override { closeDisabled.push_back(window); }
  unsigned DriveType(const std::string& root) override {
    auto it = driveTypes.find(root);
    return it == driveTypes.end() ? 1u : it->second;
  }
  std::optional<std::uint64_t> FreeBytes(const std::string& root) override {
    auto it = freeBytes.find(root);
    if (it == freeBytes.end()) return std::nullopt;
    return it->second;
  }
};

// Records every box in order ("message: ...", "error: ...", "confirm: ...",
// "choose: ...") and answers confirmations, choices and file dialogs from
// queues.
class FakeDialogs : public Dialogs {
 public:
  std::vector<std::string> shown;
  std::deque<Answer> answers;                         // default: No
  std::deque<int> choices;                            // default: the Enter button
  std::vector<Choice> asked;                          // every Choose, in order
  std::deque<std::optional<std::string>> fileChoices;  // default: cancel
  std::vector<FileDialogRequest> fileDialogs;
  std::function<void(const std::string&)> onShow;    // called for each box

  void ShowMessage(const std::string& text) override { Record("message: " + text); }
  void ShowError(const std::string& text) override { Record("error: " + text); }
  Answer Confirm(const std::string& text, bool withAbort) override {
    Record(std::string(withAbort ? "confirm3: " : "confirm: ") + text);
    return NextAnswer();
  }
  int Choose(const Choice& choice) override {
    asked.push_back(choice);
    Record("choose: " + choice.text);
    if (choices.empty()) return choice.enterButton;
    int c = choices.front();
    choices.pop_front();
    return c;
  }
  std::optional<std::string> OpenFile(const FileDialogRequest& request) override {
    fileDialogs.push_back(request);
    if (fileChoices.empty()) return std::nullopt;
    auto choice = fileChoices.front();
    fileChoices.pop_front();
    return choice;
  }

 private:
  Answer NextAnswer() {
    if (answers.empty()) return Answer::No;
    Answer a = answers.front();
    answers.pop_front();
    return a;
  }
  void Record(const std::string& line) {
    shown.push_back(line);
    if (onShow) onShow(line);
  }
};

class FakeSystem : public System {
 public:
  std::string executablePath = "D:\\Work\\Quandrel.exe";
  std::string shortDate = "2026/12/10";
  int weekday = 5;  // 2026/12/10 is a Thursday
  std::string fileTimeStamp = "20261210-093005";
  std::vector<std::string> fonts = {"ＭＳ ゴシック", "ＭＳ Ｐゴシック"};
  std::string systemDirectory = "C:\\Windows\\system32";
  std::string computerName = "KEIRI-PC1";
  std::string userName = "tanaka";

  std::string ExecutablePath() override { return executablePath; }
  std::string ShortDate() override { return shortDate; }
  int Weekday() override { return weekday; }
  std::string FileTimeStamp() override { return fileTimeStamp; }
  // Last-write times a test names, by their count; any other converts to nothing.
  std::map<std::uint64_t, std::string> stampsOf;
  std::string FileTimeStampOf(std::uint64_t lastWrite) override {
    auto it = stampsOf.find(lastWrite);
    return it == stampsOf.end() ? std::string() : it->second;
  }
  std::string ErrorText(std::uint32_t code) override {
    switch (code) {
      case os_error::kFileNotFound: return "指定されたファイルが見つかりません。";
      case os_error::kAccessDenied: return "アクセスが拒否されました。";
      case os_error::kSharingViolation: return "プロセスはファイルにアクセスできません。別のプロセスが使用中です。";
      case os_error::kDiskFull: return "ディスクに十分な空き領域がありません。";
      default: return "";
    }
  }
  std::vector<std::string> FontFamilies() override { return fonts; }
  std::string ComputerName() override { return computerName; }
  std::string SystemDirectory() override { return systemDirectory; }
  std::string UserName() override { return userName; }
};

}  // namespace quandrel::fakes
