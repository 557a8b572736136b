// The user guide's pictures, taken from a run staged the way an office
// sets Quandrel up: the program and its settings in C:\販売管理, the
// database 売上.mdb in its data folder, a second drive E: for the backup,
// the tray of a desktop with a taskbar. Not a test: tools/update-guide-pictures.sh
// runs it inside a Wine virtual desktop and turns what it saves into
// docs/ja/images. The scenes run in the order they are written.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

#include "driver/launcher.h"

namespace qtest {
namespace {

const std::string kFolder = "C:\\販売管理";
const std::string kData = kFolder + "\\データ";
const std::string kDatabase = kData + "\\売上.mdb";
const std::string kLauncher = kFolder + "\\Quandrel.exe";

// A database file as the database check sees one: whole 4096-byte pages, the
// Jet 4 signature at offset 4 and its version byte. Its tables are of no
// interest here: the stand-in opens nothing.
std::string JetDatabaseBytes() {
  std::string bytes(8 * 4096, '\0');
  bytes[1] = '\x01';
  const std::string signature = "Standard Jet DB";
  bytes.replace(4, signature.size(), signature);
  bytes[0x14] = '\x01';
  return bytes;
}

void WriteSettings(const std::string& system) {
  WriteBytes(kFolder + "\\Quandrel.INI",
             "[Execute]\r\nDBPath=データ\\売上.mdb\r\n[System]\r\nTitle=販売管理システム\r\n" + system +
                 "[BackUp]\r\nMulti=Day\r\nSubFolder=Yes\r\nDrive=E:\r\nPreFix=BackUp\r\nUpDate=Yes\r\n");
}

// The window's frame and a few pixels of what lies around it.
RECT AroundWindow(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  return RECT{r.left - 4, r.top - 4, r.right + 4, r.bottom + 4};
}

RECT Union(const RECT& a, const RECT& b) {
  return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

// The shown tooltip window of any process, or null.
HWND ShownTooltip() {
  HWND found = nullptr;
  for (HWND w = ::FindWindowExA(nullptr, nullptr, "tooltips_class32", nullptr); w;
       w = ::FindWindowExA(nullptr, w, "tooltips_class32", nullptr)) {
    if (::IsWindowVisible(w)) found = w;
  }
  return found;
}

class GuidePictures : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::CreateDirectoryA(kFolder.c_str(), nullptr);
    ::CreateDirectoryA(kData.c_str(), nullptr);
    CopyInto(QuandrelExe(), kLauncher);
    // The database program: the stand-in, opening the file as Access would.
    RegisterExtension(".mdb", "Access.Application", StandInCommand(""));
  }

  void SetUp() override {
    // Every scene starts from a sound database and no files of earlier runs.
    WriteBytes(kDatabase, JetDatabaseBytes());
    for (const char* suffix : {".TMP", ".BAK"}) ::DeleteFileA((kDatabase + suffix).c_str());
  }

  void TearDown() override { EXPECT_TRUE(CloseStandIns()); }

  // Starts the launcher and waits for the database program.
  Process Start() {
    Process launcher = Process::Start(kLauncher, "", kFolder);
    EXPECT_NE(WaitStandIn(), nullptr) << "the database program was not started";
    return launcher;
  }

  // Ends the database program and waits for the main window in end mode.
  HWND EndMode(const Process& launcher) {
    EXPECT_TRUE(CloseStandIns());
    HWND main = WaitMainShown(launcher);
    EXPECT_NE(main, nullptr) << "the main window did not come back";
    if (main) {
      EXPECT_TRUE(Settle(main));
    }
    return main;
  }

  // Leaves end mode with save & exit (or exit) and waits for the end.
  void SaveAndExit(Process& launcher, HWND main) {
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(main) != FALSE; }));
    Press(FindChild(main, IsShown(FindChild(main, "保存終了(&Q)")) ? "保存終了(&Q)" : "終了(&Q)"));
    EXPECT_EQ(launcher.WaitExit(), std::optional<DWORD>(0));
  }
};

TEST_F(GuidePictures, TrayWhileTheSystemRuns) {
  WriteSettings("");
  Process launcher = Start();
  HWND tray = ::FindWindowA("Shell_TrayWnd", nullptr);
  ASSERT_NE(tray, nullptr) << "no taskbar: run this inside a Wine virtual desktop";
  RECT bar{};
  ::GetWindowRect(tray, &bar);
  // The icon sits at the right end of the taskbar; resting the pointer on
  // it shows the launcher's tip.
  RECT area{bar.right - 360, bar.top - 70, bar.right, bar.bottom};
  for (int x = bar.right - 8; x > bar.right - 200 && !ShownTooltip(); x -= 8) {
    ::SetCursorPos(x, (bar.top + bar.bottom) / 2);
    WaitUntil([] { return ShownTooltip() != nullptr; }, 1500);
  }
  if (HWND tip = ShownTooltip()) area = Union(area, AroundWindow(tip));
  SaveScreenshot("guide-launch-running", area);
  ::SetCursorPos(0, 0);

  HWND main = EndMode(launcher);
  ASSERT_NE(main, nullptr);
  SaveAndExit(launcher, main);
}

