// The show's point store. It keeps the same pool, free list and row lists as
// RowWalkPointStore, node for node, and so gives the same results, indices and
// repaints; beside them a PixelIndex tells an insert where its node goes (after
// the newest node on its pixel, or on the nearest occupied pixel to its left)
// without walking the row.
//
// When the index cannot get memory (at construction, or when its hash tables
// must grow) the store drops it and walks its rows from then on: slower, never
// different.
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
  int GetPoint(std::int32_t index, ScreenPoint& out) const override;
  bool IsInert() const override { return nodes == nullptr; }
  std::uint32_t Capacity() const override { return capacity; }
  std::uint32_t FreeCount() const override { return freeCount; }
  std::size_t MemoryBytes() const override;

  using NodePool::AllocNode;
  using NodePool::FreeNode;

  // False once the store walks its rows (no index could be had or kept).
  bool IsIndexed() const { return index_ != nullptr; }
  const PointNode* Nodes() const { return nodes; }
  const std::int32_t* RowHeads() const { return rowHeads; }

 private:
  std::int32_t WalkRow(std::int32_t x, std::int32_t y) const;
  void PrefetchTrailAhead(std::int32_t next) const;
  void PrefetchNextInsert(const PointNode& last, const ScreenPoint& point) const;

  std::unique_ptr<PixelIndex> index_;
};

}  // namespace zirvo
