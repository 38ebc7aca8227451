#include "scene/Numbers.h"

#include <cstdlib>
#include <limits>
#include <string>

namespace zirvo {

namespace {

// White space as the C library's scanning skips it in the "C" locale.
bool IsScanSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::size_t SkipScanSpace(std::string_view text, std::size_t i) {
  while (i < text.size() && IsScanSpace(text[i]))
    ++i;
  return i;
}

// The common part of "%d" and "%u": white space, sign, digits. The magnitude
// saturates at 2^32 - 1 plus one so that both callers can tell overflow apart.
struct DecimalInteger {
  bool found = false;
  bool negative = false;
  std::uint64_t magnitude = 0;  // at most 2^32
  std::size_t end = 0;
};

DecimalInteger ScanDecimal(std::string_view text) {
  constexpr std::uint64_t kCap = std::uint64_t{1} << 32;
  DecimalInteger result;
  std::size_t i = SkipScanSpace(text, 0);
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    result.negative = text[i] == '-';
    ++i;
  }
  const std::size_t firstDigit = i;
  while (i < text.size() && IsDigit(text[i])) {
    result.magnitude = result.magnitude * 10 + static_cast<std::uint64_t>(text[i] - '0');
    if (result.magnitude > kCap)
      result.magnitude = kCap;
    ++i;
  }
  if (i == firstDigit)
    return DecimalInteger{};
  result.found = true;
  result.end = i;
  return result;
}

void Report(std::size_t* consumed, std::size_t value) {
  if (consumed != nullptr)
    *consumed = value;
}

}  // namespace

std::optional<std::int32_t> ScanInt(std::string_view text, std::size_t* consumed) {
  const DecimalInteger n = ScanDecimal(text);
  Report(consumed, n.end);
  if (!n.found)
    return std::nullopt;
  if (n.negative) {
    if (n.magnitude >= 2147483648u)
      return std::numeric_limits<std::int32_t>::min();
    return -static_cast<std::int32_t>(n.magnitude);
  }
  if (n.magnitude >= 2147483647u)
    return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(n.magnitude);
}

std::optional<std::uint32_t> ScanUnsigned(std::string_view text, std::size_t* consumed) {
  const DecimalInteger n = ScanDecimal(text);
  Report(consumed, n.end);
  if (!n.found)
    return std::nullopt;
  if (n.magnitude > 0xFFFFFFFFu)
    return 0xFFFFFFFFu;
  const auto value = static_cast<std::uint32_t>(n.magnitude);
  // As strtoul: a minus sign negates the value in the unsigned type.
  return n.negative ? static_cast<std::uint32_t>(0u - value) : value;
}

std::optional<float> ScanFloat(std::string_view text, std::size_t* consumed) {
  Report(consumed, 0);
  const std::size_t begin = SkipScanSpace(text, 0);
  std::size_t i = begin;
  if (i < text.size() && (text[i] == '+' || text[i] == '-'))
    ++i;
  std::size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) {
    ++i;
    ++digits;
  }
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) {
      ++i;
      ++digits;
    }
  }
  if (digits == 0)
    return std::nullopt;
  // The exponent belongs to the number only when at least one digit follows.
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-'))
      ++j;
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j]))
        ++j;
      i = j;
    }
  }
  // Only a plain decimal prefix reaches strtof (no hex, no inf/nan), so its
  // result is the correctly rounded float; out of range gives inf or zero.
  const std::string prefix(text.substr(begin, i - begin));
  const float value = std::strtof(prefix.c_str(), nullptr);
  Report(consumed, i);
  return value;
}

char FirstNonSeparator(std::string_view text) {
  for (const char c : text) {
    if (!IsSeparator(c))
      return c;
  }
  return '\0';
}

}  // namespace zirvo
