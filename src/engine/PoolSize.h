// Sizes of the store's arrays in bytes, refused when they cannot be represented.
// Node indices are signed 32-bit, so a pool never holds more than 2^31 - 1 nodes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>

namespace zirvo {

template <typename T>
std::optional<std::size_t> ArrayBytes(std::uint64_t count) {
  constexpr std::uint64_t kMaxBytes =
      static_cast<std::uint64_t>(std::numeric_limits<std::ptrdiff_t>::max());
  if (count > kMaxBytes / sizeof(T))
    return std::nullopt;
  return static_cast<std::size_t>(count * sizeof(T));
}

constexpr std::uint64_t kMaxPoolNodes = 0x7FFFFFFF;

}  // namespace zirvo
