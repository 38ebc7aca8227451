// 32-bit signed words that wrap like the machine's registers instead of
// overflowing into undefined behaviour: a kind's launch credit with n near
// -2^31, a step countdown reloaded with a negative dt, the show's seconds,
// a virtual size minus one.
#pragma once

#include <cstdint>

namespace zirvo {

inline std::int32_t WrapAdd(std::int32_t value, std::int32_t delta) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) +
                                   static_cast<std::uint32_t>(delta));
}

inline std::int32_t WrapSub(std::int32_t value, std::int32_t delta) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) -
                                   static_cast<std::uint32_t>(delta));
}

}  // namespace zirvo
