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
  freeCount = capacity_;
  freeHead = 0;
  for (std::uint32_t i = 0; i < capacity_; ++i) {
    nodes[i].x = -1;
    nodes[i].chainNext = i + 1 < capacity_ ? static_cast<std::int32_t>(i + 1) : -1;
  }
  for (std::int32_t row = 0; row < height_; ++row)
    rowHeads[row] = -1;
}

NodePool::~NodePool() {
  if (nodes == nullptr)
    return;
  memory_.Release(rowHeads);
  memory_.Release(nodes);
}

std::size_t NodePool::PoolBytes() const {
  if (nodes == nullptr)
    return 0;
  return std::size_t{capacity} * sizeof(PointNode) +
         std::size_t(height > 0 ? height : 1) * sizeof(std::int32_t);
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
