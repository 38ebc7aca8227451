// The straightforward store: each row keeps a list of its points sorted by
// column (a pixel's points oldest first), and an insert walks its row from the
// first node. Kept as the reference the show's store is checked against.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/NodePool.h"
#include "engine/PointStore.h"

namespace zirvo {

class RowWalkPointStore final : public PointStore, private NodePool<PointNode> {
 public:
  // capacity 0 means 65536 nodes. Never fails: without memory for the pool or
  // the row table it is inert.
  RowWalkPointStore(std::int32_t columns, std::int32_t rows, std::uint32_t nodeCount,
                    PoolMemory& memory = DefaultPoolMemory());
  ~RowWalkPointStore() override;

  std::int32_t InsertPoint(std::int32_t previous, ScreenPoint& point) override;
  std::int32_t RemovePoint(std::int32_t index, ScreenPoint& out) override;
  int GetPoint(std::int32_t index, ScreenPoint& out) const override {
    return NodePool::GetPoint(index, out);
  }
  bool IsInert() const override { return NodePool::IsInert(); }
  std::uint32_t Capacity() const override { return capacity; }
  std::uint32_t FreeCount() const override { return freeCount; }
  std::size_t MemoryBytes() const override;

  using NodePool::AllocNode;
  using NodePool::FreeNode;

  // Read access for tests that check the invariants.
  const PointNode* Nodes() const { return nodes; }
  const std::int32_t* RowHeads() const { return rowHeads_; }
  std::int32_t Width() const { return width; }
  std::int32_t Height() const { return height; }

 private:
  // The first node of each row, -1 for an empty row.
  std::int32_t* rowHeads_ = nullptr;
};

// The reference store, made as LoadScene makes the show's (a StoreMaker).
std::unique_ptr<PointStore> MakeRowWalkPointStore(std::int32_t width, std::int32_t height,
                                                  std::uint32_t capacity, PoolMemory& memory);

}  // namespace zirvo
