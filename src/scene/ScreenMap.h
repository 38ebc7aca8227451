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
  // 32-bit integer cannot hold becomes x = -1 (no pixel).
  void MapToScreen(ScreenPoint& point) const;
};

ScreenMap ComputeScreenMap(const Settings& settings, const ScreenSize& screen);

}  // namespace zirvo
