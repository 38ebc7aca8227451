// A swirl's next point computed a few turns before the swirl takes it,
// so that the store can fetch what the insert will touch while other swirls
// take their turns. MotionStep depends on nothing but the kind and the swirl
// fields kept in MotionInputs: a point computed ahead is used only while those
// are unchanged, and is then exactly the point MotionStep would give.
#pragma once

#include <cstdint>

#include "core/ScreenPoint.h"

namespace zirvo {

struct Swirl;
struct SwirlSpec;

struct MotionInputs {
  std::int32_t spec = -1;
  std::uint32_t pointsLeft = 0;
  std::int32_t startX = 0;
  std::int32_t startY = 0;
  std::int32_t spanX = 0;
  std::int32_t spanY = 0;
  std::uint32_t tiltBits = 0;  // floats by their bits: -0 and NaN are inputs too
  std::uint32_t angleBits = 0;

  static MotionInputs Of(const Swirl& swirl);
  bool operator==(const MotionInputs&) const = default;
};

class MotionAhead {
 public:
  // Computes the next point of `swirl` now, unless it already has; null when
  // the swirl has no step left to take.
  const ScreenPoint* Prepare(const SwirlSpec& kind, const Swirl& swirl);
  // The point prepared and not yet taken, or null.
  const ScreenPoint* Prepared() const { return ready_ ? &point_ : nullptr; }
  // MotionStep(kind, swirl): the point prepared for it, or computed now.
  ScreenPoint Take(const SwirlSpec& kind, Swirl& swirl);

 private:
  bool ready_ = false;
  MotionInputs inputs_;
  ScreenPoint point_;
  float angleAfter_ = 0.0f;
};

}  // namespace zirvo
