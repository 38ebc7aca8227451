// What every point store keeps the same way, node for node: the pool of nodes
// with its free list and growth by 2048, and the head of each row's list. A
// store whose memory could not be had is inert (`nodes` null) and stays so.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/PointStore.h"

namespace zirvo {

class NodePool {
 public:
  // capacity 0 means 65536 nodes. A pool or row table that cannot be had, or
  // whose size in bytes cannot be represented, leaves the pool inert.
  NodePool(std::int32_t width, std::int32_t height, std::uint32_t capacity, PoolMemory& memory);
  ~NodePool();
  NodePool(const NodePool&) = delete;
  NodePool& operator=(const NodePool&) = delete;

  // A free node (the one freed last first); the pool grows by growBy nodes when
  // none is left. -1 when inert or when growth fails (then nothing changes).
  std::int32_t AllocNode();
  // Puts a node in use back on the free list; a free node is left alone.
  void FreeNode(std::int32_t index);
  // The part of an insert every store shares: refuses a point outside the
  // virtual screen or without a node (point.x = -1, result -1); otherwise fills
  // a node with the point, links it behind `previous` and returns it. The row
  // links are left for the store to set.
  std::int32_t TakeNodeFor(std::int32_t previous, ScreenPoint& point);
  // Bytes of the pool and the row heads.
  std::size_t PoolBytes() const;

 protected:
  std::int32_t width = 0;
  std::int32_t height = 0;
  COLORREF background = kBlack;
  std::uint32_t capacity = 0;
  std::uint32_t growBy = PointStore::kGrowBy;
  std::uint32_t freeCount = 0;
  std::int32_t freeHead = -1;
  PointNode* nodes = nullptr;
  std::int32_t* rowHeads = nullptr;

 private:
  PoolMemory& memory_;
};

}  // namespace zirvo
