// An in-memory screen of COLORREF pixels, black to begin with. Pixels outside
// it are clipped, never written. Each cell is a relaxed atomic word, so one
// thread may draw while another reads (a presenter, a test) without a data
// race; on the usual machines such a store is a plain move.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/Colour.h"
#include "engine/HugePages.h"
#include "engine/PixelSink.h"

namespace zirvo {

class Framebuffer final : public PixelSink {
 public:
  using Cell = std::atomic<std::uint32_t>;

  Framebuffer(std::int32_t width, std::int32_t height);

  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }
  bool Contains(std::int32_t x, std::int32_t y) const {
    return x >= 0 && y >= 0 && x < width_ && y < height_;
  }

  // Counted in PixelsSet: the show's pixels.
  void SetPixel(std::int32_t x, std::int32_t y, COLORREF colour) override {
    // A single writer counts, so load and store suffice (no locked add per pixel).
    pixelsSet_.store(pixelsSet_.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
    Store(x, y, colour);
  }
  // Not counted: what the window itself paints (the banner).
  void Store(std::int32_t x, std::int32_t y, COLORREF colour) {
    if (Contains(x, y))
      CellAt(x, y).store(colour, std::memory_order_relaxed);
  }
  // Black outside the screen.
  COLORREF GetPixel(std::int32_t x, std::int32_t y) const {
    return Contains(x, y) ? CellAt(x, y).load(std::memory_order_relaxed) : kBlack;
  }
  void Fill(COLORREF colour);

  // Row y's Width() cells, 0 <= y < Height(), for a reader that walks a row.
  const Cell* Row(std::int32_t y) const {
    return cells_.get() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
  }

  // SetPixel calls so far, clipped ones included (one writer at a time).
  std::uint64_t PixelsSet() const { return pixelsSet_.load(std::memory_order_relaxed); }
  std::uint64_t CountNotBlack() const;

 private:
  Cell& CellAt(std::int32_t x, std::int32_t y) const {
    return cells_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                  static_cast<std::size_t>(x)];
  }
  // The cells are trivially destructible: the block only gives the memory back.
  static HugePageBlock<Cell> AllocateCells(std::size_t count);

  std::int32_t width_;
  std::int32_t height_;
  std::size_t cellCount_;
  HugePageBlock<Cell> cells_;
  std::atomic<std::uint64_t> pixelsSet_{0};
};

}  // namespace zirvo
