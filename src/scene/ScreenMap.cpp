#include "scene/ScreenMap.h"

#include <limits>

#include "core/Random.h"
#include "core/Truncate.h"
#include "core/Wrap.h"

namespace zirvo {

namespace {

// The offset of a scaled axis: (screen - virt * scale) / 2.0, truncated. Only
// impossible sizes (already refused by the load) fail to fit; they give 0.
std::int32_t ScaledOffset(std::int32_t screen, std::int32_t virt, double scale) {
  const double offset = (static_cast<double>(screen) - static_cast<double>(virt) * scale) / 2.0;
  return TruncToInt32(offset).value_or(0);
}

// (screen - virt) / 2, integer division truncating toward zero.
std::int32_t CentredOffset(std::int32_t screen, std::int32_t virt) {
  const std::int64_t offset = (std::int64_t{screen} - std::int64_t{virt}) / 2;
  return static_cast<std::int32_t>(offset);  // |offset| < 2^31 for any two int32
}

// value + offset, or nothing when the sum does not fit.
std::optional<std::int32_t> AddOffset(std::int32_t value, std::int32_t offset) {
  const std::int64_t sum = std::int64_t{value} + std::int64_t{offset};
  if (sum < std::numeric_limits<std::int32_t>::min() ||
      sum > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(sum);
}

}  // namespace

ScreenMap ComputeScreenMap(const Settings& settings, const ScreenSize& screen) {
  ScreenMap map;
  map.VirtMaxX = WrapSub(settings.VirtWidth, 1);
  map.VirtMaxY = WrapSub(settings.VirtHeight, 1);
  map.Scaling = settings.Scaling;
  if (settings.Scaling == 1) {
    // The largest virtual coordinate maps onto the largest physical one.
    map.ScaleX = static_cast<double>(screen.ScreenMaxX()) / static_cast<double>(map.VirtMaxX);
    map.ScaleY = static_cast<double>(screen.ScreenMaxY()) / static_cast<double>(map.VirtMaxY);
    if (settings.UniformScale == 1) {
      if (map.ScaleX > map.ScaleY) {
        map.ScaleX = map.ScaleY;
      } else if (map.ScaleX < map.ScaleY) {
        map.ScaleY = map.ScaleX;
      }
    }
    map.OffsetX = ScaledOffset(screen.ScreenWidth, settings.VirtWidth, map.ScaleX);
    map.OffsetY = ScaledOffset(screen.ScreenHeight, settings.VirtHeight, map.ScaleY);
  } else {
    map.OffsetX = CentredOffset(screen.ScreenWidth, settings.VirtWidth);
    map.OffsetY = CentredOffset(screen.ScreenHeight, settings.VirtHeight);
  }
  map.RandXUnit = static_cast<double>(map.VirtMaxX) / Random::kMax;
  map.RandYUnit = static_cast<double>(map.VirtMaxY) / Random::kMax;
  return map;
}

void ScreenMap::MapScaled(ScreenPoint& point) const {
  std::optional<std::int32_t> x = TruncToInt32(static_cast<double>(point.x) * ScaleX);
  std::optional<std::int32_t> y = TruncToInt32(static_cast<double>(point.y) * ScaleY);
  if (x)
    x = AddOffset(*x, OffsetX);
  if (y)
    y = AddOffset(*y, OffsetY);
  if (!x || !y) {
    point.x = -1;  // no pixel
    return;
  }
  point.x = *x;
  point.y = *y;
}

}  // namespace zirvo
