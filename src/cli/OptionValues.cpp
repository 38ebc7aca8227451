#include "cli/OptionValues.h"

#include <charconv>
#include <cmath>

namespace zirvo {

namespace {

bool AllDigits(const std::string& text) {
  if (text.empty())
    return false;
  for (char c : text) {
    if (c < '0' || c > '9')
      return false;
  }
  return true;
}

}  // namespace

std::optional<std::uint64_t> ParseUnsigned(const std::string& text, std::uint64_t low,
                                           std::uint64_t high) {
  if (!AllDigits(text))
    return std::nullopt;
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size())
    return std::nullopt;
  if (value < low || value > high)
    return std::nullopt;
  return value;
}

std::optional<ScreenSize> ParseScreenSize(const std::string& text) {
  const auto x = text.find_first_of("xX");
  if (x == std::string::npos)
    return std::nullopt;
  constexpr std::uint64_t kLargest = 16384;
  const auto width = ParseUnsigned(text.substr(0, x), 1, kLargest);
  const auto height = ParseUnsigned(text.substr(x + 1), 1, kLargest);
  if (!width || !height)
    return std::nullopt;
  ScreenSize size;
  size.ScreenWidth = static_cast<std::int32_t>(*width);
  size.ScreenHeight = static_cast<std::int32_t>(*height);
  return size;
}

std::optional<double> ParsePositiveReal(const std::string& text, double high) {
  // Digits, at most one point, at least one digit: no signs, exponents or
  // "inf"/"nan", which from_chars would otherwise take.
  int digits = 0;
  int points = 0;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      ++digits;
    } else if (c == '.') {
      ++points;
    } else {
      return std::nullopt;
    }
  }
  if (digits == 0 || points > 1)
    return std::nullopt;
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size())
    return std::nullopt;
  if (!(value > 0.0) || value > high || !std::isfinite(value))
    return std::nullopt;
  return value;
}

}  // namespace zirvo
