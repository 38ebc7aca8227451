// The page's screen: one 32-bit RGBA pixel per physical pixel (bytes red,
// green, blue, alpha, as a canvas takes them), black at first. Pixels set
// outside it are clipped. It remembers the box of pixels set since it was last
// asked, so that a frame hands the canvas only what may have changed.
#pragma once

#include <cstdint>
#include <vector>

#include "core/Rect.h"
#include "engine/PixelSink.h"

namespace zirvo::web {

class RgbaScreen final : public PixelSink {
 public:
  // REQUIRES: 1 <= width, height <= 16384.
  RgbaScreen(std::int32_t width, std::int32_t height);

  void SetPixel(std::int32_t x, std::int32_t y, COLORREF colour) override {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
      return;
    pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
            static_cast<std::size_t>(x)] = Rgba(colour);
    changed_.Add(x, y);
  }

  // COLORREF 0x00BBGGRR, stored little-endian, is already red, green, blue:
  // only the alpha byte is missing.
  static std::uint32_t Rgba(COLORREF colour) { return colour | 0xFF000000u; }

  const std::uint32_t* Pixels() const { return pixels_.data(); }
  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }
  // The box set since the last call (empty when none), and forgets it.
  Rect TakeChanged() { return changed_.Take(); }

 private:
  std::int32_t width_;
  std::int32_t height_;
  std::vector<std::uint32_t> pixels_;
  ChangedBox changed_;
};

}  // namespace zirvo::web
