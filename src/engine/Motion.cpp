// The next point of a swirl: a point on an ellipse around the target, the ellipse
// turned by the tilt, the whole figure scaled exponentially about the start point.
// Each rounding to float stands where the show's pictures depend on it.
#include <cmath>

#include "core/Truncate.h"
#include "engine/Swirl.h"

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

}  // namespace zirvo
