// The one rectangle of the system: a corner and a size, in pixels. Monitors
// and the shows' areas on them, the part of a picture that changed, a GIF
// frame's box, a Windows RECT's edges once read. Edges are computed in 64 bits,
// so that a rectangle near the 32-bit limits still has a right edge.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <span>

namespace zirvo {

struct Rect {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;

  // From a Windows RECT's four edges (right and bottom exclusive); edges the
  // wrong way round give an empty rectangle at `left`, `top`.
  static Rect FromEdges(std::int32_t left, std::int32_t top, std::int32_t right,
                        std::int32_t bottom) {
    return Rect{left, top, Extent(left, right), Extent(top, bottom)};
  }

  bool Empty() const { return width <= 0 || height <= 0; }
  std::int64_t Right() const { return std::int64_t{x} + width; }
  std::int64_t Bottom() const { return std::int64_t{y} + height; }
  bool Contains(const Rect& other) const {
    return other.x >= x && other.y >= y && other.Right() <= Right() && other.Bottom() <= Bottom();
  }
  bool operator==(const Rect&) const = default;

 private:
  static std::int32_t Extent(std::int32_t from, std::int32_t to) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        std::int64_t{to} - from, 0, std::numeric_limits<std::int32_t>::max()));
  }
};

// The overlap of two rectangles; empty (all zero) when they do not meet.
inline Rect Intersect(const Rect& a, const Rect& b) {
  const std::int64_t left = std::max(a.x, b.x);
  const std::int64_t top = std::max(a.y, b.y);
  const std::int64_t right = std::min(a.Right(), b.Right());
  const std::int64_t bottom = std::min(a.Bottom(), b.Bottom());
  if (right <= left || bottom <= top)
    return Rect{};
  return Rect{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
              static_cast<std::int32_t>(right - left), static_cast<std::int32_t>(bottom - top)};
}

// The smallest rectangle holding every non-empty one of `rects` (empty when
// none is); a size beyond 32 bits is cut to the largest.
inline Rect BoundingBox(std::span<const Rect> rects) {
  bool any = false;
  std::int64_t left = 0, top = 0, right = 0, bottom = 0;
  for (const Rect& r : rects) {
    if (r.Empty())
      continue;
    left = any ? std::min<std::int64_t>(left, r.x) : r.x;
    top = any ? std::min<std::int64_t>(top, r.y) : r.y;
    right = any ? std::max(right, r.Right()) : r.Right();
    bottom = any ? std::max(bottom, r.Bottom()) : r.Bottom();
    any = true;
  }
  if (!any)
    return Rect{};
  constexpr std::int64_t kLargest = std::numeric_limits<std::int32_t>::max();
  return Rect{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
              static_cast<std::int32_t>(std::min(right - left, kLargest)),
              static_cast<std::int32_t>(std::min(bottom - top, kLargest))};
}

// What a picture remembers of the pixels set since it was last asked: the
// box around them. Cheap enough for every pixel: four comparisons.
class ChangedBox {
 public:
  // REQUIRES: 0 <= x, y (the picture's own coordinates).
  void Add(std::int32_t x, std::int32_t y) {
    left_ = std::min(left_, x);
    top_ = std::min(top_, y);
    right_ = std::max(right_, x + 1);
    bottom_ = std::max(bottom_, y + 1);
  }
  // REQUIRES: `rect` lies inside the picture.
  void Add(const Rect& rect) {
    if (rect.Empty())
      return;
    Add(rect.x, rect.y);
    Add(rect.x + rect.width - 1, rect.y + rect.height - 1);
  }
  // The box so far (empty when nothing was added), and forgets it.
  Rect Take() {
    const Rect box = right_ > left_ ? Rect{left_, top_, right_ - left_, bottom_ - top_} : Rect{};
    *this = ChangedBox{};
    return box;
  }

 private:
  // Inverted while empty, so that the first pixel becomes the whole box.
  std::int32_t left_ = std::numeric_limits<std::int32_t>::max();
  std::int32_t top_ = std::numeric_limits<std::int32_t>::max();
  std::int32_t right_ = 0;
  std::int32_t bottom_ = 0;
};

}  // namespace zirvo
