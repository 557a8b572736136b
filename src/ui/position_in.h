// Where a value stands in a fixed list, for the views' lists of controls
// (tab orders, controls hidden in the design, the sets the modes work on).
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

// Whether the value is in the list.
template <typename T, std::size_t N>
constexpr bool IsIn(const T (&list)[N], T value) {
  return PositionIn(list, value) >= 0;
}

}  // namespace quandrel
