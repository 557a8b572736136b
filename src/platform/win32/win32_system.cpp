#include "platform/win32/win32_system.h"

#include <windows.h>

#include <algorithm>
#include <set>

#include "platform/win32/win32_files.h"

namespace quandrel::win32 {

std::string Win32System::ExecutablePath() {
  std::vector<char> buffer(MAX_PATH + 1);
  for (;;) {
    DWORD n = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return "";
    if (n < buffer.size() - 1) return Win32Files().FullPath(std::string(buffer.data(), n));
    buffer.resize(buffer.size() * 2);
  }
}

std::string Win32System::ShortDate() {
  char buffer[128] = {};
  int n = ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buffer, sizeof buffer);
  if (n > 0) return std::string(buffer);
  // Without a short date format: a four-digit year, month and day.
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  char fallback[32];
  wsprintfA(fallback, "%04u/%02u/%02u", now.wYear, now.wMonth, now.wDay);
  return fallback;
}

int Win32System::Weekday() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return now.wDayOfWeek + 1;  // wDayOfWeek counts from Sunday as 0
}

namespace {

std::string StampOf(const SYSTEMTIME& t) {
  char stamp[32];
  wsprintfA(stamp, "%04u%02u%02u-%02u%02u%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
  return stamp;
}

}  // namespace

std::string Win32System::FileTimeStamp() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return StampOf(now);
}

std::string Win32System::FileTimeStampOf(std::uint64_t lastWrite) {
  FILETIME utc{static_cast<DWORD>(lastWrite), static_cast<DWORD>(lastWrite >> 32)};
  // The local time of that moment, by the time zone's rules for its date.
  SYSTEMTIME universal{}, local{};
  if (!::FileTimeToSystemTime(&utc, &universal)) return std::string();
  if (!::SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) return std::string();
  return StampOf(local);
}

std::string Win32System::ErrorText(std::uint32_t code) {
  char* message = nullptr;
  DWORD n = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                             reinterpret_cast<LPSTR>(&message), 0, nullptr);
  std::string text;
  if (n > 0 && message) text.assign(message, n);
  if (message) ::LocalFree(message);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

namespace {
int CALLBACK CollectFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM param) {
  reinterpret_cast<std::set<std::string>*>(param)->insert(font->lfFaceName);
  return 1;
}
}  // namespace

std::vector<std::string> Win32System::FontFamilies() {
  std::set<std::string> names;
  HDC dc = ::GetDC(nullptr);
  LOGFONTA query{};
  query.lfCharSet = DEFAULT_CHARSET;
  ::EnumFontFamiliesExA(dc, &query, CollectFamily, reinterpret_cast<LPARAM>(&names), 0);
  ::ReleaseDC(nullptr, dc);
  return std::vector<std::string>(names.begin(), names.end());
}

std::string Win32System::ComputerName() {
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof name;
  if (!::GetComputerNameA(name, &size)) return "";
  return std::string(name, size);
}

std::string Win32System::SystemDirectory() {
  std::vector<char> buffer(MAX_PATH + 1);
  for (;;) {
    UINT n = ::GetSystemDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
    if (n == 0) return "";
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(n + 1);  // too small: n is the size needed
  }
}

std::string Win32System::UserName() {
  char name[256 + 1] = {};  // UNLEN + 1
  DWORD size = sizeof name;
  if (!::GetUserNameA(name, &size) || size == 0) return "";
  return std::string(name);  // size counts the terminating zero
}

}  // namespace quandrel::win32
