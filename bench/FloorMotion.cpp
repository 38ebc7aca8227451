#include "FloorMotion.h"

#include <cmath>

#include "core/Truncate.h"

namespace zirvo::bench {

ScreenPoint FloorStep(const SwirlSpec& kind, Swirl& swirl) {
  const std::uint32_t k = kind.nv - swirl.pointsLeft;
  const float kf = static_cast<float>(k);
  const float u = kind.v < 0.0f ? static_cast<float>(swirl.pointsLeft) : -kf;
  const float e = static_cast<float>(std::exp(double(u) * double(kind.v)));

  swirl.angle = static_cast<float>(double(swirl.angle) + double(kind.nw));
  const float a = static_cast<float>(std::sin(double(swirl.angle)) * double(kind.a));
  const float b = static_cast<float>(std::cos(double(swirl.angle)) * double(kind.b));

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
  const auto px = TruncToInt32(x);
  const auto py = TruncToInt32(y);

  swirl.trailRoom -= 1;
  swirl.pointsLeft -= 1;
  if (swirl.pointsLeft == 0)
    swirl.pointsLeft = kind.nv;

  ScreenPoint point;
  point.x = px && py ? *px : -1;
  point.y = px && py ? *py : 0;
  point.colour = swirl.colour;
  return point;
}

}  // namespace zirvo::bench
