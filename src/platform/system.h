// Facts about the running program and its machine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quandrel {

class System {
 public:
  virtual ~System() = default;

  // The executable's path as the platform reports it, made absolute.
  virtual std::string ExecutablePath() = 0;
  // Today's local date in the user's short date format (2026/12/10 in Japan).
  virtual std::string ShortDate() = 0;
  // Today's local weekday: 1 for Sunday to 7 for Saturday.
  virtual int Weekday() = 0;
  // The local date and time to the second, as it may stand in a file name:
  // "20261210-093005".
  virtual std::string FileTimeStamp() = 0;
  // The same for a file's last-write time as FileEntry gives it, in local
  // time; empty when the platform can't convert it.
  virtual std::string FileTimeStampOf(std::uint64_t lastWrite) = 0;
  // The platform's own wording of an error code, without a trailing line end
  // (Japanese on a Japanese system); empty when it has none.
  virtual std::string ErrorText(std::uint32_t code) = 0;
  // Names of all installed font families.
  virtual std::vector<std::string> FontFamilies() = 0;
  // This computer's name as the network knows it (GetComputerNameA, the
  // NetBIOS name, which the database engine writes in its lock file); empty
  // when the platform can't tell.
  virtual std::string ComputerName() = 0;
  // The folder of the system's own programs (GetSystemDirectoryA), so that
  // one of them is started by its full path and never by a bare name that a
  // file beside the program could answer; empty when the platform can't tell.
  virtual std::string SystemDirectory() = 0;
  // The name the user logged on with (GetUserNameA); empty when the
  // platform can't tell.
  virtual std::string UserName() = 0;
};

}  // namespace quandrel
