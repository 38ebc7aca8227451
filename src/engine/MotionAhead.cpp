#include "engine/MotionAhead.h"

namespace zirvo {

void MotionAhead::Compute(const SwirlSpec& kind, const Swirl& swirl) {
  MotionPoint(kind, swirl, angleAfter_, point_);
  inputs_ = MotionInputs::Of(swirl);
  ready_ = true;
}

}  // namespace zirvo
