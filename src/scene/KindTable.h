// One kind of swirl as the scene file describes it, and the table of them.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

#include "core/Colour.h"

namespace zirvo {

// 2 pi, computed as the show always has: 8 atan(1).
inline const double TwoPi = 8.0 * std::atan(1.0);

constexpr int kMaxKinds = 50;
constexpr int kMaxLiveSwirls = 500;

struct SwirlSpec {
  float a = 200.0f;
  float b = 50.0f;
  float v = 5.0f;   // negated for d = 1 and divided by 10000 when the block ends
  float nw = 0.0f;  // TwoPi / points per orbit
  float nn = 0.0f;  // TwoPi / points per tilt turn
  std::int32_t px = 0;
  std::int32_t py = 0;
  std::int32_t fx = 0;
  std::int32_t fy = 0;
  std::int32_t pxRandom = 1;
  std::int32_t pyRandom = 1;
  std::int32_t fxRandom = 1;
  std::int32_t fyRandom = 1;
  std::int32_t dt = 50;
  std::uint32_t nv = 8192;
  std::uint32_t bs = 3000;
  std::int32_t m = 0;
  std::int32_t colourMode = 0;  // 0 fixed, 1 random per swirl, -1 random per point
  COLORREF colour = Palette16[15];
  std::uint32_t start = 0;
  std::uint32_t stop = 0;
  std::int32_t p = 0;
  std::int32_t n = 1;
  std::int32_t launchesLeft = -1;  // -1 while the kind is not active
};

struct SpecTable {
  std::array<SwirlSpec, kMaxKinds> table{};
  std::int32_t SpecCount = 0;

  SwirlSpec& operator[](int i) { return table[static_cast<std::size_t>(i)]; }
  const SwirlSpec& operator[](int i) const { return table[static_cast<std::size_t>(i)]; }
};

// The nw / nn field for a key value: TwoPi / points per turn, in double,
// stored as float.
float AngleStepFromPoints(float pointsPerTurn);

// Fills `kind` with the defaults; the centre comes from the virtual size now.
void SpecDefaults(SwirlSpec& kind, std::int32_t virtWidth, std::int32_t virtHeight);

// Completes a record at the end of its block (n cut to 500, activation when
// start is 0, direction, bs cut to nv, p from bs, v / 10000) and counts it.
void SpecFinish(SwirlSpec& kind, std::int32_t d, SpecTable& specs);

}  // namespace zirvo
