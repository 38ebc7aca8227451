#include "engine/MotionAhead.h"

#include <bit>

#include "engine/Engine.h"

namespace zirvo {

MotionInputs MotionInputs::Of(const Swirl& swirl) {
  MotionInputs in;
  in.spec = swirl.spec;
  in.pointsLeft = swirl.pointsLeft;
  in.startX = swirl.startX;
  in.startY = swirl.startY;
  in.spanX = swirl.spanX;
  in.spanY = swirl.spanY;
  in.tiltBits = std::bit_cast<std::uint32_t>(swirl.tilt);
  in.angleBits = std::bit_cast<std::uint32_t>(swirl.angle);
  return in;
}

const ScreenPoint* MotionAhead::Prepare(const SwirlSpec& kind, const Swirl& swirl) {
  if (swirl.spec < 0 || swirl.pointsLeft == 0)
    return nullptr;
  const MotionInputs now = MotionInputs::Of(swirl);
  if (!ready_ || !(inputs_ == now)) {
    Swirl copy = swirl;
    point_ = MotionStep(kind, copy);
    angleAfter_ = copy.angle;
    inputs_ = now;
    ready_ = true;
  }
  return &point_;
}

ScreenPoint MotionAhead::Take(const SwirlSpec& kind, Swirl& swirl) {
  if (ready_ && inputs_ == MotionInputs::Of(swirl)) {
    ready_ = false;
    swirl.angle = angleAfter_;
    return point_;
  }
  ready_ = false;
  return MotionStep(kind, swirl);
}

}  // namespace zirvo
