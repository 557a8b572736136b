// Stands in for a program that someone dropped into the launcher's folder
// under the name of one the launcher starts (Xcopy.exe): it appends its raw
// command line to "<its own path>.ran" and ends at once. The tests copy it in
// and check that it never ran.
#include "standin_common.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  standin::AppendTo(standin::OwnPath() + ".ran", std::string(::GetCommandLineA()) + "\r\n");
  return 0;
}
