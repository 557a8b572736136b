// Control tables: one row per control, in the order of its enumeration.
#pragma once

#include <cstddef>

namespace quandrel::win32 {

// A control table lists one row per control, in the order of its enumeration
// (each row's `id` is the control's enumerator).
template <typename Row, std::size_t N>
constexpr bool RowsFollowEnumeration(const Row (&rows)[N]) {
  for (std::size_t i = 0; i < N; ++i) {
    if (static_cast<std::size_t>(rows[i].id) != i) return false;
  }
  return true;
}

}  // namespace quandrel::win32
