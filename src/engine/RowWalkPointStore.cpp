#include "engine/RowWalkPointStore.h"

#include "engine/PoolSize.h"

namespace zirvo {

RowWalkPointStore::RowWalkPointStore(std::int32_t columns, std::int32_t rows,
                                     std::uint32_t nodeCount, PoolMemory& memory)
    : NodePool(columns, rows, nodeCount, memory) {
  if (IsInert())
    return;
  // A height of 0 still gets a (one-entry) table, so "null" only ever means failure.
  const auto headBytes = ArrayBytes<std::int32_t>(height > 0 ? std::uint64_t(height) : 1);
  rowHeads_ = headBytes ? static_cast<std::int32_t*>(memory_.Allocate(*headBytes)) : nullptr;
  if (rowHeads_ == nullptr) {
    MakeInert();
    return;
  }
  for (std::int32_t row = 0; row < height; ++row)
    rowHeads_[row] = -1;
}

RowWalkPointStore::~RowWalkPointStore() {
  if (rowHeads_ != nullptr)
    memory_.Release(rowHeads_);
}

std::size_t RowWalkPointStore::MemoryBytes() const {
  if (IsInert())
    return 0;
  return PoolBytes() + std::size_t(height > 0 ? height : 1) * sizeof(std::int32_t);
}

std::int32_t RowWalkPointStore::InsertPoint(std::int32_t previous, ScreenPoint& point) {
  const std::int32_t i = TakeNodeFor(previous, point);
  if (i < 0)
    return -1;
  PointNode& node = nodes[i];
  node.rowPrev = -1;
  node.rowNext = -1;

  std::int32_t& head = rowHeads_[point.y];
  if (head == -1) {
    head = i;
    return i;
  }
  // The new node goes before the first node with a greater x: after every node
  // on the same pixel, so a pixel's run stays oldest first.
  std::int32_t last = -1;
  for (std::int32_t g = head; g != -1; g = nodes[g].rowNext) {
    if (nodes[g].x > point.x) {
      const std::int32_t p = nodes[g].rowPrev;
      node.rowNext = g;
      nodes[g].rowPrev = i;
      node.rowPrev = p;
      if (p == -1) {
        head = i;
      } else {
        nodes[p].rowNext = i;
      }
      return i;
    }
    last = g;
  }
  node.rowPrev = last;
  nodes[last].rowNext = i;
  return i;
}

std::int32_t RowWalkPointStore::RemovePoint(std::int32_t index, ScreenPoint& out) {
  std::int32_t restore = static_cast<std::int32_t>(kBlack);
  if (!InUse(index)) {
    out.x = -1;
    return -1;
  }
  const PointNode n = nodes[index];
  const std::int32_t p = n.rowPrev;
  const std::int32_t q = n.rowNext;
  if (p != -1) {
    nodes[p].rowNext = q;
    if (nodes[p].x == n.x)
      restore = nodes[p].colour;
  } else {
    rowHeads_[n.y] = q;
  }
  if (q != -1)
    nodes[q].rowPrev = p;

  Repaint(n, q != -1 && nodes[q].x == n.x, restore, out);
  FreeNode(index);
  return n.chainNext;
}

std::unique_ptr<PointStore> MakeRowWalkPointStore(std::int32_t width, std::int32_t height,
                                                  std::uint32_t capacity, PoolMemory& memory) {
  return std::make_unique<RowWalkPointStore>(width, height, capacity, memory);
}

}  // namespace zirvo
