// The tray tip, the tray entry and watch end, the close lock and the watch loop.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "fakes/fake_platform.h"
#include "fakes/fake_shell.h"
#include "launch/launch.h"

namespace quandrel {
namespace {

using Lines = std::vector<std::string>;

TEST(TrayTipTest, NamePartOfTheTitleBetweenBrackets) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Sales", "【Sales】稼働中..."},
      {"D:\\Work\\Sales", "【Sales】稼働中..."},
      {"D:Sales", "【Sales】稼働中..."},
      {"", "【】稼働中..."},
      {"D:\\Work\\", "【】稼働中..."},
      // 表 and ソ end in byte 0x5C, which is not a separator there.
      {"売上表", "【売上表】稼働中..."},
      {"D:\\データ\\売上表", "【売上表】稼働中..."},
      {"ソフト管理", "【ソフト管理】稼働中..."},
  };
  for (const auto& [title, tip] : cases) {
    EXPECT_EQ(TrayTip(title), tip) << title;
  }
}

TEST(TrayTipTest, CutTo63Bytes) {
  // "【" + name + "】稼働中..." is 13 bytes besides the name.
  EXPECT_EQ(TrayTip(std::string(50, 'A')), "【" + std::string(50, 'A') + "】稼働中...");
  EXPECT_EQ(TrayTip(std::string(50, 'A')).size(), 63u);

  // A character that would be halved at byte 63 goes whole: a lead byte
  // before the tip's terminating zero would let the tray read past its end.
  EXPECT_EQ(TrayTip(std::string(60, 'A')), "【" + std::string(60, 'A'));
  EXPECT_EQ(TrayTip(std::string(61, 'A')), "【" + std::string(61, 'A'));

  // 2 + 30 double-byte characters fit in 62 bytes; the 31st would be halved.
  std::string kanji;
  for (int i = 0; i < 40; ++i) kanji += "表";
  EXPECT_EQ(TrayTip("C:\\" + kanji), ("【" + kanji).substr(0, 62));
}

TEST(WindowsToLockTest, PrimaryThreadOnlyAndOnlyForUse) {
  const std::vector<TopLevelWindow> windows = {
      {101, 7}, {102, 8}, {103, 7}, {104, 0}, {105, 70}};
  EXPECT_EQ(WindowsToLock(windows, 7, Word::Use), (std::vector<std::uintptr_t>{101, 103}));
  EXPECT_TRUE(WindowsToLock(windows, 9, Word::Use).empty());
  for (const char* word : {"use", "USE", "Use ", "", "Never"}) {
    EXPECT_TRUE(WindowsToLock(windows, 7, SettingWord::FromText(word)).empty()) << word;
  }
  // No launched thread: a window whose creator cannot be told is left alone.
  EXPECT_TRUE(WindowsToLock(windows, 0, Word::Use).empty());
}

TEST(TrayTest, EnterTrayShowsTheIconBeforeHiding) {
  fakes::FakeShell shell;
  EnterTray(shell, "D:\\Work\\Sales");
  EXPECT_EQ(shell.calls, (Lines{"tray+ 【Sales】稼働中...", "main hide", "app hide"}));
}

TEST(TrayTest, EndWatchOrder) {
  fakes::FakeShell mainFirst;
  EndWatch(mainFirst, false);
  EXPECT_EQ(mainFirst.calls, (Lines{"tray-", "main show", "app show", "front"}));

  fakes::FakeShell appFirst;
  EndWatch(appFirst, true);
  EXPECT_EQ(appFirst.calls, (Lines{"tray-", "app show", "main show", "front"}));
}

// Records waits, enumerations, locks and pumps in one log.
class WatchTest : public ::testing::Test {
 protected:
  class LoggingDesktop : public fakes::FakeDesktop {
   public:
    explicit LoggingDesktop(Lines* log) : log_(log) {}
    std::vector<TopLevelWindow> TopLevelWindowsOf(std::uint32_t threadId) override {
      log_->push_back("enum");
      return FakeDesktop::TopLevelWindowsOf(threadId);
    }
    void DisableClose(std::uintptr_t window) override {
      log_->push_back("lock " + std::to_string(window));
      FakeDesktop::DisableClose(window);
    }

   private:
    Lines* log_;
  };

  WatchTest() : desktop(&log) {
    processes.onWait = [this](int) { log.push_back("wait"); };
    shell.onPump = [this](int pass) {
      log.push_back("pump");
      if (onPump) onPump(pass);
    };
  }

  // Starts a process that stays running for `waits` one-second waits and
  // gives it one window on its primary thread, one on another thread.
  ProcessRecord StartRunningFor(int waits) {
    processes.runFor.push_back(waits);
    ProcessRecord record;
    processes.Start("\"C:\\APP\\VIEW.EXE\" \"D:\\DB\\SALES.MDB\"", StartupShape::Maximized, &record);
    desktop.windows = {{11, record.threadId}, {12, record.threadId + 1}, {13, 99}, {14, record.threadId}};
    return record;
  }

  void Watch(const ProcessRecord& record) {
    WatchProcess(processes, desktop, shell, record, [this] {
      ++unCloseReads;
      return unClose;
    });
  }

