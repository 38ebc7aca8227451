#include "core/Truncate.h"

#include <cmath>

namespace zirvo {

std::optional<std::int32_t> TruncToInt32(double value) {
  // The comparisons are false for NaN, which therefore falls through to nothing.
  if (value > -2147483649.0 && value < 2147483648.0) {
    return static_cast<std::int32_t>(value);
  }
  return std::nullopt;
}

std::optional<std::uint32_t> TruncToUint32(double value) {
  if (value > -1.0 && value < 4294967296.0) {
    return static_cast<std::uint32_t>(value);
  }
  return std::nullopt;
}

}  // namespace zirvo
