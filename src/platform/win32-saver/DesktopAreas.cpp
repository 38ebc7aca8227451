#include "platform/win32-saver/DesktopAreas.h"

#include <algorithm>

namespace zirvo::scr {

namespace {

std::int32_t Extent(std::int32_t from, std::int32_t to) {
  // In 64 bits: edges far apart still give a difference that fits.
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{to} - from, 0, INT32_MAX));
}

}  // namespace

Rect RectOf(const Edges& edges) {
  return Rect{edges.left, edges.top, Extent(edges.left, edges.right),
              Extent(edges.top, edges.bottom)};
}

std::vector<Rect> DesktopAreas(const Rect& virtualScreen, std::span<const Edges> monitors) {
  std::vector<Rect> rects;
  rects.reserve(monitors.size());
  for (const Edges& monitor : monitors)
    rects.push_back(RectOf(monitor));
  return LayOutShows(virtualScreen, rects);
}

}  // namespace zirvo::scr
