// Real-to-integer conversion as the show needs it: truncation toward zero,
// with the values a signed 32-bit integer cannot hold (and NaN) reported
// instead of converted, since that conversion is undefined in C++.
#pragma once

#include <cstdint>
#include <optional>

namespace zirvo {

// The truncated value, or nothing when `value` is not finite or its truncation
// lies outside -2147483648..2147483647.
std::optional<std::int32_t> TruncToInt32(double value);

// Unsigned variant for counters: nothing when outside 0..4294967295.
std::optional<std::uint32_t> TruncToUint32(double value);

}  // namespace zirvo
