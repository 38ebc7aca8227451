// What the indexed point store keeps beside its row lists so that an insert
// finds its place without walking the row: for every occupied pixel the newest
// node on it, and per row levels of 64-way occupancy masks (a bit per pixel,
// a bit per non-empty 64-pixel word, ...) that find the nearest occupied
// column to the left in a few word operations, however wide the row.
//
// Two shapes: dense arrays for screens of ordinary size, and hash tables of
// occupied pixels and non-empty mask words, whose memory follows the stored
// points rather than the screen's area (a 100000 x 100000 virtual screen).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace zirvo {

enum class PixelIndexKind {
  kAuto,    // dense up to kDenseMaxPixels, hashed beyond
  kDense,   // arrays over the whole screen
  kHashed,  // hash tables of occupied pixels and mask words
  kNone,    // no index: the store walks its rows
};

class PixelIndex {
 public:
  // Up to this many pixels (4096 x 4096) the dense arrays take at most 68 MiB.
  static constexpr std::uint64_t kDenseMaxPixels = std::uint64_t{1} << 24;

  virtual ~PixelIndex() = default;

  // The newest node on pixel (x, y), -1 when the pixel holds none.
  virtual std::int32_t Newest(std::int32_t x, std::int32_t y) const = 0;
  // The newest node on the nearest occupied pixel of row y left of column x,
  // -1 when there is none.
  virtual std::int32_t NewestLeftOf(std::int32_t x, std::int32_t y) const = 0;
  // Makes `node` the newest on (x, y). False when memory for it could not be
  // had; the index is then unusable and must be dropped.
  virtual bool SetNewest(std::int32_t x, std::int32_t y, std::int32_t node) = 0;
  // (x, y) holds no node any more.
  virtual void ClearPixel(std::int32_t x, std::int32_t y) = 0;

  virtual std::size_t MemoryBytes() const = 0;
};

// An index for a width x height screen (both at least 1), or null for kNone or
// when its memory cannot be had. Never throws.
std::unique_ptr<PixelIndex> MakePixelIndex(std::int32_t width, std::int32_t height,
                                           PixelIndexKind kind);

}  // namespace zirvo
