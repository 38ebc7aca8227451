// The show's point store. It keeps the same pool and free list as
// RowWalkPointStore, node for node, and gives the same results, indices and
// repaints. Of each row list it keeps only what a removal looks at: the links
// between points on one pixel (a run, oldest first). Beside the pool a
// PixelIndex names the newest node on each occupied pixel, so an insert links
// its node behind that one and never walks, and a removal touches only the
// node itself and its two neighbours on the pixel.
//
// IndexedPointStore holds packed nodes (a pixel number instead of x and y) and
// serves screens of up to 2^31 pixels; WideIndexedPointStore holds x and y and
// serves any screen. MakePointStore picks the one that fits.
//
// When the index cannot get memory (at construction, or when its hash table
// must grow) the store drops it and from then on searches its pool for a
// pixel's newest node: much slower, never different.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/NodeLayouts.h"
#include "engine/NodePool.h"
#include "engine/PixelIndex.h"
#include "engine/PointStore.h"

namespace zirvo {

template <typename Node>
class IndexedStore final : public PointStore, private NodePool<Node> {
  using Pool = NodePool<Node>;
  using Place = typename Pool::Place;

 public:
  // capacity 0 means 65536 nodes. Never fails: without memory, or with packed
  // nodes on a screen of more than 2^31 pixels, it is inert.
  IndexedStore(std::int32_t width, std::int32_t height, std::uint32_t capacity,
               PoolMemory& memory = DefaultPoolMemory(),
               PixelIndexKind indexKind = PixelIndexKind::kAuto);

  std::int32_t InsertPoint(std::int32_t previous, ScreenPoint& point) override;
  std::int32_t RemovePoint(std::int32_t index, ScreenPoint& out) override;
  int GetPoint(std::int32_t index, ScreenPoint& out) const override {
    return Pool::GetPoint(index, out);
  }
  void PrefetchTurn(std::int32_t x, std::int32_t y, std::int32_t oldest,
                    ScreenPoint& repaint) override;
  bool IsInert() const override { return Pool::IsInert(); }
  std::uint32_t Capacity() const override { return capacity; }
  std::uint32_t FreeCount() const override { return freeCount; }
  std::size_t MemoryBytes() const override;

  using Pool::AllocNode;
  using Pool::FreeNode;

  // False once the store searches its pool (no index could be had or kept).
  bool IsIndexed() const { return index_ != nullptr; }
  const Node* Nodes() const { return nodes; }

 private:
  using Pool::capacity;
  using Pool::freeCount;
  using Pool::nodes;
  using Pool::numbering;

  std::uint64_t PixelOf(const Node& node) const { return Place::Key(node, numbering); }
  std::int32_t SearchPool(std::uint64_t pixel, std::int32_t inserting) const;

  std::unique_ptr<PixelIndex> index_;
  // The turns hinted at last (PrefetchTurn), the oldest at hintCount_.
  struct Hint {
    std::int64_t pixel = -1;   // the insert's pixel number; -1: none
    std::int32_t oldest = -1;  // the node to remove; -1: none
  };
  // Half the engine's look-ahead: as long for the lines fetched first to
  // arrive as for those they name.
  static constexpr std::uint32_t kHintDelay = 4;
  Hint hinted_[kHintDelay];
  std::uint32_t hintCount_ = 0;
};

using IndexedPointStore = IndexedStore<PackedNode>;
using WideIndexedPointStore = IndexedStore<PointNode>;

extern template class IndexedStore<PackedNode>;
extern template class IndexedStore<PointNode>;

}  // namespace zirvo
