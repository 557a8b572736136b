// The Win32 adapters against the real (Wine) platform.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <vector>

#include "backup_window/backup_rules.h"
#include "driver/driver.h"
#include "launch/snapshot.h"
#include "main/instance_guard.h"
#include "main/win32/instance_mutex.h"
#include "platform/win32/dll_search.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"
#include "text/sjis.h"

namespace quandrel::win32 {
namespace {

class Win32FilesTest : public ::testing::Test {
 protected:
  qtest::Sandbox box{"files表ソ"};
  Win32Files files;
};

TEST_F(Win32FilesTest, WriteReadCopyReplaceOnJapanesePaths) {
  std::string a = box.Path("売上表.mdb");
  std::string b = box.Path("売上表.mdb.TMP");
  std::string data(3 * 1024 * 1024 + 17, 'x');
  data[0] = '\0';
  ASSERT_TRUE(files.WriteNew(a, data));
  EXPECT_TRUE(files.FileExists(a));
  EXPECT_FALSE(files.FileExists(box.Dir()));  // a folder is not a file

  std::vector<std::uint64_t> seen;
  ASSERT_TRUE(files.Copy(a, b, [&](std::uint64_t done, std::uint64_t total) {
    EXPECT_EQ(total, data.size());
    seen.push_back(done);
  }));
  EXPECT_EQ(qtest::ReadBytes(b), data);
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(seen.front(), 0u);
  EXPECT_EQ(seen.back(), data.size());

  std::string read;
  ASSERT_TRUE(files.Read(b, &read));
  EXPECT_EQ(read, data);

  // Move refuses an existing destination; Replace takes its place.
  ASSERT_TRUE(files.WriteNew(a, "new"));
  OsResult moved = files.Move(a, b);
  EXPECT_FALSE(moved);
  EXPECT_EQ(qtest::ReadBytes(a), std::string("new"));
  ASSERT_TRUE(files.Replace(a, b));
  EXPECT_FALSE(files.FileExists(a));
  EXPECT_EQ(qtest::ReadBytes(b), std::string("new"));
}

TEST_F(Win32FilesTest, FailuresReportTheWindowsError) {
  std::string missing = box.Path("無い.mdb");
  std::string out;
  OsResult r = files.Read(missing, &out);
  EXPECT_FALSE(r);
  EXPECT_EQ(r.error, static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(files.Copy(missing, box.Path("x"), nullptr).error, static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(files.Remove(missing));
  EXPECT_FALSE(files.Replace(missing, box.Path("y")));
}

TEST_F(Win32FilesTest, ReplaceOntoAFileHeldOpenFailsAndKeepsBoth) {
  std::string target = box.Path("DB.MDB");
  std::string snapshot = box.Path("DB.MDB.TMP");
  ASSERT_TRUE(files.WriteNew(target, "new"));
  ASSERT_TRUE(files.WriteNew(snapshot, "old"));
  HANDLE held = ::CreateFileA(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(files.Replace(snapshot, target));
  ::CloseHandle(held);
  EXPECT_EQ(qtest::ReadBytes(target), std::string("new"));
  EXPECT_EQ(qtest::ReadBytes(snapshot), std::string("old"));
}

TEST_F(Win32FilesTest, SnapshotIsByteIdenticalAndLeavesNoPartialFile) {
  std::string target = box.Path("販売.MDB");
  std::string data;
  for (int i = 0; i < 200000; ++i) data += static_cast<char>(i * 7);
  ASSERT_TRUE(files.WriteNew(target, data));
  ASSERT_TRUE(files.WriteNew(target + ".TMP", "stale"));
  SnapshotResult r = TakeSnapshot(files, RunFilesFor(target), nullptr);
  ASSERT_TRUE(r.result);
  EXPECT_EQ(qtest::ReadBytes(target + ".TMP"), data);
  EXPECT_FALSE(qtest::FileExists(target + ".TMP.part"));
}

TEST_F(Win32FilesTest, AHeldFileCanBeReadButNotReplacedRenamedOrDeleted) {
  const std::string held = box.Path("売上表.mdb.TMP");
  const std::string other = box.Path("other");
  ASSERT_TRUE(files.WriteNew(held, "snapshot"));
  ASSERT_TRUE(files.WriteNew(other, "other"));
  std::unique_ptr<FileHold> hold;
  ASSERT_TRUE(files.Hold(held, &hold));
  ASSERT_NE(hold, nullptr);

  std::string bytes;
  EXPECT_TRUE(files.Read(held, &bytes));
  EXPECT_EQ(bytes, "snapshot");
  EXPECT_FALSE(files.Replace(other, held));
  EXPECT_FALSE(files.Move(held, box.Path("moved")));
  EXPECT_FALSE(files.Remove(held));
  EXPECT_FALSE(files.WriteNew(held, "x"));
  EXPECT_EQ(qtest::ReadBytes(held), std::string("snapshot"));

  hold.reset();
  EXPECT_TRUE(files.Replace(other, held));
  EXPECT_EQ(qtest::ReadBytes(held), std::string("other"));
  EXPECT_FALSE(files.Hold(box.Path("missing"), &hold));
  EXPECT_EQ(hold, nullptr);
}

TEST_F(Win32FilesTest, ReadHeadReadsTheFirstBytesAndTheSizeWhileOthersHoldTheFile) {
  const std::string db = box.Path("売上表.mdb");
  std::string data(5 * 4096 + 3, 'd');
  data[0] = '\0';
  ASSERT_TRUE(files.WriteNew(db, data));
  std::string head;
  std::uint64_t size = 0;
  ASSERT_TRUE(files.ReadHead(db, 21, &head, &size));
  EXPECT_EQ(head, data.substr(0, 21));
  EXPECT_EQ(size, data.size());
  // Asked for more than there is: all of it.
  ASSERT_TRUE(files.ReadHead(db, 1 << 20, &head, &size));
  EXPECT_EQ(head, data);

  // The database program has it open for writing (sharing reading and
  // writing, not deletion): the head is still read.
  HANDLE program = ::CreateFileA(db.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(program, INVALID_HANDLE_VALUE);
  head.clear();
  EXPECT_TRUE(files.ReadHead(db, 21, &head, &size));
  EXPECT_EQ(head, data.substr(0, 21));
  ::CloseHandle(program);
  // So it is while a run holds it as its snapshot.
  std::unique_ptr<FileHold> hold;
  ASSERT_TRUE(files.Hold(db, &hold));
  head.clear();
  EXPECT_TRUE(files.ReadHead(db, 21, &head, &size));
  EXPECT_EQ(head, data.substr(0, 21));
  hold.reset();

  OsResult missing = files.ReadHead(box.Path("gone.mdb"), 21, &head, &size);
  EXPECT_FALSE(missing);
  EXPECT_EQ(missing.error, static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
}

TEST_F(Win32FilesTest, InUseWhileAnythingKeepsTheFileFromBeingRenamed) {
  const std::string snapshot = box.Path("売上表.mdb.TMP");
  ASSERT_TRUE(files.WriteNew(snapshot, "snapshot"));
  EXPECT_FALSE(files.InUse(snapshot));
  EXPECT_FALSE(files.InUse(box.Path("gone.TMP")));

  std::unique_ptr<FileHold> hold;  // another run's hold
  ASSERT_TRUE(files.Hold(snapshot, &hold));
  EXPECT_TRUE(files.InUse(snapshot));
  hold.reset();
  EXPECT_FALSE(files.InUse(snapshot));

  HANDLE program = ::CreateFileA(snapshot.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(program, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(files.InUse(snapshot));
  ::CloseHandle(program);
  // The probe itself leaves the file free.
  EXPECT_TRUE(files.Move(snapshot, box.Path("moved")));
}

TEST_F(Win32FilesTest, FinalPathIsOneForEverySpellingOfAFile) {
  const std::string file = box.Path("Menu.exe");
  ASSERT_TRUE(files.WriteNew(file, "x"));
  const std::string final = files.FinalPath(file);
  ASSERT_FALSE(final.empty());
  EXPECT_EQ(final.substr(0, 4), "\\\\?\\");
  EXPECT_EQ(files.FinalPath(text::UpperAsciiBytes(file)), final);
  EXPECT_EQ(files.FinalPath(box.Path("menu.EXE")), final);
  EXPECT_EQ(files.FinalPath(box.Path("missing.exe")), "");
}

TEST_F(Win32FilesTest, CopyKeepsTheTimeAndMakesAPlainFileOfAReadOnlyHiddenSource) {
  std::string target = box.Path("表.MDB");
  std::string copy = box.Path("表.MDB.TMP.part");
  ASSERT_TRUE(files.WriteNew(target, std::string(100000, 'q')));
  FILETIME old{};
  old.dwHighDateTime = 0x01D00000;  // a day in 2014
  HANDLE h = ::CreateFileA(target.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(::SetFileTime(h, nullptr, nullptr, &old));
  ::CloseHandle(h);
  ASSERT_TRUE(::SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));

  ASSERT_TRUE(files.Copy(target, copy, nullptr));
  EXPECT_EQ(qtest::ReadBytes(copy), std::string(100000, 'q'));
  EXPECT_EQ(::GetFileAttributesA(copy.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), 0u);
  WIN32_FILE_ATTRIBUTE_DATA info{};
  ASSERT_TRUE(::GetFileAttributesExA(copy.c_str(), GetFileExInfoStandard, &info));
  EXPECT_EQ(info.ftLastWriteTime.dwHighDateTime, old.dwHighDateTime);
  EXPECT_EQ(info.ftLastWriteTime.dwLowDateTime, old.dwLowDateTime);
  EXPECT_TRUE(files.Remove(copy));  // the copy can go again
  ::SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Win32FilesTest, CopyRefusesATargetThatAnotherProgramWrites) {
  std::string target = box.Path("DB.MDB");
  ASSERT_TRUE(files.WriteNew(target, "data"));
  HANDLE writer = ::CreateFileA(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(files.Copy(target, box.Path("DB.MDB.TMP.part"), nullptr).error,
            static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION));
  ::CloseHandle(writer);
}

TEST_F(Win32FilesTest, FullPathResolvesAgainstTheCurrentDirectory) {
  ASSERT_TRUE(files.ChangeDirectory(box.Dir()));
  EXPECT_EQ(files.FullPath("表.mdb"), box.Dir() + "\\表.mdb");
  EXPECT_EQ(files.FullPath(""), "");
}

class Win32RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { qtest::DeleteKeyTree(HKEY_CLASSES_ROOT, kKey); }
  void TearDown() override { qtest::DeleteKeyTree(HKEY_CLASSES_ROOT, kKey); }
  void SetValue(DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CLASSES_ROOT, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExA(key, "", 0, type, static_cast<const BYTE*>(data), size);
    ::RegCloseKey(key);
  }
  static constexpr const char* kKey = "QuandrelTest.Value";
  Win32Registry registry;
};

TEST_F(Win32RegistryTest, DefaultValueByType) {
  std::string value = "x";
  EXPECT_FALSE(registry.ReadDefaultValue(Hive::ClassesRoot, RegistryView::Own, kKey, &value));

  SetValue(REG_SZ, "C:\\販売表\\app.exe \"%1\"", 25);
  ASSERT_TRUE(registry.ReadDefaultValue(Hive::ClassesRoot, RegistryView::Own, kKey, &value));
  EXPECT_EQ(value, "C:\\販売表\\app.exe \"%1\"");

  // Stored text is used as it stands: no expansion.
  SetValue(REG_EXPAND_SZ, "%SystemRoot%\\a.exe", 19);
  ASSERT_TRUE(registry.ReadDefaultValue(Hive::ClassesRoot, RegistryView::Own, kKey, &value));
  EXPECT_EQ(value, "%SystemRoot%\\a.exe");

  // A string stored without its terminating zero.
  SetValue(REG_SZ, "abc", 3);
  ASSERT_TRUE(registry.ReadDefaultValue(Hive::ClassesRoot, RegistryView::Own, kKey, &value));
  EXPECT_EQ(value, "abc");

  // A value that is not text counts as missing; the key still opens.
  DWORD number = 42;
  SetValue(REG_DWORD, &number, sizeof number);
  value = "x";
  ASSERT_TRUE(registry.ReadDefaultValue(Hive::ClassesRoot, RegistryView::Own, kKey, &value));
  EXPECT_EQ(value, "");

  // A long value is read whole.
  std::string big(5000, 'q');
  SetValue(REG_SZ, big.c_str(), static_cast<DWORD>(big.size() + 1));
  ASSERT_TRUE(registry.ReadDefaultValue(Hive::ClassesRoot, RegistryView::Own, kKey, &value));
  EXPECT_EQ(value, big);
}

TEST_F(Win32RegistryTest, LeadingBackslashNamesAKeyBelowTheRoot) {
  SetValue(REG_SZ, "v", 2);
  std::string value;
  ASSERT_TRUE(registry.ReadDefaultValue(Hive::ClassesRoot, RegistryView::Own, std::string("\\") + kKey, &value));
  EXPECT_EQ(value, "v");
}

// Wine keeps App Paths as one key for both registry views, but a new key
// below HKLM\SOFTWARE it keeps apart, as Windows does: written in the view
// of the other bitness, it is not there in the program's own.
class Win32RegistryViewTest : public ::testing::Test {
 protected:
#ifdef _WIN64
  static constexpr REGSAM kOwnView = KEY_WOW64_64KEY, kOtherView = KEY_WOW64_32KEY;
#else
  static constexpr REGSAM kOwnView = KEY_WOW64_32KEY, kOtherView = KEY_WOW64_64KEY;
#endif
  static constexpr const char* kKey = "SOFTWARE\\QuandrelViewTest";

  void SetUp() override {
#ifndef _WIN64
    BOOL wow64 = FALSE;
    if (!::IsWow64Process(::GetCurrentProcess(), &wow64) || !wow64) GTEST_SKIP() << "32-bit Windows has one view";
#endif
    Delete();
  }
  void TearDown() override { Delete(); }
  void Delete() {
    ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kKey, kOwnView, 0);
    ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kKey, kOtherView, 0);
  }
  void Write(REGSAM view, const std::string& value) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_WRITE | view, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
    ::RegCloseKey(key);
  }
  Win32Registry registry;
};

TEST_F(Win32RegistryViewTest, EachViewReadsItsOwnKey) {
  Write(kOtherView, "C:\\Other\\MSACCESS.EXE");
  std::string value;
  EXPECT_FALSE(registry.ReadDefaultValue(Hive::LocalMachine, RegistryView::Own, kKey, &value));
  ASSERT_TRUE(registry.ReadDefaultValue(Hive::LocalMachine, RegistryView::Other, kKey, &value));
  EXPECT_EQ(value, "C:\\Other\\MSACCESS.EXE");

  Write(kOwnView, "C:\\Own\\MSACCESS.EXE");
  ASSERT_TRUE(registry.ReadDefaultValue(Hive::LocalMachine, RegistryView::Own, kKey, &value));
  EXPECT_EQ(value, "C:\\Own\\MSACCESS.EXE");
  ASSERT_TRUE(registry.ReadDefaultValue(Hive::LocalMachine, RegistryView::Other, kKey, &value));
  EXPECT_EQ(value, "C:\\Other\\MSACCESS.EXE");
}

TEST(Win32SystemTest, ExecutablePathDateAndErrorTexts) {
  Win32System system;
  std::string exe = system.ExecutablePath();
  EXPECT_EQ(exe.substr(1, 2), ":\\");
  EXPECT_NE(exe.find("win32_tests"), std::string::npos);
  // The Japanese short date: a four-digit year, month and day with slashes.
  std::string date = system.ShortDate();
  ASSERT_GE(date.size(), 8u);
  EXPECT_EQ(date[4], '/');
  EXPECT_FALSE(system.ErrorText(ERROR_FILE_NOT_FOUND).empty());
  std::string text = system.ErrorText(ERROR_FILE_NOT_FOUND);
  EXPECT_NE(text.back(), '\n');
  EXPECT_FALSE(system.FontFamilies().empty());
  // The time stamp for file names: today's date, a dash, the time.
  const std::string stamp = system.FileTimeStamp();
  ASSERT_EQ(stamp.size(), 15u) << stamp;
  EXPECT_EQ(stamp[8], '-');
  EXPECT_EQ(stamp.substr(0, 4), date.substr(0, 4));
  EXPECT_EQ(stamp.find_first_not_of("0123456789-"), std::string::npos) << stamp;
}

TEST(Win32SystemTest, XcopyIsTheOneInTheSystemDirectory) {
  char expected[MAX_PATH] = {};
  ASSERT_GT(::GetSystemDirectoryA(expected, MAX_PATH), 0u);
  const std::string program = CopyProgramPath(Win32System().SystemDirectory());
  EXPECT_EQ(text::FolderPart(program), expected);
  EXPECT_EQ(text::FileNamePart(program), "xcopy.exe");
  EXPECT_NE(::GetFileAttributesA(program.c_str()), INVALID_FILE_ATTRIBUTES) << program;
}

HWND MakeWindow(DWORD style, HWND parentOrOwner) {
  return ::CreateWindowExA(0, "STATIC", "window", style, 0, 0, 200, 100, parentOrOwner, nullptr, nullptr, nullptr);
}

// A thread of this process stands in for the launched program's primary
// thread (another process's window menus are out of Wine's reach): it makes
// a shown window with a child control, a hidden one and one owned by the
// first, then waits until the test is done with them.
class WindowThread {
 public:
  WindowThread()
      : ready_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)), done_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    thread_ = ::CreateThread(nullptr, 0, &WindowThread::Run, this, 0, &id_);
    ::WaitForSingleObject(ready_, 10000);
  }
  ~WindowThread() {
    ::SetEvent(done_);
    ::WaitForSingleObject(thread_, 10000);
    for (HANDLE h : {thread_, ready_, done_}) ::CloseHandle(h);
  }
  DWORD id() const { return id_; }
  HWND shown = nullptr, hidden = nullptr, owned = nullptr, child = nullptr;

 private:
  static DWORD WINAPI Run(LPVOID p) {
    auto* self = static_cast<WindowThread*>(p);
    self->shown = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr);
    self->hidden = MakeWindow(WS_OVERLAPPEDWINDOW, nullptr);
    self->owned = MakeWindow(WS_OVERLAPPEDWINDOW, self->shown);
    self->child = MakeWindow(WS_CHILD | WS_VISIBLE, self->shown);
    ::SetEvent(self->ready_);
    // Serves the messages sent to the windows from the test's thread.
    while (::MsgWaitForMultipleObjects(1, &self->done_, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
      MSG msg;
      while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    }
    for (HWND w : {self->owned, self->hidden, self->shown}) ::DestroyWindow(w);
    return 0;
  }
  HANDLE ready_, done_, thread_ = nullptr;
  DWORD id_ = 0;
};

bool CloseEnabled(HWND window) {
  UINT state = ::GetMenuState(::GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && !(state & (MF_DISABLED | MF_GRAYED));
}

struct ThreadFilter {
  DWORD threadId;
  std::vector<HWND> found;
};

BOOL CALLBACK KeepThreadsWindow(HWND w, LPARAM p) {
  auto* f = reinterpret_cast<ThreadFilter*>(p);
  if (::GetWindowThreadProcessId(w, nullptr) == f->threadId) f->found.push_back(w);
  return TRUE;
}

std::vector<HWND> TopLevelWindowsFilteredBy(DWORD threadId) {
  ThreadFilter filter{threadId, {}};
  ::EnumWindows(KeepThreadsWindow, reinterpret_cast<LPARAM>(&filter));
  std::sort(filter.found.begin(), filter.found.end());
  return filter.found;
}

TEST(Win32DesktopTest, ThreadsTopLevelWindowsAreListedAndTheirCloseDisabled) {
  WindowThread program;
  ASSERT_TRUE(program.shown && program.hidden && program.owned && program.child);
  HWND ours = MakeWindow(WS_OVERLAPPEDWINDOW, nullptr);

  Win32Desktop desktop;
  std::vector<TopLevelWindow> listed = desktop.TopLevelWindowsOf(program.id());
  std::vector<HWND> handles;
  for (const TopLevelWindow& w : listed) {
    EXPECT_EQ(w.threadId, program.id());
    handles.push_back(reinterpret_cast<HWND>(w.handle));
  }
  // Every top-level window the thread created, as the desktop's whole list
  // filtered by thread gives them (the system may add one of its own to a
  // thread that has windows, such as the IME's).
  std::sort(handles.begin(), handles.end());
  EXPECT_EQ(handles, TopLevelWindowsFilteredBy(program.id()));
  // Hidden and owned windows count, a child control and another thread's
  // window do not.
  for (HWND w : {program.shown, program.hidden, program.owned}) {
    EXPECT_TRUE(std::count(handles.begin(), handles.end(), w)) << w;
  }
  for (HWND w : {program.child, ours}) EXPECT_FALSE(std::count(handles.begin(), handles.end(), w)) << w;
  EXPECT_TRUE(desktop.TopLevelWindowsOf(0).empty());

  ASSERT_TRUE(CloseEnabled(program.shown));
  for (HWND w : {program.shown, program.hidden, program.owned}) {
    desktop.DisableClose(reinterpret_cast<std::uintptr_t>(w));
    EXPECT_FALSE(CloseEnabled(w));
  }
  EXPECT_TRUE(CloseEnabled(ours));
  ::DestroyWindow(ours);
}

TEST(Win32ProcessesTest, FailedShellStartCarriesTheSystemsErrorCode) {
  qtest::Sandbox box("shell表");
  Win32Processes processes;
  // No program is registered for this extension: the shell's own code for
  // that is 31, which as a system error would read "device not functioning".
  const std::string orphan = box.Path("data.qzx9");
  qtest::WriteBytes(orphan, "x");
  OsResult result = processes.ShellOpen(0, orphan, "");
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, static_cast<std::uint32_t>(ERROR_NO_ASSOCIATION));
  result = processes.ShellOpen(0, box.Path("missing.exe"), "");
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
}

TEST(Win32ProcessesTest, EveryShellCodeBecomesTheSystemErrorOfTheSameMeaning) {
  const std::pair<std::uintptr_t, DWORD> cases[] = {
      {0, ERROR_NOT_ENOUGH_MEMORY},
      {ERROR_FILE_NOT_FOUND, ERROR_FILE_NOT_FOUND},
      {ERROR_PATH_NOT_FOUND, ERROR_PATH_NOT_FOUND},
      {ERROR_BAD_FORMAT, ERROR_BAD_FORMAT},
      {SE_ERR_ACCESSDENIED, ERROR_ACCESS_DENIED},
      {SE_ERR_OOM, ERROR_NOT_ENOUGH_MEMORY},
      {SE_ERR_SHARE, ERROR_SHARING_VIOLATION},
      {SE_ERR_ASSOCINCOMPLETE, ERROR_NO_ASSOCIATION},
      {SE_ERR_DDETIMEOUT, ERROR_DDE_FAIL},
      {SE_ERR_DDEFAIL, ERROR_DDE_FAIL},
      {SE_ERR_DDEBUSY, ERROR_DDE_FAIL},
      {SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION},
      {SE_ERR_DLLNOTFOUND, ERROR_DLL_NOT_FOUND},
  };
  Win32System system;
  for (const auto& [shell, expected] : cases) {
    EXPECT_EQ(Win32ErrorOfShellResult(shell), expected) << shell;
    EXPECT_FALSE(system.ErrorText(Win32ErrorOfShellResult(shell)).empty()) << shell;
  }
}

TEST(DllSearchTest, ADllBesideTheProgramIsNoLongerLoadedByItsName) {
  // planted_probe.dll lies beside this test program, where the loader's
  // usual search finds it first. The restriction holds for the rest of the
  // process, which runs this test alone.
  HMODULE before = ::LoadLibraryA("planted_probe.dll");
  ASSERT_NE(before, nullptr) << "without the restriction the probe beside the program is found";
  ::FreeLibrary(before);
  ASSERT_EQ(::GetModuleHandleA("planted_probe.dll"), nullptr);

  EXPECT_TRUE(RestrictDllSearchToSystem()) << "the platform has the system-only search";
  HMODULE after = ::LoadLibraryA("planted_probe.dll");
  EXPECT_EQ(after, nullptr);
  if (after) ::FreeLibrary(after);
  // The system's own DLLs still load by name.
  HMODULE system = ::LoadLibraryA("msimg32.dll");
  EXPECT_NE(system, nullptr);
  if (system) ::FreeLibrary(system);
}

TEST(DllSearchTest, ADllLoadedByFullPathFindsWhatItNeedsBesideItOnlyWithTheAlteredSearch) {
  // planted_user.dll needs planted_probe.dll; both lie in a folder of their
  // own, as an input method's or a shell extension's DLLs do. This process
  // runs this test alone, so nothing is loaded yet.
  qtest::Sandbox box("dlls");
  const std::string user = box.Path("planted_user.dll");
  ASSERT_TRUE(::CopyFileA((qtest::BuildDir() + "\\planted_user.dll").c_str(), user.c_str(), FALSE));
  ASSERT_TRUE(::CopyFileA((qtest::BuildDir() + "\\planted_probe.dll").c_str(), box.Path("planted_probe.dll").c_str(), FALSE));
  ASSERT_TRUE(RestrictDllSearchToSystem());

  // Loaded by full path with the plain search, what it needs is looked for
  // in the system directory alone: the price of the restriction.
  HMODULE plain = ::LoadLibraryA(user.c_str());
  EXPECT_EQ(plain, nullptr);
  if (plain) ::FreeLibrary(plain);
  // With the altered search (as COM loads an in-process server) its own
  // folder is searched first, and only for what it needs.
  HMODULE altered = ::LoadLibraryExA(user.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  ASSERT_NE(altered, nullptr);
  char from[MAX_PATH] = {};
  ::GetModuleFileNameA(::GetModuleHandleA("planted_probe.dll"), from, MAX_PATH);
  EXPECT_EQ(Win32Files().FullPath(from), Win32Files().FullPath(box.Path("planted_probe.dll")));
  ::FreeLibrary(altered);
}

TEST(InstanceMutexTest, SecondAcquireOfOneNameIsRefused) {
  std::string name = InstanceName("C:\\テスト\\表\\Quandrel.exe") + std::to_string(::GetTickCount());
  InstanceMutex first, second;
  EXPECT_EQ(first.Acquire(name), InstanceMutex::Outcome::Acquired);
  EXPECT_EQ(second.Acquire(name), InstanceMutex::Outcome::AlreadyRunning);
  first.Release();
  EXPECT_EQ(second.Acquire(name), InstanceMutex::Outcome::Acquired);
  second.Release();
}

TEST(InstanceMutexTest, NetworkPathNamesAreGuardedToo) {
  // Backslashes are not allowed in mutex names; such a name still guards.
  std::string name = InstanceName("\\\\server\\share" + std::to_string(::GetTickCount()) + "\\Q.EXE");
  InstanceMutex first, second;
  EXPECT_EQ(first.Acquire(name), InstanceMutex::Outcome::Acquired);
  EXPECT_EQ(second.Acquire(name), InstanceMutex::Outcome::AlreadyRunning);
  first.Release();
}

}  // namespace
}  // namespace quandrel::win32
