// Where the shows go on a desktop of several monitors: one show per monitor, in
// that monitor's rectangle. Monitors come in desktop coordinates (an origin may
// be negative, sizes may differ); the shows' rectangles come out relative to
// the top-left corner of the surface that covers the virtual screen, ready to
// be drawn on it.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace zirvo {

struct Rect {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;

  bool Empty() const { return width <= 0 || height <= 0; }
  bool Contains(const Rect& other) const;
  bool operator==(const Rect&) const = default;
};

// The overlap of two rectangles; empty when they do not meet.
Rect Intersect(const Rect& a, const Rect& b);

// The smallest rectangle holding every non-empty one of `rects` (empty when
// none is).
Rect BoundingBox(std::span<const Rect> rects);

// One rectangle per show, in the order of `monitors`, relative to
// `virtualScreen`'s top-left corner:
// - each monitor is clipped to the virtual screen; one that falls outside it
//   gets no show;
// - a monitor that lies wholly inside another one (a mirrored or cloned output)
//   gets no show of its own: the larger one's show covers it; of two equal
//   ones the first is kept;
// - with no monitor left, one show covers the whole virtual screen.
// Partly overlapping monitors keep a show each.
std::vector<Rect> LayOutShows(const Rect& virtualScreen, std::span<const Rect> monitors);

}  // namespace zirvo
