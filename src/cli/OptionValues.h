// Parsing the values of the tools' options. Every parser takes the whole text:
// a value with anything left over is not understood.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "scene/Settings.h"

namespace zirvo {

// "WxH" with 1 <= W, H <= 16384 (a capital X is accepted too).
std::optional<ScreenSize> ParseScreenSize(const std::string& text);

// A decimal integer from `low` to `high`.
std::optional<std::uint64_t> ParseUnsigned(const std::string& text, std::uint64_t low,
                                           std::uint64_t high);

// A decimal number (digits with an optional fraction) greater than 0 and at most
// `high`.
std::optional<double> ParsePositiveReal(const std::string& text, double high);

}  // namespace zirvo
