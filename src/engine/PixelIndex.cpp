#include "engine/PixelIndex.h"

#include <algorithm>
#include <new>

namespace zirvo {

std::unique_ptr<PixelIndex> PixelIndex::Make(std::int32_t width, std::int32_t height,
                                             PixelIndexKind kind) {
  if (width < 1 || height < 1 || kind == PixelIndexKind::kNone)
    return nullptr;
  std::unique_ptr<PixelIndex> index(new (std::nothrow) PixelIndex);
  if (!index)
    return nullptr;
  const std::uint64_t pixels = std::uint64_t(width) * std::uint64_t(height);
  index->pixels_ = pixels;
  const bool dense = kind == PixelIndexKind::kDense ||
                     (kind == PixelIndexKind::kAuto && pixels <= kDenseMaxPixels);
  if (dense && !index->AllocateDense(pixels) && kind == PixelIndexKind::kDense)
    return nullptr;
  // Without room for the array, a hash table that grows with the points.
  return index;
}

bool PixelIndex::AllocateDense(std::uint64_t pixels) {
  if (pixels > SIZE_MAX / sizeof(std::int32_t))
    return false;
  dense_ = AllocateHugePageBlock<std::int32_t>(static_cast<std::size_t>(pixels));
  if (!dense_)
    return false;
  std::fill_n(dense_.get(), pixels, -1);
  denseBytes_ = pixels * sizeof(std::int32_t);
  return true;
}

std::size_t PixelIndex::MemoryBytes() const {
  return dense_ ? denseBytes_ : hashed_.MemoryBytes();
}

// Pixel numbers are below 2^62, never WordHash::kNoKey.
std::int32_t PixelIndex::HashedNewestAt(std::uint64_t pixel) const {
  const std::uint64_t* node = hashed_.Find(pixel);
  return node == nullptr ? -1 : static_cast<std::int32_t>(*node);
}

bool PixelIndex::SetHashedNewest(std::uint64_t pixel, std::int32_t node) {
  if (node < 0) {
    hashed_.Erase(pixel);
    return true;
  }
  std::uint64_t* here = hashed_.FindOrInsert(pixel, 0);
  if (here == nullptr)
    return false;
  *here = static_cast<std::uint64_t>(node);
  return true;
}

}  // namespace zirvo