TEST_F(GuidePictures, EndModeSettingsAndBackup) {
  WriteSettings("");
  Process launcher = Start();
  HWND main = EndMode(launcher);
  ASSERT_NE(main, nullptr);
  SaveScreenshot("guide-main-end-mode-mdb", AroundWindow(main));

  ASSERT_TRUE(PressButton(main, "設定変更"));
  ASSERT_TRUE(WaitUntil([&] { return IsShown(FindChild(main, "設定保存")); }));
  SaveScreenshot("guide-main-settings-mode", AroundWindow(main));
  ASSERT_TRUE(PressButton(main, "変更破棄"));
  ASSERT_TRUE(WaitUntil([&] { return IsShown(FindChild(main, "バックアップ(&B)")); }));

  ASSERT_TRUE(PressButton(main, "バックアップ(&B)"));
  HWND backup = nullptr;
  WaitUntil([&] {
    for (HWND w : TopWindowsOf(launcher.Id())) {  // the one made at start stays hidden
      if (ClassOf(w) == "TFormBackUp") backup = w;
    }
    return backup != nullptr;
  });
  ASSERT_NE(backup, nullptr);
  ASSERT_TRUE(Settle(backup));
  SaveScreenshot("guide-backup-window", AroundWindow(backup));
  ::PostMessageA(backup, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(backup) || !IsShown(backup); }));

  SaveAndExit(launcher, main);
}

TEST_F(GuidePictures, EndModeWithoutSnapshotAndCompact) {
  // One run for each [System] line, a picture of the end mode it gives.
  const std::pair<const char*, const char*> runs[] = {{"MDBbak=Never\r\n", "guide-main-end-mode-exe"},
                                                      {"Customize=Disable\r\n", "guide-main-compact"}};
  for (const auto& [system, picture] : runs) {
    WriteSettings(system);
    Process launcher = Start();
    HWND main = EndMode(launcher);
    ASSERT_NE(main, nullptr);
    SaveScreenshot(picture, AroundWindow(main));
    SaveAndExit(launcher, main);
  }
}

TEST_F(GuidePictures, QuestionAfterARunThatNeverEnded) {
  WriteSettings("");
  Process crashed = Start();
  crashed.Kill();  // a power cut in the middle of the work
  ASSERT_TRUE(CloseStandIns());

  Process launcher = Process::Start(kLauncher, "", kFolder);
  const std::optional<MessageBoxInfo> question = WaitMessageBox(launcher.Id());
  ASSERT_TRUE(question.has_value()) << "the snapshot left by the run was not asked about";
  ASSERT_TRUE(Settle(question->window));
  SaveScreenshot("guide-leftover-question", AroundWindow(question->window));
  ASSERT_TRUE(Answer(*question, "中止(&A)"));
  EXPECT_EQ(launcher.WaitExit(), std::optional<DWORD>(0));
}

TEST_F(GuidePictures, DiscardAfterAColleagueUsedTheDatabase) {
  WriteSettings("");
  Process launcher = Start();
  // A colleague on another computer opens the database during the run.
  const std::string colleagueArguments = "\"" + kDatabase + "\" KEIRI-PC Admin";
  Process colleague = Process::Start(StandInExe("standin_colleague"), colleagueArguments);
  ASSERT_TRUE(WaitUntil([] { return ::FindWindowA("QuandrelColleague", nullptr) != nullptr; }));
  ::Sleep(2500);  // the launcher looks at the lock file once a second
  ::PostMessageA(::FindWindowA("QuandrelColleague", nullptr), WM_CLOSE, 0, 0);
  ASSERT_TRUE(colleague.WaitExit().has_value());
  HWND main = EndMode(launcher);
  ASSERT_NE(main, nullptr);

  // The discard question names the colleague; "No" keeps everything.
  ASSERT_TRUE(PressButton(main, "破棄終了(&X)"));
  const std::optional<MessageBoxInfo> question = WaitMessageBox(launcher.Id());
  ASSERT_TRUE(question.has_value());
  ASSERT_TRUE(Settle(question->window));
  SaveScreenshot("guide-discard-question-others", AroundWindow(question->window));
  ASSERT_TRUE(Answer(*question, "いいえ(&N)"));
  const std::optional<MessageBoxInfo> cancelled = WaitMessageBox(launcher.Id());
  ASSERT_TRUE(cancelled.has_value());
  ASSERT_TRUE(Answer(*cancelled, "OK"));

  // With the colleague's program open again, the discard stops and names them.
  colleague = Process::Start(StandInExe("standin_colleague"), colleagueArguments);
  ASSERT_TRUE(WaitUntil([] { return ::FindWindowA("QuandrelColleague", nullptr) != nullptr; }));
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(main) != FALSE; }));
  ASSERT_TRUE(PressButton(main, "破棄終了(&X)"));
  const std::optional<MessageBoxInfo> refused = WaitMessageBox(launcher.Id());
  ASSERT_TRUE(refused.has_value());
  ASSERT_TRUE(Settle(refused->window));
  SaveScreenshot("guide-open-elsewhere", AroundWindow(refused->window));
  ASSERT_TRUE(Answer(*refused, "OK"));

  ::PostMessageA(::FindWindowA("QuandrelColleague", nullptr), WM_CLOSE, 0, 0);
  EXPECT_TRUE(colleague.WaitExit().has_value());
  SaveAndExit(launcher, main);
}

