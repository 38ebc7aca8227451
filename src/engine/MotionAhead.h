// A swirl's next point computed a few turns before the swirl takes it,
// so that the store can fetch what the insert will touch while other swirls
// take their turns. MotionStep depends on nothing but the kind and the swirl
// fields kept in MotionInputs: a point computed ahead is used only while those
// are unchanged, and is then exactly the point MotionStep would give.
#pragma once

#include <bit>
#include <cstdint>

#include "core/ScreenPoint.h"
#include "engine/Swirl.h"

namespace zirvo {

struct MotionInputs {
  std::int32_t kindIndex = -1;
  std::uint32_t pointsLeft = 0;
  std::int32_t startX = 0;
  std::int32_t startY = 0;
  std::int32_t spanX = 0;
  std::int32_t spanY = 0;
  std::uint32_t tiltBits = 0;  // floats by their bits: -0 and NaN are inputs too
  std::uint32_t angleBits = 0;

  static MotionInputs Of(const Swirl& swirl);
  // Whether `swirl` holds these inputs now. Every field is compared, without
  // stopping at the first difference: on the path of every point, one branch
  // is cheaper than eight.
  bool Match(const Swirl& swirl) const {
    const std::uint32_t differ =
        static_cast<std::uint32_t>(kindIndex ^ swirl.spec) | (pointsLeft ^ swirl.pointsLeft) |
        static_cast<std::uint32_t>((startX ^ swirl.startX) | (startY ^ swirl.startY) |
                                   (spanX ^ swirl.spanX) | (spanY ^ swirl.spanY)) |
        (tiltBits ^ std::bit_cast<std::uint32_t>(swirl.tilt)) |
        (angleBits ^ std::bit_cast<std::uint32_t>(swirl.angle));
    return differ == 0;
  }
};

class MotionAhead {
 public:
  // Computes the next point of `swirl` now, unless it already has; null when
  // the swirl has no step left to take.
  const ScreenPoint* Prepare(const SwirlSpec& kind, const Swirl& swirl) {
    if (swirl.spec < 0 || swirl.pointsLeft == 0)
      return nullptr;
    if (!ready_ || !inputs_.Match(swirl))
      Compute(kind, swirl);
    return &point_;
  }
  // MotionStep(kind, swirl): the point prepared for it, or computed now.
  ScreenPoint Take(const SwirlSpec& kind, Swirl& swirl) {
    const bool prepared = ready_ && inputs_.Match(swirl);
    ready_ = false;
    if (!prepared)
      return MotionStep(kind, swirl);
    swirl.angle = angleAfter_;
    return point_;
  }

 private:
  void Compute(const SwirlSpec& kind, const Swirl& swirl);

  bool ready_ = false;
  MotionInputs inputs_;
  ScreenPoint point_;
  float angleAfter_ = 0.0f;
};

}  // namespace zirvo
