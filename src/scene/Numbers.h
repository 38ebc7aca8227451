// Number conversions with the C library's scanning rules ("%d", "%u", "%f"):
// leading white space is skipped, an optional sign, the longest valid prefix is
// taken and the rest ignored; nothing read means "not a number". Unlike the C
// library, values that do not fit saturate (as strtol/strtoul do) instead of
// being undefined.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zirvo {

// "%d": saturates at -2147483648 and 2147483647.
std::optional<std::int32_t> ScanInt(std::string_view text, std::size_t* consumed = nullptr);
// "%u": a minus sign negates modulo 2^32 (as strtoul does); saturates at 4294967295.
std::optional<std::uint32_t> ScanUnsigned(std::string_view text, std::size_t* consumed = nullptr);
// "%f": decimal mantissa with optional sign, fraction and exponent, read as float
// (correctly rounded; too large gives infinity, too small zero).
std::optional<float> ScanFloat(std::string_view text, std::size_t* consumed = nullptr);

// A separator byte: its value read as a signed 8-bit number is 32 or less (blank,
// control characters, and every byte from 128 up).
inline bool IsSeparator(char c) {
  return static_cast<signed char>(c) <= 32;
}

// The first character of `text` after separators, or '\0' at its end.
char FirstNonSeparator(std::string_view text);

}  // namespace zirvo
