// The next point of a swirl: a point on an ellipse around the target, the ellipse
// turned by the tilt, the whole figure scaled exponentially about the start point.
// Each rounding to float stands where the show's pictures depend on it.
#include <cmath>

#include "core/Truncate.h"
#include "engine/Engine.h"

namespace zirvo {

void MotionPoint(const SwirlSpec& kind, const Swirl& swirl, float& angle, ScreenPoint& point) {
  const std::uint32_t k = kind.nv - swirl.pointsLeft;  // points computed so far
  const float kf = static_cast<float>(k);
  const float u = kind.v < 0.0f ? static_cast<float>(swirl.pointsLeft) : -kf;
  const float e = static_cast<float>(std::exp(double(u) * double(kind.v)));

  angle = static_cast<float>(double(swirl.angle) + double(kind.nw));
  const float a = static_cast<float>(std::sin(double(angle)) * double(kind.a));
  const float b = static_cast<float>(std::cos(double(angle)) * double(kind.b));

  // The tilt is computed afresh from k; its cosine is taken of phi rounded to float.
  const double phi = double(kf) * double(kind.nn) + double(swirl.tilt);
  const float sinPhi = static_cast<float>(std::sin(phi));
  const float cosPhi = static_cast<float>(std::cos(double(static_cast<float>(phi))));

  const double x =
      ((double(swirl.spanX) + double(a) * double(cosPhi)) + double(b) * double(sinPhi)) *
          double(e) +
      double(swirl.startX);
  const double y =
      ((double(swirl.spanY) - double(a) * double(sinPhi)) + double(b) * double(cosPhi)) *
          double(e) +
      double(swirl.startY);
  // A coordinate that is not finite or does not fit 32 bits lies off the virtual
  // screen: the store refuses it like any other point outside.
  const auto px = TruncToInt32(x);
  const auto py = TruncToInt32(y);
  point.x = px && py ? *px : -1;
  point.y = px && py ? *py : 0;
}

int Engine::StepSwirl(Swirl& swirl, ScreenPoint& point) {
  if (swirl.spec < 0 || swirl.trailRoom == 0)
    return 0;
  const SwirlSpec& kind = specs_[swirl.spec];
  const std::int32_t slot = SlotOf(swirl);
  const ScreenPoint next = lookAhead_.Take(slot, kind, swirl);
  point.x = next.x;
  point.y = next.y;

  swirl.trailRoom -= 1;
  swirl.pointsLeft -= 1;
  AdvanceCursor(swirl);

  point.colour = kind.colourMode < 0 ? PickColour(kind) : swirl.colour;

  const std::int32_t index = store_.InsertPoint(swirl.newest, point);
  lookAhead_.PrepareAfter(slot, SwirlTable_, ActiveHead_);
  if (index == -1)
    return 0;
  swirl.newest = index;
  if (swirl.oldest == -1)
    swirl.oldest = index;
  map_.MapToScreen(point);
  return 1;
}

}  // namespace zirvo
