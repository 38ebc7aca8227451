// The straightforward store: an insert walks its row from the first node.
#include <cstring>

#include "engine/PointStore.h"
#include "engine/PoolSize.h"

namespace zirvo {

RowWalkPointStore::RowWalkPointStore(std::int32_t width_, std::int32_t height_,
                                     std::uint32_t capacity_, PoolMemory& memory)
    : memory_(memory) {
  if (capacity_ == 0)
    capacity_ = kDefaultCapacity;
  const auto poolBytes = ArrayBytes<PointNode>(capacity_);
  if (!poolBytes || capacity_ > kMaxPoolNodes || height_ < 0)
    return;  // inert
  nodes = static_cast<PointNode*>(memory_.Allocate(*poolBytes));
  if (nodes == nullptr)
    return;
  // A height of 0 still gets a (one-entry) table, so "null" only ever means failure.
  const auto headBytes = ArrayBytes<std::int32_t>(height_ > 0 ? std::uint64_t(height_) : 1);
  rowHeads = headBytes ? static_cast<std::int32_t*>(memory_.Allocate(*headBytes)) : nullptr;
  if (rowHeads == nullptr) {
    memory_.Release(nodes);
    nodes = nullptr;
    return;
  }
  width = width_;
  height = height_;
  capacity = capacity_;
  background = kBlack;
  growBy = kGrowBy;
  freeCount = capacity_;
  freeHead = 0;
  for (std::uint32_t i = 0; i < capacity_; ++i) {
    nodes[i].x = -1;
    nodes[i].chainNext = i + 1 < capacity_ ? static_cast<std::int32_t>(i + 1) : -1;
  }
  for (std::int32_t row = 0; row < height_; ++row)
    rowHeads[row] = -1;
}

RowWalkPointStore::~RowWalkPointStore() {
  if (nodes == nullptr)
    return;
  memory_.Release(rowHeads);
  memory_.Release(nodes);
}

std::size_t RowWalkPointStore::MemoryBytes() const {
  if (nodes == nullptr)
    return 0;
  return std::size_t{capacity} * sizeof(PointNode) +
         std::size_t(height > 0 ? height : 1) * sizeof(std::int32_t);
}

std::int32_t RowWalkPointStore::AllocNode() {
  if (nodes == nullptr)
    return -1;
  if (freeCount == 0) {
    const std::uint64_t oldCount = capacity;
    const std::uint64_t newCount = oldCount + growBy;
    const auto bytes = ArrayBytes<PointNode>(newCount);
    if (!bytes || newCount > kMaxPoolNodes)
      return -1;
    auto* grown = static_cast<PointNode*>(memory_.Resize(nodes, *bytes));
    if (grown == nullptr)
      return -1;  // the pool and every field stay as they were
    nodes = grown;
    capacity = static_cast<std::uint32_t>(newCount);
    freeCount = growBy;
    for (std::uint64_t i = oldCount; i < newCount; ++i) {
      nodes[i].x = -1;
      nodes[i].chainNext = i + 1 < newCount ? static_cast<std::int32_t>(i + 1) : -1;
    }
    freeHead = static_cast<std::int32_t>(oldCount);
  }
  const std::int32_t i = freeHead;
  freeHead = nodes[i].chainNext;
  --freeCount;
  return i;
}

void RowWalkPointStore::FreeNode(std::int32_t index) {
  if (nodes == nullptr || nodes[index].x < 0)
    return;
  nodes[index].x = -1;
  nodes[index].chainNext = freeHead;
  freeHead = index;
  ++freeCount;
}

std::int32_t RowWalkPointStore::InsertPoint(std::int32_t previous, ScreenPoint& point) {
  if (nodes == nullptr || point.x < 0 || point.x >= width || point.y < 0 || point.y >= height) {
    point.x = -1;
    return -1;
  }
  const std::int32_t i = AllocNode();
  if (i < 0) {
    point.x = -1;
    return -1;
  }
  PointNode& node = nodes[i];
  node.x = point.x;
  node.y = point.y;
  node.colour = static_cast<std::int32_t>(point.colour);
  node.chainNext = -1;
  node.rowPrev = -1;
  node.rowNext = -1;
  if (previous != -1 && static_cast<std::uint32_t>(previous) < capacity) {
    nodes[previous].chainNext = i;
  }

  std::int32_t& head = rowHeads[point.y];
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
  std::int32_t restore = static_cast<std::int32_t>(background);
  if (nodes == nullptr || index == -1 || static_cast<std::uint32_t>(index) >= capacity ||
      nodes[index].x < 0) {
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
    rowHeads[n.y] = q;
  }
  if (q != -1)
    nodes[q].rowPrev = p;

  if (q != -1 && nodes[q].x == n.x) {
    out.x = -1;  // a newer point on this pixel is the one on screen
  } else if (restore == n.colour) {
    out.x = -1;  // the pixel already shows that colour
  } else {
    out.x = n.x;
    out.y = n.y;
    out.colour = static_cast<COLORREF>(restore);
  }
  FreeNode(index);
  return n.chainNext;
}

int RowWalkPointStore::GetPoint(std::int32_t index, ScreenPoint& out) const {
  if (nodes == nullptr || static_cast<std::uint32_t>(index) >= capacity)
    return 0;
  out.x = nodes[index].x;
  out.y = nodes[index].y;
  out.colour = static_cast<COLORREF>(nodes[index].colour);
  return 1;
}

}  // namespace zirvo
