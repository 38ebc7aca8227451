#include "engine/MotionAhead.h"

namespace zirvo {

MotionInputs MotionInputs::Of(const Swirl& swirl) {
  MotionInputs in;
  in.kindIndex = swirl.spec;
  in.pointsLeft = swirl.pointsLeft;
  in.startX = swirl.startX;
  in.startY = swirl.startY;
  in.spanX = swirl.spanX;
  in.spanY = swirl.spanY;
  in.tiltBits = std::bit_cast<std::uint32_t>(swirl.tilt);
  in.angleBits = std::bit_cast<std::uint32_t>(swirl.angle);
  return in;
}

void MotionAhead::Compute(const SwirlSpec& kind, const Swirl& swirl) {
  MotionPoint(kind, swirl, angleAfter_, point_);
  inputs_ = MotionInputs::Of(swirl);
  ready_ = true;
}

}  // namespace zirvo
