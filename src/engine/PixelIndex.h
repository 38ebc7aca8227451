// What the indexed point store keeps beside its pool: for every occupied pixel
// the newest node on it. The nodes on one pixel are linked among themselves,
// so that is all an insert needs to find its place, and all a removal needs
// to keep up to date.
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

  // The newest node on (x, y), or -1 when it holds none.
  // REQUIRES (here and below): (x, y) lies on the screen the index was made for.
  std::int32_t NewestAt(std::int32_t x, std::int32_t y) const {
    return dense_ ? dense_[PixelAt(x, y)] : HashedNewestAt(x, y);
  }
  // (x, y)'s newest node is now `node` (-1 empties it). False when memory for
  // it could not be had; the index is then unusable and must be dropped.
  // Replacing the node of an occupied pixel, or emptying one, never fails.
  bool SetNewest(std::int32_t x, std::int32_t y, std::int32_t node) {
    if (!dense_)
      return SetHashedNewest(x, y, node);
    dense_[PixelAt(x, y)] = node;
    return true;
  }
  // A hint that (x, y) will be looked at soon.
  void Prefetch(std::int32_t x, std::int32_t y) const {
    if (dense_)
      __builtin_prefetch(&dense_[PixelAt(x, y)], 1);
  }

  std::size_t MemoryBytes() const;

 private:
  PixelIndex() = default;
  bool AllocateDense(std::int32_t width, std::int32_t height);
  // REQUIRES: (x, y) on the screen: 0 <= x < width, 0 <= y < height.
  std::size_t PixelAt(std::int32_t x, std::int32_t y) const {
    assert(x >= 0 && x < width_ && y >= 0 && y < height_);
    return std::size_t(y) * std::size_t(width_) + std::size_t(x);
  }
  std::int32_t HashedNewestAt(std::int32_t x, std::int32_t y) const;
  bool SetHashedNewest(std::int32_t x, std::int32_t y, std::int32_t node);

  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  HugePageBlock<std::int32_t> dense_;  // null: hashed
  std::size_t denseBytes_ = 0;
  WordHash hashed_;
};

}  // namespace zirvo
