// The history window end to end: a database with a backup copy and two
// generations, History=2, one run of the stand-in, then a restore of the
// oldest state from the history window.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver/launcher.h"

namespace qtest {
namespace {

// The files in a folder, sorted by name (oldest generation first).
std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names = FolderEntries(folder);
  std::sort(names.begin(), names.end());
  return names;
}

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

class HistoryWindowE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    exe_ = box_.InstallLauncher();
    db_ = box_.Path("売上.mdb");
    folder_ = db_ + " の履歴";
    WriteBytes(db_, "old\r\n");
    WriteBytes(db_ + ".BAK", "bak\r\n");
    ASSERT_TRUE(::CreateDirectoryA(folder_.c_str(), nullptr));
    // Named and marked as the program makes them.
    for (const auto& [name, bytes] : {std::pair<std::string, std::string>{kOldest, "oldest\r\n"},
                                      std::pair<std::string, std::string>{kMiddle, "middle\r\n"}}) {
      WriteBytes(folder_ + "\\" + name, bytes);
      ::SetFileAttributesA((folder_ + "\\" + name).c_str(), FILE_ATTRIBUTE_READONLY);
    }
    box_.WriteIni("[Execute]\nDBPath=売上.mdb\n[System]\nHistory=2\n");
  }
  void TearDown() override {
    EXPECT_TRUE(CloseStandIns()) << "a stand-in did not end";
    launcher_.Kill();
    for (const std::string& name : NamesIn(folder_)) {
      ::SetFileAttributesA((folder_ + "\\" + name).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    DeleteKeyTree(HKEY_CLASSES_ROOT, ".mdb");
    DeleteKeyTree(HKEY_CLASSES_ROOT, "QuandrelTest.Mdb");
  }

  // The backup copy written before every generation, so that it lists last.
  void AgeBackupCopy() {
    SYSTEMTIME november{2026, 11, 0, 30, 9, 0, 0, 0};
    FILETIME written{};
    ::SystemTimeToFileTime(&november, &written);
    HANDLE bak = ::CreateFileA((db_ + ".BAK").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(bak, INVALID_HANDLE_VALUE);
    ::SetFileTime(bak, nullptr, nullptr, &written);
    ::CloseHandle(bak);
  }

  // One run (the stand-in appends "edit" unless told otherwise); then the
  // history window, a line chosen with the keyboard: the last by End, the
  // first by Home.
  HWND RunAndOpenHistory(HWND* main, UINT chooseKey = VK_END, const std::string& options = "/append") {
    RegisterExtension(".mdb", "QuandrelTest.Mdb", StandInCommand(options));
    launcher_ = Process::Start(exe_);
    *main = EndStandInRun(launcher_);
    if (!*main || !PressButton(*main, "履歴(&H)")) return nullptr;
    HWND history = FindTopWindow(launcher_.Id(), "TFormHistory");
    if (!history || !WaitUntil([&] { return IsShown(history); })) return nullptr;
    HWND list = FindChild(history, "", "SysListView32");
    HWND restore = FindChild(history, "復元(&R)", "Button");
    if (!list || !restore || ::IsWindowEnabled(restore)) return nullptr;  // nothing chosen yet
    PostKey(list, chooseKey);
    if (!WaitUntil([&] { return ::IsWindowEnabled(restore) != FALSE; })) return nullptr;
    return history;
  }

  static constexpr const char* kOldest = "20261201-090000 保存終了.mdb";
  static constexpr const char* kMiddle = "20261202-090000 保存終了.mdb";
  Sandbox box_{"履歴"};
  std::string exe_, db_, folder_;
  Process launcher_;
};

TEST_F(HistoryWindowE2E, RestoreOfTheOldestKeepsThePresentStateAndPrunesToTheSetting) {
  HWND main = nullptr;
  HWND history = RunAndOpenHistory(&main);
  ASSERT_NE(history, nullptr);
  SaveScreenshot("history-window");
  ASSERT_TRUE(PressButton(history, "復元(&R)"));

  auto question = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(question.has_value());
  EXPECT_EQ(question->caption, "確認");
  EXPECT_EQ(question->text,
            "データベースを 2026/12/01 09:00:00 の状態に戻します。よろしいですか？\n\n今のデータベースは履歴に残ります。");
  EXPECT_EQ(question->buttons, (std::vector<std::string>{"はい(&Y)", "いいえ(&N)"}));
  ASSERT_TRUE(Answer(*question, "はい(&Y)"));

  auto told = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(told.has_value());
  EXPECT_EQ(told->text.rfind("データベースを 2026/12/01 09:00:00 の状態に戻しました。", 0), 0u) << told->text;
  ASSERT_TRUE(Answer(*told, "OK"));

  EXPECT_EQ(ReadBytes(db_), std::string("oldest\r\n"));
  EXPECT_EQ(ReadBytes(db_ + ".BAK"), std::string("bak\r\n"));
  EXPECT_FALSE(FileExists(db_ + ".part"));
  // Two generations left: the state from before the restore (the run's
  // edit), read-only, and the middle one; the oldest went, its bytes are
  // the database now.
  const std::vector<std::string> left = NamesIn(folder_);
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[0], kMiddle);
  EXPECT_TRUE(EndsWith(left[1], " 復元前.mdb")) << left[1];
  const std::string kept = folder_ + "\\" + left[1];
  EXPECT_EQ(ReadBytes(kept), std::string("old\r\nedit\r\n"));
  EXPECT_NE(::GetFileAttributesA(kept.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  // The record of runs beside the settings file tells who did it.
  const auto log = ReadBytes(box_.Path("Quandrel.LOG"));
  ASSERT_TRUE(log.has_value());
  EXPECT_NE(log->find("復元"), std::string::npos);

  // Esc closes the window; the main window takes input again.
  ASSERT_TRUE(WaitUntil([&] { return IsShown(history); }));
  PostKey(FocusedControl(history), VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return !IsShown(history); }));
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(main) != FALSE; }));
  EXPECT_EQ(CloseLauncher(launcher_, main), std::optional<DWORD>(0));
}

