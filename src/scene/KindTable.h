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

// Each field keeps the name of the scene key that sets it (key=value lines of
// the kind's block); the comment says what the value means for its swirls.
struct SwirlSpec {
  float a = 200.0f;  // a: first radius of the ellipse the point runs on, virtual pixels
  float b = 50.0f;   // b: second radius of the ellipse
  // v: rate of the exponential factor per point; negated for d = 1 and
  // divided by 10000 when the block ends.
  float v = 5.0f;
  float nw = 0.0f;      // nw: orbit angle per point, TwoPi / (points per orbit)
  float nn = 0.0f;      // nn: tilt angle per point, TwoPi / (points per tilt turn)
  std::int32_t px = 0;  // px, py: the start point, virtual pixels
  std::int32_t py = 0;
  std::int32_t fx = 0;  // fx, fy: the target point the figure contracts onto
  std::int32_t fy = 0;
  // Non-zero: that coordinate is drawn at random for each swirl (px=r, ...).
  std::int32_t pxRandom = 1;
  std::int32_t pyRandom = 1;
  std::int32_t fxRandom = 1;
  std::int32_t fyRandom = 1;
  std::int32_t dt = 50;     // dt: a swirl acts on one of every dt + 1 of its turns
  std::uint32_t nv = 8192;  // nv: points each swirl draws
  std::uint32_t bs = 3000;  // bs: trail length, points kept before the oldest is erased
  // m: 0 erases the rest of a finished trail within one turn, 1 one point per turn.
  std::int32_t m = 0;
  std::int32_t colourMode = 0;      // c=a: 1 random per swirl; c=r: -1 random per point; else 0
  COLORREF colour = Palette16[15];  // c=1..15: the palette entry
  std::uint32_t start = 0;          // start, stop: seconds of the show's clock; stop 0 = no end
  std::uint32_t stop = 0;
  // p: launch gate; while swirls are live another launches with a chance of
  // about launchesLeft / p per pass. 0 becomes bs when the block ends.
  std::int32_t p = 0;
  std::int32_t n = 1;              // n: most live swirls of this kind at one time
  std::int32_t launchesLeft = -1;  // launch credit: n minus live swirls; -1 while not active
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
