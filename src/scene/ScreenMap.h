// From the virtual screen the scene is written for to the physical one.
#pragma once

#include <cstdint>

#include "core/ScreenPoint.h"
#include "scene/Settings.h"

namespace zirvo {

struct ScreenMap {
  std::int32_t VirtMaxX = 0;
  std::int32_t VirtMaxY = 0;
  std::int32_t Scaling = 0;
  double ScaleX = 0.0;
  double ScaleY = 0.0;
  std::int32_t OffsetX = 0;
  std::int32_t OffsetY = 0;
  double RandXUnit = 0.0;  // VirtMaxX / 32767
  double RandYUnit = 0.0;  // VirtMaxY / 32767

  // Rewrites x and y from virtual to physical pixels. A result that a signed
  // 32-bit integer cannot hold becomes x = -1 (no pixel). Inline without
  // scaling: the drawing pass maps several points per turn.
  void MapToScreen(ScreenPoint& point) const {
    if (Scaling == 1) {
      MapScaled(point);
      return;
    }
    std::int32_t x = 0;
    std::int32_t y = 0;
    if (__builtin_add_overflow(point.x, OffsetX, &x) ||
        __builtin_add_overflow(point.y, OffsetY, &y)) {
      point.x = -1;  // no pixel
      return;
    }
    point.x = x;
    point.y = y;
  }

 private:
  void MapScaled(ScreenPoint& point) const;
};

ScreenMap ComputeScreenMap(const Settings& settings, const ScreenSize& screen);

}  // namespace zirvo
