// A swirl's next point computed a few turns before the swirl takes it,
// so that the store can fetch what the insert will touch while other swirls
// take their turns. MotionStep depends on nothing but the kind and the swirl
// fields kept in MotionInputs: a point computed ahead is used only while those
// are unchanged, and is then exactly the point MotionStep would give.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/ScreenPoint.h"
#include "engine/Swirl.h"

namespace zirvo {

// The swirl's fields that MotionStep reads, from spec to angle, as bytes:
// floats count by their bits (-0 and NaN are inputs too).
struct MotionInputs {
  static constexpr std::size_t kBytes = offsetof(Swirl, angle) + sizeof(float);
  unsigned char bytes[kBytes];

  static MotionInputs Of(const Swirl& swirl) {
    MotionInputs in;
    std::memcpy(in.bytes, &swirl, kBytes);
    return in;
  }
  // Whether `swirl` holds these inputs now: one comparison of the block, on
  // the path of every point.
  bool Match(const Swirl& swirl) const { return std::memcmp(bytes, &swirl, kBytes) == 0; }
};
static_assert(offsetof(Swirl, spec) == 0 && MotionInputs::kBytes == 32,
              "a swirl's motion inputs lead it, eight words together");

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
  void Compute(const SwirlSpec& kind, const Swirl& swirl) {
    MotionPoint(kind, swirl, angleAfter_, point_);
    inputs_ = MotionInputs::Of(swirl);
    ready_ = true;
  }

  bool ready_ = false;
  MotionInputs inputs_;
  ScreenPoint point_;
  float angleAfter_ = 0.0f;
};

}  // namespace zirvo
