// What the indexed point store keeps beside its row lists so that neither an
// insert nor a removal has to look at other nodes to decide: for every occupied
// pixel its run (the oldest and the newest node on it), and per row levels of
// 64-way occupancy masks (a bit per pixel, a bit per non-empty 64-pixel word,
// ...) that find the nearest occupied column on either side in a few word
// operations, however wide the row.
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

// The nodes on one pixel, oldest and newest; both -1 when it holds none.
struct PixelRun {
  std::int32_t oldest = -1;
  std::int32_t newest = -1;
  bool IsEmpty() const { return newest < 0; }
};

// Where a new point goes in its row: after `after` (-1: at the front) and
// before `before` (-1: at the end).
struct RowPlace {
  std::int32_t after = -1;
  std::int32_t before = -1;
};

class PixelIndex {
 public:
  // Up to this many pixels (3840 x 2160 and a little more) the dense arrays
  // take at most 66 MiB.
  static constexpr std::uint64_t kDenseMaxPixels = std::uint64_t{1} << 23;

  virtual ~PixelIndex() = default;

  virtual PixelRun RunAt(std::int32_t x, std::int32_t y) const = 0;
  // The place of a new point on (x, y): after the newest node on its pixel or
  // on the nearest occupied pixel to its left, before the oldest node on the
  // nearest occupied pixel to its right.
  virtual RowPlace PlaceFor(std::int32_t x, std::int32_t y) const = 0;
  // (x, y) now holds `run` (an empty run empties it). False when memory for it
  // could not be had; the index is then unusable and must be dropped.
  virtual bool SetRun(std::int32_t x, std::int32_t y, PixelRun run) = 0;
  // A hint that (x, y) will be looked at soon.
  virtual void Prefetch(std::int32_t x, std::int32_t y) const = 0;

  virtual std::size_t MemoryBytes() const = 0;
};

// An index for a width x height screen (both at least 1), or null for kNone or
// when its memory cannot be had. Never throws.
std::unique_ptr<PixelIndex> MakePixelIndex(std::int32_t width, std::int32_t height,
                                           PixelIndexKind kind);

}  // namespace zirvo
