// A picture in memory, one COLORREF per pixel, black at first: zirvo-render's
// simulated screen, a saver window's picture. Pixels set outside it are
// clipped. It remembers, row by row, the span of columns set since it was last
// asked, so that an animation frame or a present looks only at what may have
// changed.
#pragma once

#include <cstdint>
#include <vector>

#include "core/Colour.h"

namespace zirvo {

// Columns left..right-1 of row y.
struct RowSpan {
  std::int32_t y;
  std::int32_t left;
  std::int32_t right;
};

class Picture {
 public:
  Picture(std::int32_t width, std::int32_t height);

  void Set(std::int32_t x, std::int32_t y, COLORREF colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
      return;
    const auto row = static_cast<std::size_t>(y);
    pixels_[row * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] = colour;
    Span& span = spans_[row];
    if (x < span.left)
      span.left = x;
    if (x >= span.right)
      span.right = x + 1;
    if (y < top_)
      top_ = y;
    if (y >= bottom_)
      bottom_ = y + 1;
  }

  COLORREF At(std::int32_t x, std::int32_t y) const {
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)];
  }
  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }

  // Replaces `rows` with the spans set since the last call, top to bottom, and
  // forgets them.
  void TakeSetRows(std::vector<RowSpan>& rows);

 private:
  struct Span {
    std::int32_t left;
    std::int32_t right;
  };

  std::int32_t width_;
  std::int32_t height_;
  std::vector<COLORREF> pixels_;
  std::vector<Span> spans_;  // inverted (left = width, right = 0) when nothing was set
  std::int32_t top_;
  std::int32_t bottom_ = 0;
};

}  // namespace zirvo
