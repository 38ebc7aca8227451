#include "platform/headless/Framebuffer.h"

#include <algorithm>
#include <cstdint>
#include <new>

#include "engine/HugePages.h"

namespace zirvo {

namespace {

// A screen's cells are visited at random by the drawing thread: on 2 MiB pages
// the processor's address cache covers a whole 1920 x 1080 screen.
constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Rows of small screens start on a cache line all the same.
constexpr std::size_t kLineAlignment = 64;

std::size_t CellCount(std::int32_t width, std::int32_t height) {
  if (width <= 0 || height <= 0)
    return 0;
  const std::uint64_t count =
      static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
  if (count > (SIZE_MAX - kHugePage) / sizeof(Framebuffer::Cell))
    throw std::bad_array_new_length();
  return static_cast<std::size_t>(count);
}

}  // namespace

void Framebuffer::CellsRelease::operator()(Cell* cells) const {
  // The cells are trivially destructible: only the memory goes back.
  ::operator delete (static_cast<void*>(cells), std::align_val_t{alignment});
}

std::unique_ptr<Framebuffer::Cell[], Framebuffer::CellsRelease> Framebuffer::AllocateCells(
    std::size_t count) {
  if (count == 0)
    return {nullptr, CellsRelease{}};
  std::size_t bytes = count * sizeof(Cell);
  CellsRelease release{kLineAlignment};
  if (bytes >= kHugePage) {
    // Whole huge pages, so that none of the cells is left on small ones.
    release.alignment = kHugePage;
    bytes = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  }
  void* block = ::operator new (bytes, std::align_val_t{release.alignment});
  // Before the first touch: a page already faulted in stays a small one.
  AdviseHugePages(block, bytes);
  Cell* cells = static_cast<Cell*>(block);
  for (std::size_t i = 0; i < count; ++i)
    new (cells + i) Cell(kBlack);
  return {cells, release};
}

Framebuffer::Framebuffer(std::int32_t width, std::int32_t height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      cellCount_(CellCount(width, height)),
      cells_(AllocateCells(cellCount_)) {}

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
