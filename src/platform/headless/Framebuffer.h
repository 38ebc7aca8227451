// An in-memory screen of COLORREF pixels, black to begin with. Pixels outside
// it are clipped, never written. Each cell is a relaxed atomic word, so one
// thread may draw while another reads (a presenter, a test) without a data
// race; on the usual machines such a store is a plain move.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "core/Colour.h"
#include "engine/DrawingPass.h"

namespace zirvo {

class Framebuffer final : public PixelSink {
 public:
  Framebuffer(std::int32_t width, std::int32_t height);

  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }
  bool Contains(std::int32_t x, std::int32_t y) const {
    return x >= 0 && y >= 0 && x < width_ && y < height_;
  }

  // Counted in PixelsSet: the show's pixels.
  void SetPixel(std::int32_t x, std::int32_t y, COLORREF colour) override;
  // Not counted: what the window itself paints (the banner).
  void Store(std::int32_t x, std::int32_t y, COLORREF colour);
  // Black outside the screen.
  COLORREF GetPixel(std::int32_t x, std::int32_t y) const;
  void Fill(COLORREF colour);

  // SetPixel calls so far, clipped ones included (one writer at a time).
  std::uint64_t PixelsSet() const { return pixelsSet_.load(std::memory_order_relaxed); }
  std::uint64_t CountNotBlack() const;

 private:
  std::int32_t width_;
  std::int32_t height_;
  std::vector<std::atomic<std::uint32_t>> cells_;
  std::atomic<std::uint64_t> pixelsSet_{0};
};

}  // namespace zirvo
