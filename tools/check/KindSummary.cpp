#include "check/KindSummary.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace zirvo::tools {

namespace {

constexpr const char* kPaletteNames[16] = {
    "black",       "dark blue", "dark green", "dark cyan", "dark red", "dark magenta",
    "dark yellow", "grey",      "dark grey",  "blue",      "green",    "cyan",
    "red",         "magenta",   "yellow",     "white",
};

std::string Coordinate(std::int32_t value, std::int32_t random) {
  return random != 0 ? std::string("random") : std::to_string(value);
}

std::string Point(std::int32_t x, std::int32_t xRandom, std::int32_t y, std::int32_t yRandom) {
  if (xRandom != 0 && yRandom != 0)
    return "random";
  return "(" + Coordinate(x, xRandom) + ", " + Coordinate(y, yRandom) + ")";
}

}  // namespace

std::string ColourName(COLORREF colour) {
  for (std::size_t i = 0; i < Palette16.size(); ++i) {
    if (Palette16[i] == colour)
      return kPaletteNames[i];
  }
  char hex[16];
  std::snprintf(hex, sizeof hex, "#%02x%02x%02x", RedOf(colour), GreenOf(colour), BlueOf(colour));
  return hex;
}

std::string ColourDescription(const SwirlSpec& kind) {
  if (kind.colourMode == 1)
    return "random per swirl";
  if (kind.colourMode < 0)
    return "random per point";
  return ColourName(kind.colour);
}

std::string StartPointDescription(const SwirlSpec& kind) {
  return Point(kind.px, kind.pxRandom, kind.py, kind.pyRandom);
}

std::string TargetDescription(const SwirlSpec& kind) {
  return Point(kind.fx, kind.fxRandom, kind.fy, kind.fyRandom);
}

namespace {

template <typename Real>
std::string Shortest(Real value) {
  if (std::isnan(value))
    return "nan";
  if (std::isinf(value))
    return value > 0 ? "inf" : "-inf";
  // Plain decimals where they stay short ("0.0005" rather than "5e-04").
  const Real magnitude = std::fabs(value);
  const bool plain = magnitude == 0 || (magnitude >= Real(1e-6) && magnitude < Real(1e9));
  char text[512];
  const auto result = plain
                          ? std::to_chars(text, text + sizeof text, value, std::chars_format::fixed)
                          : std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

}  // namespace

std::string ShortReal(float value) {
  return Shortest(value);
}
std::string ShortReal(double value) {
  return Shortest(value);
}

std::string PointsPerTurn(float step) {
  if (!std::isfinite(step))
    return "infinite step";
  if (step == 0.0f)
    return "no turn";
  // The file gave TwoPi / step; show it back rounded to what a person wrote.
  const double points = TwoPi / static_cast<double>(step);
  char text[64];
  std::snprintf(text, sizeof text, "%.6g", points);
  return text;
}

}  // namespace zirvo::tools
