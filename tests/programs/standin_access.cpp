// Stands in for Microsoft Access (MSACCESS.EXE) in the end-to-end tests.
//
//   standin_access.exe "database" /Compact
//
// It appends its raw command line and a CR LF to "<database>.access" (to
// "<its own path>.access" when no database is named), then, when the
// environment variable QUANDREL_ACCESS_STANDIN is "exit", ends at once;
// otherwise it shows a window of class "QuandrelAccessStandIn" and runs
// until that window is closed. The database itself is left as it is.
#include <string>

#include "standin_common.h"

namespace {

// The first double-quoted argument after the program's own path.
std::string FirstQuotedArgument(const std::string& rest) {
  std::size_t open = rest.find('"');
  if (open == std::string::npos) return "";
  std::size_t close = rest.find('"', open + 1);
  if (close == std::string::npos) return "";
  return rest.substr(open + 1, close - open - 1);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  std::string line = ::GetCommandLineA();
  std::string rest = standin::ArgumentsOf(line);
  std::string database = FirstQuotedArgument(rest);

  standin::AppendTo((database.empty() ? standin::OwnPath() : database) + ".access", line + "\r\n");

  char mode[16] = {};
  if (::GetEnvironmentVariableA("QUANDREL_ACCESS_STANDIN", mode, sizeof mode) && std::string(mode) == "exit") {
    return 0;
  }

  standin::RunWindow(instance, "QuandrelAccessStandIn", "Access StandIn - " + database, 150, 150);
  return 0;
}
