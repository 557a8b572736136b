#include "driver/driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

#include "text/sjis.h"

namespace qtest {

namespace {

// QUANDREL_BUILD_DIR is a Linux path; under Wine, Z: is the Linux root.
std::string ToWindowsPath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((dir + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = dir + "\\" + name;
      ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        ::DeleteFileA(path.c_str());
      }
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
  }
  ::RemoveDirectoryA(dir.c_str());
}

}  // namespace

std::string BuildDir() { return ToWindowsPath(QUANDREL_BUILD_DIR); }
std::string SourceDir() { return ToWindowsPath(QUANDREL_SOURCE_DIR); }
std::string QuandrelExe() { return BuildDir() + "\\Quandrel.exe"; }
std::string StandInExe(const std::string& name) { return BuildDir() + "\\" + name + ".exe"; }

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
  DWORD start = ::GetTickCount();
  for (;;) {
    if (done()) return true;
    if (static_cast<int>(::GetTickCount() - start) >= timeoutMs) return false;
    ::Sleep(20);
  }
}

std::vector<std::string> FolderEntries(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found{};
  HANDLE search = ::FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  return names;
}

bool FileExists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::string> ReadBytes(const std::string& path) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  ::CloseHandle(file);
  return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot write " << path;
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
}

void CopyInto(const std::string& src, const std::string& dst) {
  ASSERT_TRUE(::CopyFileA(src.c_str(), dst.c_str(), FALSE)) << src << " -> " << dst << " error " << ::GetLastError();
}

// ---------------------------------------------------------------- Sandbox

namespace {
// The drive of the session's sandbox folder, e.g. "S:".
std::string SandboxRoot() {
  char drive[16] = {};
  DWORD length = ::GetEnvironmentVariableA("QUANDREL_SANDBOX_DRIVE", drive, sizeof drive);
  if (length == 0 || length >= sizeof drive) {
    ADD_FAILURE() << "QUANDREL_SANDBOX_DRIVE is not set: run the tests in a tools/wine-session.sh session";
    return BuildDir() + "\\e2e";
  }
  return drive;
}
}  // namespace

Sandbox::Sandbox(const std::string& name) {
  std::string root = SandboxRoot();
  ::CreateDirectoryA(root.c_str(), nullptr);
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string test = info ? std::string(info->test_suite_name()) + "." + info->name() : "test";
  std::replace(test.begin(), test.end(), '/', '_');
  dir_ = root + "\\" + test + "-" + name;
  RemoveTree(dir_);
  ::CreateDirectoryA(dir_.c_str(), nullptr);
}

Sandbox::~Sandbox() {
  if (!::testing::Test::HasFailure()) RemoveTree(dir_);
}

std::string Sandbox::InstallLauncher(const std::string& exeName) {
  std::string path = Path(exeName);
  CopyInto(QuandrelExe(), path);
  return path;
}

void Sandbox::WriteIni(const std::string& lines, const std::string& exeName) {
  std::string crlf;
  for (char c : lines) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  std::string ini = exeName.substr(0, exeName.rfind('.')) + ".INI";
  WriteBytes(Path(ini), crlf);
}

// ---------------------------------------------------------------- Process

Process::~Process() { Kill(); }

Process::Process(Process&& other) noexcept : handle_(other.handle_), id_(other.id_) {
  other.handle_ = nullptr;
  other.id_ = 0;
}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Kill();
    handle_ = other.handle_;
    id_ = other.id_;
    other.handle_ = nullptr;
    other.id_ = 0;
  }
  return *this;
}

Process Process::Start(const std::string& exe, const std::string& arguments, const std::string& currentDir) {
  Process p;
  std::string line = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
  std::vector<char> buffer(line.begin(), line.end());
  buffer.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::string dir = currentDir;
  if (dir.empty()) dir = quandrel::text::FolderPart(exe);  // a 0x5C trail byte is no separator
  // Wine now and then cannot make the new process and the start fails with
  // ERROR_INTERNAL_ERROR (most likely the failure tools/wine-exec.sh tells
  // of: the child ends before it runs); a moment later the same start works.
  constexpr int kTries = 5;
  for (int attempt = 1;; ++attempt) {
    if (::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &startup,
                         &info)) {
      break;
    }
    const DWORD error = ::GetLastError();
    if (error != ERROR_INTERNAL_ERROR || attempt == kTries) {
      ADD_FAILURE() << "cannot start " << line << " error " << error;
      return p;
    }
    ::Sleep(500);
  }
  ::CloseHandle(info.hThread);
  p.handle_ = info.hProcess;
  p.id_ = info.dwProcessId;
  return p;
}

