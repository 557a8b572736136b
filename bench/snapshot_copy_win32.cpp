// Times the snapshot of one target file (copy to a temporary name, flush,
// replace) through the Win32 adapter, as the launcher takes it.
//   snapshot_copy_win32.exe <target>
#include <windows.h>

#include <cstdio>

#include "launch/snapshot.h"
#include "platform/win32/win32_files.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: snapshot_copy_win32 <target>\n");
    return 2;
  }
  quandrel::win32::Win32Files files;
  quandrel::RunFiles run = quandrel::RunFilesFor(argv[1]);
  LARGE_INTEGER frequency, start, end;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&start);
  quandrel::SnapshotResult result = quandrel::TakeSnapshot(files, run, nullptr);
  ::QueryPerformanceCounter(&end);
  if (!result.result) {
    std::fprintf(stderr, "snapshot failed: error %u at %s\n", static_cast<unsigned>(result.result.error),
                 result.failedPath.c_str());
    return 1;
  }
  std::printf("%.3f\n", double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
  return 0;
}
