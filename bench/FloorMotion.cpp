#include "FloorMotion.h"

namespace zirvo::bench {

ScreenPoint FloorStep(const SwirlSpec& kind, Swirl& swirl) {
  ScreenPoint point = MotionStep(kind, swirl);
  swirl.trailRoom -= 1;
  swirl.pointsLeft -= 1;
  if (swirl.pointsLeft == 0)
    swirl.pointsLeft = kind.nv;

  point.colour = swirl.colour;
  return point;
}

}  // namespace zirvo::bench
