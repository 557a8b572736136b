// What a platform call reports back: success, or the Windows error code.
#pragma once

#include <cstdint>

namespace quandrel {

struct OsResult {
  bool ok = true;
  std::uint32_t error = 0;  // GetLastError() of the failing call; 0 when ok

  static OsResult Success() { return {}; }
  static OsResult Failure(std::uint32_t code) { return {false, code == 0 ? 1u : code}; }
  explicit operator bool() const { return ok; }
};

}  // namespace quandrel