TEST_F(GuidePictures, HistoryWindow) {
  // A week of an office's runs: History on, four generations made on two
  // computers, and the record of runs that says who made each.
  WriteSettings("History=10\r\n");
  const std::string history = kDatabase + " の履歴";
  ::CreateDirectoryA(history.c_str(), nullptr);
  const struct {
    const char* name;
    const char* when;
    const char* computer;
    const char* user;
    const char* action;
  } kKept[] = {
      {"20261207-173012 保存終了.mdb", "2026/12/07 17:30:12", "KEIRI-PC1", "tanaka", "保存終了"},
      {"20261208-120544 破棄終了.mdb", "2026/12/08 12:05:44", "EIGYO-PC2", "suzuki", "破棄終了"},
      {"20261209-174501 保存終了.mdb", "2026/12/09 17:45:01", "KEIRI-PC1", "tanaka", "保存終了"},
      {"20261210-091530 保存継続.mdb", "2026/12/10 09:15:30", "KEIRI-PC1", "sato", "保存継続"},
  };
  std::string log;
  for (const auto& k : kKept) {
    const std::string path = history + "\\" + k.name;
    WriteBytes(path, JetDatabaseBytes());
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    log += std::string(k.when) + "\t" + k.computer + "\t" + k.user + "\t" + k.action + "\t" + kDatabase +
           ".BAK\t" + path + "\t成功\r\n";
  }
  // The backup copy of the last save, dated as the record says, so that
  // the picture is the same whenever it is made.
  WriteBytes(kDatabase + ".BAK", JetDatabaseBytes());
  SYSTEMTIME saved{2026, 12, 0, 10, 17, 40, 2, 0};
  FILETIME local{}, written{};
  ::SystemTimeToFileTime(&saved, &local);
  ::LocalFileTimeToFileTime(&local, &written);
  HANDLE bak = ::CreateFileA((kDatabase + ".BAK").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(bak, INVALID_HANDLE_VALUE);
  ::SetFileTime(bak, nullptr, nullptr, &written);
  ::CloseHandle(bak);
  log += "2026/12/10 17:40:02\tKEIRI-PC1\ttanaka\t保存終了\t" + kDatabase + ".TMP\t" + kDatabase + ".BAK\t成功\r\n";
  WriteBytes(kFolder + "\\Quandrel.LOG", log);

  Process launcher = Start();
  HWND main = EndMode(launcher);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(PressButton(main, "履歴(&H)"));
  HWND window = FindTopWindow(launcher.Id(), "TFormHistory");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return IsShown(window); }));
  // The line of the discard chosen, as a user about to undo it would.
  HWND list = FindChild(window, "", "SysListView32");
  ASSERT_NE(list, nullptr);
  for (UINT key : {VK_HOME, VK_DOWN, VK_DOWN, VK_DOWN}) PostKey(list, key);
  HWND restore = FindChild(window, "復元(&R)", "Button");
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(restore) != FALSE; }));
  ASSERT_TRUE(Settle(window));
  SaveScreenshot("guide-history-window", AroundWindow(window));

  PostKey(FocusedControl(window), VK_ESCAPE);
  ASSERT_TRUE(WaitUntil([&] { return !IsShown(window); }));
  EXPECT_EQ(CloseLauncher(launcher, main), std::optional<DWORD>(0));

  // Later scenes start without history.
  for (const std::string& name : FolderEntries(history)) {
    const std::string path = history + "\\" + name;
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(path.c_str());
  }
  ::RemoveDirectoryA(history.c_str());
  ::DeleteFileA((kFolder + "\\Quandrel.LOG").c_str());
  WriteSettings("");
}

}  // namespace
}  // namespace qtest
