// Stands in for a colleague's database program on another computer, in the
// end-to-end tests of shared use.
//
//   standin_colleague.exe "database" COMPUTER USER
//
// It opens the database as Access does for shared use: for reading and
// writing, shared with others who do the same. It writes the lock file
// beside it ("<name>.ldb", one 64-byte record naming COMPUTER and USER),
// shows a window of class "QuandrelColleague" once both are done, and runs
// until that window is closed; then, as the last user leaving, it closes
// the database and removes the lock file.
#include <string>

#include "standin_common.h"

namespace {

// The database's path with ".ldb" in place of its extension.
std::string LockFileOf(const std::string& database) {
  const std::size_t dot = database.rfind('.');
  const std::size_t slash = database.rfind('\\');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (hasExtension ? database.substr(0, dot) : database) + ".ldb";
}

std::string Field(const std::string& name) {
  std::string field = name.substr(0, 32);
  field.resize(32, '\0');
  return field;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const std::string rest = standin::ArgumentsOf(::GetCommandLineA());
  const std::size_t open = rest.find('"');
  const std::size_t close = open == std::string::npos ? open : rest.find('"', open + 1);
  if (close == std::string::npos) return 2;
  const std::string database = rest.substr(open + 1, close - open - 1);
  const std::string words = rest.substr(close + 1);
  std::string computer, user;
  for (std::size_t at = 0; at < words.size();) {
    const std::size_t start = words.find_first_not_of(' ', at);
    if (start == std::string::npos) break;
    std::size_t end = words.find(' ', start);
    if (end == std::string::npos) end = words.size();
    const std::string word = words.substr(start, end - start);
    (computer.empty() ? computer : user) = word;
    at = end;
  }

  HANDLE held = ::CreateFileA(database.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  if (held == INVALID_HANDLE_VALUE) return 1;
  const std::string lockFile = LockFileOf(database);
  HANDLE lock = ::CreateFileA(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, 0, nullptr);
  if (lock == INVALID_HANDLE_VALUE) return 1;
  const std::string record = Field(computer) + Field(user);
  DWORD written = 0;
  ::WriteFile(lock, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
  ::CloseHandle(lock);

  standin::RunWindow(instance, "QuandrelColleague", "Colleague - " + database, 500, 100);
  ::CloseHandle(held);
  ::DeleteFileA(lockFile.c_str());
  return 0;
}
