#include "engine/NodePool.h"

#include "engine/PoolSize.h"

namespace zirvo {

NodePool::NodePool(std::int32_t width_, std::int32_t height_, std::uint32_t capacity_,
                   PoolMemory& memory)
    : memory_(memory) {
  if (capacity_ == 0)
    capacity_ = PointStore::kDefaultCapacity;
  const auto poolBytes = ArrayBytes<PointNode>(capacity_);
  if (!poolBytes || capacity_ > kMaxPoolNodes || height_ < 0)
    return;  // inert
  nodes = static_cast<PointNode*>(memory_.Allocate(*poolBytes));
  if (nodes == nullptr)
    return;
  width = width_;
  height = height_;
  capacity = capacity_;
  freeCount = capacity_;
  freeHead = 0;
  for (std::uint32_t i = 0; i < capacity_; ++i) {
    nodes[i].x = -1;
    nodes[i].chainNext = i + 1 < capacity_ ? static_cast<std::int32_t>(i + 1) : -1;
  }
}

NodePool::~NodePool() {
  MakeInert();
}

void NodePool::MakeInert() {
  if (nodes != nullptr)
    memory_.Release(nodes);
  nodes = nullptr;
  width = height = 0;
  capacity = freeCount = 0;
  freeHead = -1;
}

int NodePool::GetPoint(std::int32_t index, ScreenPoint& out) const {
  if (nodes == nullptr || static_cast<std::uint32_t>(index) >= capacity)
    return 0;
  out.x = nodes[index].x;
  out.y = nodes[index].y;
  out.colour = static_cast<COLORREF>(nodes[index].colour);
  return 1;
}

std::size_t NodePool::PoolBytes() const {
  return std::size_t{capacity} * sizeof(PointNode);
}

bool NodePool::Grow() {
  const std::uint64_t oldCount = capacity;
  const std::uint64_t newCount = oldCount + growBy;
  const auto bytes = ArrayBytes<PointNode>(newCount);
  if (!bytes || newCount > kMaxPoolNodes)
    return false;
  auto* grown = static_cast<PointNode*>(memory_.Resize(nodes, *bytes));
  if (grown == nullptr)
    return false;  // the pool and every field stay as they were
  nodes = grown;
  capacity = static_cast<std::uint32_t>(newCount);
  freeCount = growBy;
  for (std::uint64_t i = oldCount; i < newCount; ++i) {
    nodes[i].x = -1;
    nodes[i].chainNext = i + 1 < newCount ? static_cast<std::int32_t>(i + 1) : -1;
  }
  freeHead = static_cast<std::int32_t>(oldCount);
  return true;
}

}  // namespace zirvo
