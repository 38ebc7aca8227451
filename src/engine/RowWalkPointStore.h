// The straightforward store: an insert walks its row from the first node. Kept
// as the reference the show's store is checked against.
#pragma once

#include <cstdint>

#include "engine/NodePool.h"
#include "engine/PointStore.h"

namespace zirvo {

class RowWalkPointStore final : public PointStore, private NodePool {
 public:
  // capacity 0 means 65536 nodes. Never fails: without memory it is inert.
  RowWalkPointStore(std::int32_t columns, std::int32_t rows, std::uint32_t nodeCount,
                    PoolMemory& memory = DefaultPoolMemory())
      : NodePool(columns, rows, nodeCount, memory) {}

  std::int32_t InsertPoint(std::int32_t previous, ScreenPoint& point) override;
  std::int32_t RemovePoint(std::int32_t index, ScreenPoint& out) override;
  int GetPoint(std::int32_t index, ScreenPoint& out) const override;
  bool IsInert() const override { return nodes == nullptr; }
  std::uint32_t Capacity() const override { return capacity; }
  std::uint32_t FreeCount() const override { return freeCount; }
  std::size_t MemoryBytes() const override { return PoolBytes(); }

  using NodePool::AllocNode;
  using NodePool::FreeNode;

  // Read access for tests that check the invariants.
  const PointNode* Nodes() const { return nodes; }
  const std::int32_t* RowHeads() const { return rowHeads; }
  std::int32_t Width() const { return width; }
  std::int32_t Height() const { return height; }
};

}  // namespace zirvo
