// The show's point store. It keeps the same pool and free list as
// RowWalkPointStore, node for node, and gives the same results, indices and
// repaints. Of each row list it keeps only what a removal looks at: the links
// between points on one pixel (a run, oldest first). Beside the pool a
// PixelIndex names the newest node on each occupied pixel, so an insert links
// its node behind that one and never walks, and a removal touches only the
// node itself and its two neighbours on the pixel.
//
// When the index cannot get memory (at construction, or when its hash table
// must grow) the store drops it and from then on searches its pool for a
// pixel's newest node: much slower, never different.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/NodePool.h"
#include "engine/PixelIndex.h"
#include "engine/PointStore.h"

namespace zirvo {

class IndexedPointStore final : public PointStore, private NodePool {
 public:
  // capacity 0 means 65536 nodes. Never fails: without memory it is inert.
  IndexedPointStore(std::int32_t width, std::int32_t height, std::uint32_t capacity,
                    PoolMemory& memory = DefaultPoolMemory(),
                    PixelIndexKind indexKind = PixelIndexKind::kAuto);

  std::int32_t InsertPoint(std::int32_t previous, ScreenPoint& point) override;
  std::int32_t RemovePoint(std::int32_t index, ScreenPoint& out) override;
  int GetPoint(std::int32_t index, ScreenPoint& out) const override {
    return NodePool::GetPoint(index, out);
  }
  void PrefetchTurn(std::int32_t x, std::int32_t y, std::int32_t oldest,
                    ScreenPoint& repaint) override;
  bool IsInert() const override { return NodePool::IsInert(); }
  std::uint32_t Capacity() const override { return capacity; }
  std::uint32_t FreeCount() const override { return freeCount; }
  std::size_t MemoryBytes() const override;

  using NodePool::AllocNode;
  using NodePool::FreeNode;

  // False once the store searches its pool (no index could be had or kept).
  bool IsIndexed() const { return index_ != nullptr; }
  const PointNode* Nodes() const { return nodes; }

 private:
  std::int32_t SearchPool(std::int32_t x, std::int32_t y, std::int32_t inserting) const;

  std::unique_ptr<PixelIndex> index_;
  // The turns hinted at last (PrefetchTurn), the oldest at hintCount_.
  struct Hint {
    std::int32_t x = -1;  // the insert's pixel; -1: none
    std::int32_t y = 0;
    std::int32_t oldest = -1;  // the node to remove; -1: none
  };
  // Half the engine's look-ahead: as long for the lines fetched first to
  // arrive as for those they name.
  static constexpr std::uint32_t kHintDelay = 4;
  Hint hinted_[kHintDelay];
  std::uint32_t hintCount_ = 0;
};

}  // namespace zirvo