  Lines log;
  fakes::FakeProcesses processes;
  LoggingDesktop desktop;
  fakes::FakeShell shell;
  SettingWord unClose = Word::Use;
  int unCloseReads = 0;
  std::function<void(int)> onPump;
};

TEST_F(WatchTest, ProcessEndingWithinTheFirstSecondIsNeverEnumerated) {
  Watch(StartRunningFor(0));
  EXPECT_EQ(log, (Lines{"wait"}));
  EXPECT_TRUE(shell.calls.empty());
}

// The record closes its own handles, once: when it goes, when it is reset,
// when a new start overwrites it; a moved-from record closes nothing.
TEST(ProcessRecordTest, ClosesItsHandlesExactlyOnce) {
  fakes::FakeProcesses processes;
  {
    ProcessRecord record;
    processes.Start("a", StartupShape::Maximized, &record);
  }
  EXPECT_EQ(processes.released, 1) << "a record that goes";

  ProcessRecord record;
  processes.Start("b", StartupShape::Maximized, &record);
  processes.Start("c", StartupShape::Maximized, &record);
  EXPECT_EQ(processes.released, 2) << "a start over a held process";

  ProcessRecord moved(std::move(record));
  EXPECT_EQ(record.process, 0u);
  record.Reset();
  EXPECT_EQ(processes.released, 2) << "a moved-from record";
  moved.Reset();
  moved.Reset();
  EXPECT_EQ(processes.released, 3) << "reset twice";

  processes.failStartsWith = os_error::kFileNotFound;
  processes.Start("d", StartupShape::Maximized, &moved);
  EXPECT_EQ(processes.released, 3) << "a failed start holds nothing to close";
}

TEST_F(WatchTest, FailedStartEndsAtTheFirstWait) {
  processes.failStartsWith = os_error::kFileNotFound;
  ProcessRecord record;
  processes.Start("x \"D:\\DB\\notes.xyz\"", StartupShape::Maximized, &record);
  ASSERT_EQ(record.process, 0u);
  desktop.windows = {{11, 0}};

  Watch(record);
  EXPECT_EQ(log, (Lines{"wait"}));
  EXPECT_EQ(desktop.enumerations, 0);
  EXPECT_TRUE(desktop.closeDisabled.empty());
}

TEST_F(WatchTest, EachSecondLocksThePrimaryThreadsWindowsThenPumps) {
  Watch(StartRunningFor(3));
  const Lines pass = {"wait", "enum", "lock 11", "lock 14", "pump"};
  Lines expected;
  for (int i = 0; i < 3; ++i) expected.insert(expected.end(), pass.begin(), pass.end());
  expected.push_back("wait");
  EXPECT_EQ(log, expected);
  EXPECT_EQ(shell.pumps, 3);
}

TEST_F(WatchTest, MainWindowIsPreparedOnceAfterTheFirstSecondOfTheRun) {
  // Made at once, the controls would slow the program's own start; a run
  // that ends within its first second leaves them to the window's showing.
  std::vector<std::size_t> logWhenPrepared;
  shell.onPrepareMainWindow = [&] { logWhenPrepared.push_back(log.size()); };
  Watch(StartRunningFor(0));
  EXPECT_EQ(shell.mainWindowPrepared, 0);

  log.clear();
  Watch(StartRunningFor(3));
  EXPECT_EQ(shell.mainWindowPrepared, 1);
  EXPECT_EQ(logWhenPrepared, (std::vector<std::size_t>{1}));  // right after the first wait
}

TEST_F(WatchTest, LowerCaseUseLocksNothing) {
  unClose = SettingWord::FromText("use");
  Watch(StartRunningFor(3));
  EXPECT_TRUE(desktop.closeDisabled.empty());
  EXPECT_EQ(desktop.enumerations, 0);  // nothing to do, so the windows are not listed
  EXPECT_EQ(shell.pumps, 3);
}

TEST_F(WatchTest, UnCloseIsReadAfreshEachPass) {
  // Settings changed while messages were handled apply to the next pass.
  onPump = [this](int pass) { unClose = pass == 0 ? Word::Never : Word::Use; };
  Watch(StartRunningFor(3));
  EXPECT_EQ(log, (Lines{"wait", "enum", "lock 11", "lock 14", "pump",  //
                        "wait", "pump",                                //
                        "wait", "enum", "lock 11", "lock 14", "pump",  //
                        "wait"}));
  EXPECT_EQ(unCloseReads, 3);
}

TEST_F(WatchTest, FailedStartCycleShowsTheWindowAgainAtOnce) {
  processes.failStartsWith = os_error::kFileNotFound;
  EnterTray(shell, "Sales");
  ProcessRecord record;
  processes.Start(LaunchCommandLine("", "D:\\DB\\notes.xyz"), StartupShape::Maximized, &record);
  Watch(record);
  EndWatch(shell, false);
  EXPECT_EQ(shell.calls, (Lines{"tray+ 【Sales】稼働中...", "main hide", "app hide",  //
                                "tray-", "main show", "app show", "front"}));
}

}  // namespace
}  // namespace quandrel
