#include "scene/SwirlSpec.h"

namespace zirvo {

namespace {

// Points per full turn as the angle added per point: TwoPi / value in double,
// stored as float (0 gives an infinite step, as IEEE division does).
float AnglePerPoint(double pointsPerTurn) {
  return static_cast<float>(TwoPi / pointsPerTurn);
}

}  // namespace

float AngleStepFromPoints(float pointsPerTurn) {
  return AnglePerPoint(static_cast<double>(pointsPerTurn));
}

void SpecDefaults(SwirlSpec& spec, std::int32_t virtWidth, std::int32_t virtHeight) {
  spec = SwirlSpec{};
  spec.nw = AnglePerPoint(1024.0);
  spec.nn = AnglePerPoint(100.0);
  spec.px = virtWidth / 2;
  spec.py = virtHeight / 2;
  spec.fx = virtWidth / 2;
  spec.fy = virtHeight / 2;
  spec.launchesLeft = -1;
}

void SpecFinish(SwirlSpec& spec, std::int32_t d, SpecTable& specs) {
  if (spec.n > kMaxLiveSwirls)
    spec.n = kMaxLiveSwirls;
  // A kind that starts at once is active from the beginning of the show.
  if (spec.start == 0)
    spec.launchesLeft = spec.n;
  if (d == 1)
    spec.v = -spec.v;
  if (spec.bs > spec.nv)
    spec.bs = spec.nv;
  if (spec.p == 0)
    spec.p = static_cast<std::int32_t>(spec.bs);
  spec.v = static_cast<float>(static_cast<double>(spec.v) / 10000.0);
  specs.SpecCount += 1;
}

}  // namespace zirvo
