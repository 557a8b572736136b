// End-to-end test driver: runs the real Quandrel.exe and the stand-in
// programs in fresh folders, finds and drives their windows, answers message
// boxes and compares files. Every wait is bounded.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qtest {

// Default bound of every wait, there only to catch a hang: on a busy shared
// machine one start of a Windows program can take 20 s.
constexpr int kWaitMs = 60000;

std::string BuildDir();   // the Windows build folder, as a Windows path
std::string SourceDir();  // the source tree, as a Windows path
std::string QuandrelExe();
std::string StandInExe(const std::string& name);  // e.g. "standin_db"

// Polls `done` every 20 ms until it holds or `timeoutMs` has passed; a
// timeout of 0 checks once.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = kWaitMs);

// File helpers (paths are CP932, like the program's).
bool FileExists(const std::string& path);
std::optional<std::string> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
void CopyInto(const std::string& src, const std::string& dst);
// The names (no folder part) of a folder's entries that match `pattern`
// ("*", "x.mdb.*.中断前"), files and folders, in the order listed.
std::vector<std::string> FolderEntries(const std::string& folder, const std::string& pattern = "*");

// A fresh folder on the test session's sandbox drive (tools/wine-session.sh
// maps it), so its path is short wherever the checkout sits. Removed at the
// end unless the test failed.
class Sandbox {
 public:
  // `name` may hold Japanese characters (its bytes are CP932).
  explicit Sandbox(const std::string& name);
  ~Sandbox();
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;

  const std::string& Dir() const { return dir_; }
  std::string Path(const std::string& relative) const { return dir_ + "\\" + relative; }
  // Copies Quandrel.exe in as `exeName` and returns its path.
  std::string InstallLauncher(const std::string& exeName = "Quandrel.exe");
  // Writes the INI beside the launcher: CR LF lines given as one text with "\n".
  void WriteIni(const std::string& lines, const std::string& exeName = "Quandrel.exe");

 private:
  std::string dir_;
};

// A started process. The destructor ends it if it still runs.
class Process {
 public:
  Process() = default;
  ~Process();
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;

  static Process Start(const std::string& exe, const std::string& arguments = "",
                       const std::string& currentDir = "");
  bool Running() const;
  // Waits for the end; the exit code, or nothing when it did not end in time.
  std::optional<DWORD> WaitExit(int timeoutMs = kWaitMs);
  void Kill();
  DWORD Id() const { return id_; }

 private:
  HANDLE handle_ = nullptr;
  DWORD id_ = 0;
};

// A free drive letter mapped onto a folder below Z: for as long as the object
// lives (under Wine a drive is a link in the prefix's dosdevices folder).
// Letter() is 0 when none could be mapped.
class MappedDrive {
 public:
  explicit MappedDrive(const std::string& folder);
  ~MappedDrive();
  MappedDrive(const MappedDrive&) = delete;
  MappedDrive& operator=(const MappedDrive&) = delete;

  char Letter() const { return letter_; }

 private:
  char letter_ = 0;
  std::string link_;
};

// Windows
std::vector<HWND> TopWindowsOf(DWORD pid, bool visibleOnly = true);
HWND FindTopWindow(DWORD pid, const std::string& cls, int timeoutMs = kWaitMs);
std::string ClassOf(HWND window);
std::string TextOf(HWND window);
bool IsShown(HWND window);
// A child control whose text (caption) is `text`.
HWND FindChild(HWND parent, const std::string& text, const std::string& cls = "");
// All visible child buttons' captions.
std::vector<std::string> VisibleButtonCaptions(HWND parent);
// Presses a button as a click would (posted, so a modal loop inside its
// handler cannot block the test).
void Press(HWND button);
bool PressButton(HWND parent, const std::string& caption);
// The control that has the keyboard focus in the thread owning `window`.
HWND FocusedControl(HWND window);
// The non-empty lines of an INI text, in order, without their CR LF.
std::vector<std::string> IniLines(const std::string& text);
// Types a key into a window (posted key down and up).
void PostKey(HWND window, UINT vk);
// Handles every message waiting in this thread's queue, a quit request
// dropped: what this process's windows posted to themselves is done.
void DrainMessages();
// A control's place in its parent's client area.
RECT PlaceInParent(HWND control);
// Waits until the thread of `window` has handled what was sent to it before
// and has painted what it had to paint; false when it did not answer in time.
bool Settle(HWND window, int timeoutMs = kWaitMs);

// Message boxes of a process.
struct MessageBoxInfo {
  HWND window = nullptr;
  std::string caption;
  std::string text;
  std::vector<std::string> buttons;
};
std::optional<MessageBoxInfo> WaitMessageBox(DWORD pid, int timeoutMs = kWaitMs);
// Presses the box's button with that caption; false when it has none.
bool Answer(const MessageBoxInfo& box, const std::string& button);
// The text with which a launcher started without a target begins.
constexpr char kNoTargetText[] = "開くファイルが設定されていません";
bool IsNoTargetBox(const MessageBoxInfo& box);
// A launcher started without a target says so before its main window shows:
// answers that box; false when it did not come.
bool AnswerNoTargetBox(const Process& launcher);

// Registry set-up in the test prefix (HKEY_CLASSES_ROOT is HKLM\Software\Classes).
void SetDefaultValue(HKEY root, const std::string& subkey, const std::string& value);
void DeleteKeyTree(HKEY root, const std::string& subkey);
// Registers `command` as the open command of files with this extension.
void RegisterExtension(const std::string& extension, const std::string& fileClass, const std::string& command);

// Saves a screenshot of the whole screen as build/screenshots/<name>.bmp,
// once every shown window has painted; a window that does not answer fails
// the test.
void SaveScreenshot(const std::string& name);
// The same for one area of the screen (the part of it that is on the screen).
void SaveScreenshot(const std::string& name, const RECT& area);

}  // namespace qtest
