// Real-to-integer conversion as the show needs it: truncation toward zero,
// with the values a signed 32-bit integer cannot hold (and NaN) reported
// instead of converted, since that conversion is undefined in C++. Inline:
// every point of every swirl goes through it twice.
#pragma once

#include <cstdint>
#include <optional>

namespace zirvo {

// The truncated value, or nothing when `value` is not finite or its truncation
// lies outside -2147483648..2147483647.
inline std::optional<std::int32_t> TruncToInt32(double value) {
  // The comparisons are false for NaN, which therefore falls through to nothing.
  if (value > -2147483649.0 && value < 2147483648.0) {
    return static_cast<std::int32_t>(value);
  }
  return std::nullopt;
}

// Unsigned variant for counters: nothing when outside 0..4294967295.
inline std::optional<std::uint32_t> TruncToUint32(double value) {
  if (value > -1.0 && value < 4294967296.0) {
    return static_cast<std::uint32_t>(value);
  }
  return std::nullopt;
}

}  // namespace zirvo