bool Process::Running() const {
  return handle_ && ::WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::WaitExit(int timeoutMs) {
  if (!handle_) return std::nullopt;
  if (::WaitForSingleObject(handle_, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  ::GetExitCodeProcess(handle_, &code);
  return code;
}

void Process::Kill() {
  if (!handle_) return;
  if (Running()) {
    ::TerminateProcess(handle_, 99);
    ::WaitForSingleObject(handle_, 5000);
  }
  ::CloseHandle(handle_);
  handle_ = nullptr;
}

// ---------------------------------------------------------------- windows

namespace {
struct Collect {
  DWORD pid;
  bool visibleOnly;
  std::vector<HWND> found;
};
BOOL CALLBACK CollectTop(HWND window, LPARAM param) {
  auto* c = reinterpret_cast<Collect*>(param);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(window, &pid);
  if (pid == c->pid && (!c->visibleOnly || ::IsWindowVisible(window))) c->found.push_back(window);
  return TRUE;
}
BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}
std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  ::EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
  return children;
}
}  // namespace

std::vector<HWND> TopWindowsOf(DWORD pid, bool visibleOnly) {
  Collect c{pid, visibleOnly, {}};
  ::EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&c));
  return c.found;
}

std::string ClassOf(HWND window) {
  char name[256] = {};
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

std::string TextOf(HWND window) {
  // WM_GETTEXT works across processes for any window kind.
  LRESULT length = ::SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
  std::vector<char> buffer(static_cast<std::size_t>(length) + 2, '\0');
  ::SendMessageA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  return std::string(buffer.data());
}

bool IsShown(HWND window) { return window && ::IsWindowVisible(window); }

HWND FindTopWindow(DWORD pid, const std::string& cls, int timeoutMs) {
  HWND result = nullptr;
  WaitUntil(
      [&] {
        for (HWND w : TopWindowsOf(pid, false)) {
          if (ClassOf(w) == cls) {
            result = w;
            return true;
          }
        }
        return false;
      },
      timeoutMs);
  return result;
}

HWND FindChild(HWND parent, const std::string& text, const std::string& cls) {
  for (HWND child : Children(parent)) {
    if (TextOf(child) == text && (cls.empty() || ClassOf(child) == cls)) return child;
  }
  return nullptr;
}

std::vector<std::string> VisibleButtonCaptions(HWND parent) {
  std::vector<std::string> captions;
  for (HWND child : Children(parent)) {
    if (::IsWindowVisible(child) && ClassOf(child) == "Button") captions.push_back(TextOf(child));
  }
  return captions;
}

void Press(HWND button) { ::PostMessageA(button, BM_CLICK, 0, 0); }

bool PressButton(HWND parent, const std::string& caption) {
  HWND button = FindChild(parent, caption, "Button");
  if (!button) return false;
  Press(button);
  return true;
}

HWND FocusedControl(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

std::vector<std::string> IniLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

void PostKey(HWND window, UINT vk) {
  ::PostMessageA(window, WM_KEYDOWN, vk, 1);
  ::PostMessageA(window, WM_KEYUP, vk, 0xC0000001);
}

void DrainMessages() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

RECT PlaceInParent(HWND control) {
  RECT r;
  ::GetWindowRect(control, &r);
  ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool Settle(HWND window, int timeoutMs) {
  // A sent message is handled only once the thread takes messages again;
  // then paint what is still invalid (sent, so it is done on return) and
  // let the thread take messages once more, which pushes the painted
  // surface to the display.
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result)) return false;
  ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  return ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

std::optional<MessageBoxInfo> WaitMessageBox(DWORD pid, int timeoutMs) {
  std::optional<MessageBoxInfo> info;
  WaitUntil(
      [&] {
        for (HWND w : TopWindowsOf(pid)) {
          if (ClassOf(w) != "#32770") continue;
          MessageBoxInfo box;
          box.window = w;
          box.caption = TextOf(w);
          for (HWND child : Children(w)) {
            std::string cls = ClassOf(child);
            if (cls == "Button" && ::IsWindowVisible(child)) {
              box.buttons.push_back(TextOf(child));
            } else if (cls == "Static" && ::GetDlgCtrlID(child) == 0xFFFF) {
              box.text = TextOf(child);
            }
          }
          info = box;
          return true;
        }
        return false;
      },
      timeoutMs);
  return info;
}

bool Answer(const MessageBoxInfo& box, const std::string& button) {
  HWND b = FindChild(box.window, button, "Button");
  if (!b) return false;
  Press(b);
  // The box is gone once the answer is taken.
  return WaitUntil([&] { return !::IsWindow(box.window) || !::IsWindowVisible(box.window); });
}

bool IsNoTargetBox(const MessageBoxInfo& box) { return box.text.rfind(kNoTargetText, 0) == 0; }

bool AnswerNoTargetBox(const Process& launcher) {
  auto box = WaitMessageBox(launcher.Id());
  return box && IsNoTargetBox(*box) && Answer(*box, "OK");
}

// ---------------------------------------------------------------- registry

void SetDefaultValue(HKEY root, const std::string& subkey, const std::string& value) {
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS)
      << subkey;
  ::RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
  ::RegCloseKey(key);
}

void DeleteKeyTree(HKEY root, const std::string& subkey) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, subkey.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  char name[512];
  for (;;) {
    DWORD size = sizeof name;
    if (::RegEnumKeyExA(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    DeleteKeyTree(key, name);
  }
  ::RegCloseKey(key);
  ::RegDeleteKeyA(root, subkey.c_str());
}

void RegisterExtension(const std::string& extension, const std::string& fileClass, const std::string& command) {
  DeleteKeyTree(HKEY_CLASSES_ROOT, extension);
  DeleteKeyTree(HKEY_CLASSES_ROOT, fileClass);
  SetDefaultValue(HKEY_CLASSES_ROOT, extension, fileClass);
  SetDefaultValue(HKEY_CLASSES_ROOT, fileClass + "\\shell", "");
  SetDefaultValue(HKEY_CLASSES_ROOT, fileClass + "\\shell\\open\\command", command);
}

// ---------------------------------------------------------------- screenshots

namespace {
BOOL CALLBACK CollectShown(HWND window, LPARAM param) {
  if (::IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}
}  // namespace

void SaveScreenshot(const std::string& name) {
  SaveScreenshot(name, RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)});
}

void SaveScreenshot(const std::string& name, const RECT& area) {
  // A window that has just appeared paints a moment later, and the launcher
  // takes its messages only now and then while it watches a program.
  std::vector<HWND> shown;
  ::EnumWindows(CollectShown, reinterpret_cast<LPARAM>(&shown));
  for (HWND window : shown) {
    if (::IsWindow(window)) {
      EXPECT_TRUE(Settle(window)) << "screenshot " << name << ": a " << ClassOf(window) << " window does not answer";
    }
  }
  std::string dir = BuildDir() + "\\screenshots";
  ::CreateDirectoryA(dir.c_str(), nullptr);
  const int left = std::max(0L, area.left), top = std::max(0L, area.top);
  const int width = std::min<int>(area.right, ::GetSystemMetrics(SM_CXSCREEN)) - left;
  const int height = std::min<int>(area.bottom, ::GetSystemMetrics(SM_CYSCREEN)) - top;
  ASSERT_GT(width, 0) << "screenshot " << name << ": nothing of the area is on the screen";
  ASSERT_GT(height, 0) << "screenshot " << name << ": nothing of the area is on the screen";
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
  bmi.bmiHeader.biWidth = width;
  bmi.bmiHeader.biHeight = height;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 24;
  bmi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY);
  ::SelectObject(memory, old);
  DWORD stride = ((width * 3) + 3) & ~3u;
  DWORD imageSize = stride * height;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof bmi.bmiHeader;
  file.bfSize = file.bfOffBits + imageSize;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&bmi.bmiHeader), sizeof bmi.bmiHeader);
  bytes.append(static_cast<const char*>(bits), imageSize);
  WriteBytes(dir + "\\" + name + ".bmp", bytes);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
}

