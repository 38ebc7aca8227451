// The simulated screen: one colour per physical pixel, black at first. Pixels
// set outside it are clipped. It remembers the rectangle touched since it was
// last asked, so that animation frames encode only what may have changed.
#pragma once

#include <cstdint>
#include <vector>

#include "core/Colour.h"

namespace zirvo::tools {

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;   // exclusive
  std::int32_t bottom = 0;  // exclusive
  bool Empty() const { return right <= left || bottom <= top; }
  std::int32_t Width() const { return right - left; }
  std::int32_t Height() const { return bottom - top; }
};

class Frame {
 public:
  Frame(std::int32_t width, std::int32_t height);

  void Set(std::int32_t x, std::int32_t y, COLORREF colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
      return;
    pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
            static_cast<std::size_t>(x)] = colour;
    if (x < dirty_.left)
      dirty_.left = x;
    if (x >= dirty_.right)
      dirty_.right = x + 1;
    if (y < dirty_.top)
      dirty_.top = y;
    if (y >= dirty_.bottom)
      dirty_.bottom = y + 1;
  }

  COLORREF At(std::int32_t x, std::int32_t y) const {
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)];
  }
  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }

  // The rectangle of the pixels set since the last call (empty when none).
  Rect TakeDirty();

 private:
  std::int32_t width_;
  std::int32_t height_;
  std::vector<COLORREF> pixels_;
  Rect dirty_;
};

}  // namespace zirvo::tools