TEST_F(HistoryWindowE2E, RefusedWithoutChangeWhileTheDatabaseIsOpenElsewhere) {
  HWND main = nullptr;
  HWND history = RunAndOpenHistory(&main);
  ASSERT_NE(history, nullptr);
  // Open elsewhere, without sharing (no lock file names anyone).
  HANDLE held = ::CreateFileA(db_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(PressButton(history, "復元(&R)"));
  auto question = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(question.has_value());
  ASSERT_TRUE(Answer(*question, "はい(&Y)"));
  auto error = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->caption, "エラー");
  EXPECT_EQ(error->text.rfind(db_ + " は、ほかのコンピュータかプログラムで開かれています。", 0), 0u) << error->text;
  ASSERT_TRUE(Answer(*error, "OK"));
  ::CloseHandle(held);

  EXPECT_EQ(ReadBytes(db_), std::string("old\r\nedit\r\n"));
  EXPECT_FALSE(FileExists(db_ + ".part"));
  EXPECT_EQ(NamesIn(folder_), (std::vector<std::string>{kOldest, kMiddle}));
  PostKey(FocusedControl(history), VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return !IsShown(history); }));
  EXPECT_EQ(CloseLauncher(launcher_, main), std::optional<DWORD>(0));
}

TEST_F(HistoryWindowE2E, ADiscardIsUndoneByARestore) {
  AgeBackupCopy();
  RegisterExtension(".mdb", "QuandrelTest.Mdb", StandInCommand("/append"));
  launcher_ = Process::Start(exe_);
  HWND main = EndStandInRun(launcher_);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(PressButton(main, "破棄終了(&X)"));
  auto question = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(question.has_value());
  ASSERT_TRUE(Answer(*question, "はい(&Y)"));
  ASSERT_EQ(launcher_.WaitExit(), std::optional<DWORD>(0));
  ASSERT_EQ(ReadBytes(db_), std::string("old\r\n"));

  // The next run changes nothing; its end mode offers the discarded edits,
  // the newest line, to be put back.
  HWND history = RunAndOpenHistory(&main, VK_HOME, "");
  ASSERT_NE(history, nullptr);
  ASSERT_TRUE(PressButton(history, "復元(&R)"));
  question = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(question.has_value());
  ASSERT_TRUE(Answer(*question, "はい(&Y)"));
  auto told = WaitMessageBox(launcher_.Id());
  ASSERT_TRUE(told.has_value());
  EXPECT_NE(told->text.find("の状態に戻しました。"), std::string::npos) << told->text;
  ASSERT_TRUE(Answer(*told, "OK"));
  EXPECT_EQ(ReadBytes(db_), std::string("old\r\nedit\r\n"));

  PostKey(FocusedControl(history), VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return !IsShown(history); }));
  EXPECT_EQ(CloseLauncher(launcher_, main), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace qtest