// Drives

namespace {

// Starts a program of the machine under Wine (Wine starts Unix programs
// too, without waiting for them: callers wait for what it does).
void StartUnix(const std::string& program, const std::string& arguments) {
  Process::Start(program, arguments, "C:\\");
}

// A drive letter is a link in the prefix's dosdevices folder. The links are
// made from C:\\ (the prefix's drive_c) with paths relative to it, since the
// prefix's own path may be longer than a Windows path can be.
std::string DosDevice(char letter) {
  return std::string("../dosdevices/") + static_cast<char>(::tolower(static_cast<unsigned char>(letter))) + ":";
}

// The target of a link in dosdevices to the folder "X:\\...": "x:/...".
std::string LinkTarget(const std::string& windowsPath) {
  std::string path = DosDevice(windowsPath[0]).substr(14) + windowsPath.substr(2);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

}  // namespace

MappedDrive::MappedDrive(const std::string& folder) {
  for (char letter = 'M'; letter <= 'Y'; ++letter) {
    const std::string root = std::string(1, letter) + ":\\";
    if (::GetDriveTypeA(root.c_str()) != DRIVE_NO_ROOT_DIR) continue;
    link_ = DosDevice(letter);
    StartUnix("Z:\\bin\\ln", "-s \"" + LinkTarget(folder) + "\" \"" + link_ + "\"");
    if (WaitUntil([&] { return ::GetDriveTypeA(root.c_str()) == DRIVE_FIXED; })) letter_ = letter;
    return;
  }
}

MappedDrive::~MappedDrive() {
  if (link_.empty()) return;
  StartUnix("Z:\\bin\\rm", "-f \"" + link_ + "\"");
  if (letter_) {
    const std::string root = std::string(1, letter_) + ":\\";
    EXPECT_TRUE(WaitUntil([&] { return ::GetDriveTypeA(root.c_str()) == DRIVE_NO_ROOT_DIR; }))
        << "drive " << root << " is still mapped";
  }
}

}  // namespace qtest
