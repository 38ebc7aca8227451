#include "image/Framebuffer.h"

#include <algorithm>
#include <cstdint>
#include <new>

#include "engine/HugePages.h"

namespace zirvo {

namespace {

std::size_t CellCount(std::int32_t width, std::int32_t height) {
  if (width <= 0 || height <= 0)
    return 0;
  const std::uint64_t count =
      static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
  // The block is rounded up to whole 2 MiB pages: room for that too.
  constexpr std::size_t kRounding = std::size_t{2} << 20;
  if (count > (SIZE_MAX - kRounding) / sizeof(Framebuffer::Cell))
    throw std::bad_array_new_length();
  return static_cast<std::size_t>(count);
}

}  // namespace

// A screen's cells are visited at random by the drawing thread: on 2 MiB pages
// the processor's address cache covers a whole 1920 x 1080 screen.
HugePageBlock<Framebuffer::Cell> Framebuffer::AllocateCells(std::size_t count) {
  if (count == 0)
    return nullptr;
  HugePageBlock<Cell> cells = AllocateHugePageBlock<Cell>(count);
  if (!cells)
    throw std::bad_alloc();
  for (std::size_t i = 0; i < count; ++i)
    new (cells.get() + i) Cell(kBlack);
  return cells;
}

Framebuffer::Framebuffer(std::int32_t width, std::int32_t height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      cellCount_(CellCount(width, height)),
      cells_(AllocateCells(cellCount_)) {
  DescribeCells(cells_.get(), width_, height_, sizeof(Cell));
}

void Framebuffer::Fill(COLORREF colour) {
  for (std::size_t i = 0; i < cellCount_; ++i)
    cells_[i].store(colour, std::memory_order_relaxed);
}

std::uint64_t Framebuffer::CountNotBlack() const {
  std::uint64_t count = 0;
  for (std::size_t i = 0; i < cellCount_; ++i) {
    if (cells_[i].load(std::memory_order_relaxed) != kBlack)
      ++count;
  }
  return count;
}

}  // namespace zirvo
