#include "scene/KindTable.h"

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

void SpecDefaults(SwirlSpec& kind, std::int32_t virtWidth, std::int32_t virtHeight) {
  kind = SwirlSpec{};
  kind.nw = AnglePerPoint(1024.0);
  kind.nn = AnglePerPoint(100.0);
  kind.px = virtWidth / 2;
  kind.py = virtHeight / 2;
  kind.fx = virtWidth / 2;
  kind.fy = virtHeight / 2;
  kind.launchesLeft = -1;
}

void SpecFinish(SwirlSpec& kind, std::int32_t d, SpecTable& specs) {
  if (kind.n > kMaxLiveSwirls)
    kind.n = kMaxLiveSwirls;
  // A kind that starts at once is active from the beginning of the show.
  if (kind.start == 0)
    kind.launchesLeft = kind.n;
  if (d == 1)
    kind.v = -kind.v;
  if (kind.bs > kind.nv)
    kind.bs = kind.nv;
  if (kind.p == 0)
    kind.p = static_cast<std::int32_t>(kind.bs);
  kind.v = static_cast<float>(static_cast<double>(kind.v) / 10000.0);
  specs.SpecCount += 1;
}

}  // namespace zirvo
