#include "app/MonitorLayout.h"

#include <algorithm>

namespace zirvo {

bool Rect::Contains(const Rect& other) const {
  return other.x >= x && other.y >= y &&
         std::int64_t{other.x} + other.width <= std::int64_t{x} + width &&
         std::int64_t{other.y} + other.height <= std::int64_t{y} + height;
}

Rect Intersect(const Rect& a, const Rect& b) {
  // 64 bits: a right edge of a rectangle near the 32-bit limits still fits.
  const std::int64_t left = std::max(a.x, b.x);
  const std::int64_t top = std::max(a.y, b.y);
  const std::int64_t right = std::min(std::int64_t{a.x} + a.width, std::int64_t{b.x} + b.width);
  const std::int64_t bottom = std::min(std::int64_t{a.y} + a.height, std::int64_t{b.y} + b.height);
  if (right <= left || bottom <= top)
    return Rect{};
  return Rect{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
              static_cast<std::int32_t>(right - left), static_cast<std::int32_t>(bottom - top)};
}

Rect BoundingBox(std::span<const Rect> rects) {
  bool any = false;
  std::int64_t left = 0, top = 0, right = 0, bottom = 0;
  for (const Rect& r : rects) {
    if (r.Empty())
      continue;
    const std::int64_t rRight = std::int64_t{r.x} + r.width;
    const std::int64_t rBottom = std::int64_t{r.y} + r.height;
    left = any ? std::min<std::int64_t>(left, r.x) : r.x;
    top = any ? std::min<std::int64_t>(top, r.y) : r.y;
    right = any ? std::max(right, rRight) : rRight;
    bottom = any ? std::max(bottom, rBottom) : rBottom;
    any = true;
  }
  if (!any)
    return Rect{};
  return Rect{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
              static_cast<std::int32_t>(std::min<std::int64_t>(right - left, INT32_MAX)),
              static_cast<std::int32_t>(std::min<std::int64_t>(bottom - top, INT32_MAX))};
}

std::vector<Rect> LayOutShows(const Rect& virtualScreen, std::span<const Rect> monitors) {
  std::vector<Rect> clipped;
  clipped.reserve(monitors.size());
  for (const Rect& monitor : monitors)
    clipped.push_back(Intersect(monitor, virtualScreen));

  std::vector<Rect> shows;
  for (std::size_t i = 0; i < clipped.size(); ++i) {
    const Rect& mine = clipped[i];
    if (mine.Empty())
      continue;
    bool covered = false;
    for (std::size_t j = 0; j < clipped.size() && !covered; ++j) {
      if (j == i || !clipped[j].Contains(mine))
        continue;
      // Of two equal monitors the earlier one keeps the show.
      covered = !(clipped[j] == mine) || j < i;
    }
    if (!covered) {
      shows.push_back(
          Rect{mine.x - virtualScreen.x, mine.y - virtualScreen.y, mine.width, mine.height});
    }
  }
  if (shows.empty() && !virtualScreen.Empty())
    shows.push_back(Rect{0, 0, virtualScreen.width, virtualScreen.height});
  return shows;
}

}  // namespace zirvo
