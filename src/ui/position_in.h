// Where a value stands in a fixed list, for the views' lists of controls
// (tab orders, controls hidden in the design).
#pragma once

#include <cstddef>

namespace quandrel {

// The value's place in the list, -1 when it is not there.
template <typename T, std::size_t N>
constexpr int PositionIn(const T (&list)[N], T value) {
  for (std::size_t i = 0; i < N; ++i) {
    if (list[i] == value) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace quandrel
