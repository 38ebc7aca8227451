// The two shapes of a store node. Either holds one trail point with its
// colour, its trail's link (chainNext) and its links in a row or pixel list
// (rowPrev, rowNext). A free node says so, lies on the free list (chainNext)
// and keeps the rest of what it held: GetPoint shows it with x = -1 and the
// row and colour it had. A node never used holds row 0 and colour 0.
//
// PointNode keeps x and y and serves any virtual screen. PackedNode keeps the
// pixel's number, y * width + x, in one word: a fifth less memory, for screens
// of up to 2^31 pixels. A store reads and writes points through its layout's
// NodePlace, never the fields themselves.
#pragma once

#include <cstdint>

#include "core/ScreenPoint.h"

namespace zirvo {

struct PointNode {
  std::int32_t x;  // -1: free
  std::int32_t y;
  std::int32_t colour;
  std::int32_t rowPrev;
  std::int32_t rowNext;
  std::int32_t chainNext;  // in use: next newer point of the trail; free: next free node
};
static_assert(sizeof(PointNode) == 24, "a wide node is six 32-bit words");

struct PackedNode {
  std::int32_t pixel;  // y * width + x; the top bit set: free
  std::int32_t colour;
  std::int32_t rowPrev;
  std::int32_t rowNext;
  std::int32_t chainNext;
};
static_assert(sizeof(PackedNode) == 20, "a packed node is five 32-bit words");

// The number of the pixel (x, y), y * width + x, and back. The way back
// divides by a multiplication: an exact one for every number below 2^31.
class PixelNumbering {
 public:
  static constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 31;

  // Whether every pixel of a width x height screen has a number below
  // kMaxPixels (an empty or negative size has none to number).
  static bool Covers(std::int32_t width, std::int32_t height) {
    return std::uint64_t(width > 0 ? width : 0) * std::uint64_t(height > 0 ? height : 0) <=
           kMaxPixels;
  }

  PixelNumbering() = default;
  // REQUIRES: width >= 1.
  explicit PixelNumbering(std::int32_t width);

  std::uint64_t Number(std::int32_t x, std::int32_t y) const {
    return std::uint64_t(std::uint32_t(y)) * std::uint64_t(std::uint32_t(width_)) +
           std::uint32_t(x);
  }
  // REQUIRES: number < kMaxPixels.
  std::int32_t RowOf(std::uint32_t number) const {
    return static_cast<std::int32_t>((std::uint64_t{number} * multiplier_) >> shift_);
  }
  std::int32_t Width() const { return width_; }

 private:
  std::int32_t width_ = 1;
  // ceil(2^shift / width), with shift = 31 + ceil(log2(width)): numbers
  // below 2^31 then divide exactly, and their product stays below 2^64.
  std::uint64_t multiplier_ = std::uint64_t{1};
  unsigned shift_ = 0;
};

// How a store reads and writes the point of a node of each layout.
template <typename Node>
struct NodePlace;

template <>
struct NodePlace<PointNode> {
  static bool InUse(const PointNode& node) { return node.x >= 0; }
  static void MarkFree(PointNode& node) { node.x = -1; }
  static void MarkNeverUsed(PointNode& node) {
    node.x = -1;
    node.y = 0;
    node.colour = 0;
  }
  static void Put(PointNode& node, std::int32_t x, std::int32_t y, const PixelNumbering&) {
    node.x = x;
    node.y = y;
  }
  static void Get(const PointNode& node, ScreenPoint& out, const PixelNumbering&) {
    out.x = node.x;
    out.y = node.y;
  }
  // The key of the node's pixel in a store's pixel index: y * width + x.
  static std::uint64_t Key(const PointNode& node, const PixelNumbering& numbering) {
    return numbering.Number(node.x, node.y);
  }
};

template <>
struct NodePlace<PackedNode> {
  static constexpr std::int32_t kFree = INT32_MIN;

  static bool InUse(const PackedNode& node) { return node.pixel >= 0; }
  static void MarkFree(PackedNode& node) { node.pixel |= kFree; }
  static void MarkNeverUsed(PackedNode& node) {
    node.pixel = kFree;
    node.colour = 0;
  }
  // REQUIRES: (x, y) lies on a screen of at most kMaxPixels pixels.
  static void Put(PackedNode& node, std::int32_t x, std::int32_t y,
                  const PixelNumbering& numbering) {
    node.pixel = static_cast<std::int32_t>(numbering.Number(x, y));
  }
  static void Get(const PackedNode& node, ScreenPoint& out, const PixelNumbering& numbering) {
    const auto number = static_cast<std::uint32_t>(node.pixel & ~kFree);
    const std::int32_t y = numbering.RowOf(number);
    out.x = node.pixel < 0 ? -1 : static_cast<std::int32_t>(number) - y * numbering.Width();
    out.y = y;
  }
  static std::uint64_t Key(const PackedNode& node, const PixelNumbering&) {
    return static_cast<std::uint32_t>(node.pixel);
  }
};

}  // namespace zirvo
