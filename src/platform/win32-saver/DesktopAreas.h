// The full-screen show's areas as Windows describes the desktop: the virtual
// screen from the system metrics (its corner may be negative, and it may be
// larger than the monitors together when they do not form a rectangle), the
// monitors as the rectangles EnumDisplayMonitors reports (left, top, right,
// bottom). One show per monitor, placed on the window that covers the
// virtual screen (see app/MonitorLayout.h).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "app/MonitorLayout.h"

namespace zirvo::scr {

// A Windows RECT's four edges; right and bottom are exclusive.
struct Edges {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

// Edges the wrong way round give an empty rectangle.
Rect RectOf(const Edges& edges);

std::vector<Rect> DesktopAreas(const Rect& virtualScreen, std::span<const Edges> monitors);

}  // namespace zirvo::scr
