// What the indexed point store keeps beside its pool: for every occupied pixel
// the newest node on it, under the pixel's number y * width + x. The nodes on
// one pixel are linked among themselves, so that is all an insert needs to find
// its place, and all a removal needs to keep up to date.
//
// Two shapes: a dense array for screens of ordinary size, and a hash table of
// occupied pixels whose memory follows the stored points rather than the
// screen's area (a 100000 x 100000 virtual screen). The dense lookups are
// inline: they lie on the path of every point.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/HugePages.h"
#include "engine/WordHash.h"

namespace zirvo {

enum class PixelIndexKind {
  kAuto,    // dense up to kDenseMaxPixels, hashed beyond
  kDense,   // an array over the whole screen
  kHashed,  // a hash table of occupied pixels
  kNone,    // no index: the store searches its pool
};

class PixelIndex {
 public:
  // Up to this many pixels (3840 x 2160 and a little more) the dense array
  // takes at most 32 MiB.
  static constexpr std::uint64_t kDenseMaxPixels = std::uint64_t{1} << 23;

  // An index for a width x height screen (both at least 1), or null for kNone
  // or when its memory cannot be had. Never throws.
  static std::unique_ptr<PixelIndex> Make(std::int32_t width, std::int32_t height,
                                          PixelIndexKind kind);

  // The newest node on pixel number `pixel`, or -1 when it holds none.
  // REQUIRES (here and below): pixel < width * height of the screen the index
  // was made for.
  std::int32_t NewestAt(std::uint64_t pixel) const {
    return dense_ ? dense_[Cell(pixel)] : HashedNewestAt(pixel);
  }
  // The pixel's newest node is now `node` (-1 empties it). False when memory
  // for it could not be had; the index is then unusable and must be dropped.
  // Replacing the node of an occupied pixel, or emptying one, never fails.
  bool SetNewest(std::uint64_t pixel, std::int32_t node) {
    if (!dense_)
      return SetHashedNewest(pixel, node);
    dense_[Cell(pixel)] = node;
    return true;
  }
  // The dense array's cell of `pixel`, for a caller that picks where to write
  // without a branch; null for the hash table.
  std::int32_t* DenseCell(std::uint64_t pixel) { return dense_ ? &dense_[Cell(pixel)] : nullptr; }
  // A hint that `pixel` will be looked at soon.
  void Prefetch(std::uint64_t pixel) const {
    if (dense_)
      __builtin_prefetch(&dense_[Cell(pixel)], 1);
  }

  std::size_t MemoryBytes() const;

 private:
  PixelIndex() = default;
  bool AllocateDense(std::uint64_t pixels);
  // REQUIRES: pixel < width * height.
  std::size_t Cell(std::uint64_t pixel) const {
    assert(pixel < pixels_);
    return static_cast<std::size_t>(pixel);
  }
  std::int32_t HashedNewestAt(std::uint64_t pixel) const;
  bool SetHashedNewest(std::uint64_t pixel, std::int32_t node);

  std::uint64_t pixels_ = 0;
  HugePageBlock<std::int32_t> dense_;  // null: hashed
  std::size_t denseBytes_ = 0;
  WordHash hashed_;
};

}  // namespace zirvo
