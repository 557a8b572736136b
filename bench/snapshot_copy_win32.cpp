// Times one copy of a target file inside a Win32 process, as the launcher
// takes it or as the baseline the platform offers:
//   snapshot_copy_win32.exe snapshot <target>   the launcher's snapshot (copy to
//                                               a temporary name, flush, replace)
//   snapshot_copy_win32.exe copyfile <target>   CopyFileA to <target>.CF, then
//                                               FlushFileBuffers of the copy
// Prints the seconds the copy took.
#include <windows.h>

#include <cstdio>
#include <string>

#include "launch/snapshot.h"
#include "platform/win32/win32_files.h"

namespace {

bool CopyFileAndFlush(const std::string& target) {
  const std::string copy = target + ".CF";
  if (!::CopyFileA(target.c_str(), copy.c_str(), FALSE)) return false;
  HANDLE out = ::CreateFileA(copy.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  const bool flushed = ::FlushFileBuffers(out) != FALSE;
  return ::CloseHandle(out) && flushed;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: snapshot_copy_win32 snapshot|copyfile <target>\n");
    return 2;
  }
  const std::string mode = argv[1], target = argv[2];
  LARGE_INTEGER frequency, start, end;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&start);
  if (mode == "copyfile") {
    if (!CopyFileAndFlush(target)) {
      std::fprintf(stderr, "CopyFileA failed: error %lu\n", ::GetLastError());
      return 1;
    }
  } else {
    quandrel::win32::Win32Files files;
    quandrel::SnapshotResult result = quandrel::TakeSnapshot(files, quandrel::RunFilesFor(target), nullptr);
    if (!result.result) {
      std::fprintf(stderr, "snapshot failed: error %u at %s\n", static_cast<unsigned>(result.result.error),
                   result.failedPath.c_str());
      return 1;
    }
  }
  ::QueryPerformanceCounter(&end);
  std::printf("%.4f\n", double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
  return 0;
}
