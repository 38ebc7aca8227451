#include "platform/headless/Framebuffer.h"

#include <algorithm>

namespace zirvo {

namespace {

std::size_t CellCount(std::int32_t width, std::int32_t height) {
  if (width <= 0 || height <= 0)
    return 0;
  return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

}  // namespace

Framebuffer::Framebuffer(std::int32_t width, std::int32_t height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), cells_(CellCount(width, height)) {
  Fill(kBlack);
}

void Framebuffer::SetPixel(std::int32_t x, std::int32_t y, COLORREF colour) {
  // A single writer counts, so load and store suffice (no locked add per pixel).
  pixelsSet_.store(pixelsSet_.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
  Store(x, y, colour);
}

void Framebuffer::Store(std::int32_t x, std::int32_t y, COLORREF colour) {
  if (!Contains(x, y))
    return;
  cells_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
         static_cast<std::size_t>(x)]
      .store(colour, std::memory_order_relaxed);
}

COLORREF Framebuffer::GetPixel(std::int32_t x, std::int32_t y) const {
  if (!Contains(x, y))
    return kBlack;
  return cells_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                static_cast<std::size_t>(x)]
      .load(std::memory_order_relaxed);
}

void Framebuffer::Fill(COLORREF colour) {
  for (auto& cell : cells_)
    cell.store(colour, std::memory_order_relaxed);
}

std::uint64_t Framebuffer::CountNotBlack() const {
  std::uint64_t count = 0;
  for (const auto& cell : cells_) {
    if (cell.load(std::memory_order_relaxed) != kBlack)
      ++count;
  }
  return count;
}

}  // namespace zirvo
