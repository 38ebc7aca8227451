// A choice between two values made without a branch. The drawing pass meets
// choices whose outcome is as good as random (is a pixel occupied, is a point
// the newest on its pixel); a branch there is mispredicted about every other
// time, which costs more than the whole choice does as arithmetic. A plain
// `?:` is not enough: the compiler may well turn it back into a branch.
#pragma once

#include <cstdint>
#include <type_traits>

namespace zirvo {

// `whenTrue` if `condition`, else `whenFalse`, for integers.
template <typename T>
T Choose(bool condition, T whenTrue, T whenFalse) {
  static_assert(std::is_integral_v<T>, "integers only");
  using U = std::make_unsigned_t<T>;
  const U mask = U(0) - U(condition);
  return static_cast<T>((U(whenTrue) & mask) | (U(whenFalse) & ~mask));
}

// The same for pointers.
template <typename T>
T* Choose(bool condition, T* whenTrue, T* whenFalse) {
  return reinterpret_cast<T*>(Choose(condition, reinterpret_cast<std::uintptr_t>(whenTrue),
                                     reinterpret_cast<std::uintptr_t>(whenFalse)));
}

}  // namespace zirvo
