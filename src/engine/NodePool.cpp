#include "engine/NodePool.h"

#include "engine/PoolSize.h"

namespace zirvo {

PixelNumbering::PixelNumbering(std::int32_t width) : width_(width) {
  assert(width >= 1);
  unsigned log2 = 0;  // ceil(log2(width))
  while ((std::uint64_t{1} << log2) < std::uint64_t(width))
    ++log2;
  shift_ = 31 + log2;
  const std::uint64_t power = std::uint64_t{1} << shift_;
  multiplier_ = power / std::uint64_t(width) + (power % std::uint64_t(width) != 0 ? 1 : 0);
}

template <typename Node>
NodePool<Node>::NodePool(std::int32_t width_, std::int32_t height_, std::uint32_t capacity_,
                         PoolMemory& memory)
    : memory_(memory) {
  if (capacity_ == 0)
    capacity_ = PointStore::kDefaultCapacity;
  const auto poolBytes = ArrayBytes<Node>(capacity_);
  if (!poolBytes || capacity_ > kMaxPoolNodes || height_ < 0)
    return;  // inert
  nodes = static_cast<Node*>(memory_.Allocate(*poolBytes));
  if (nodes == nullptr)
    return;
  width = width_ > 0 ? width_ : 0;  // a negative width holds no pixel, as 0
  height = height_;
  if (width_ >= 1)
    numbering = PixelNumbering(width_);
  capacity = capacity_;
  freeCount = capacity_;
  freeHead = 0;
  ChainFree(0, capacity_);
}

template <typename Node>
NodePool<Node>::~NodePool() {
  MakeInert();
}

template <typename Node>
void NodePool<Node>::MakeInert() {
  if (nodes != nullptr)
    memory_.Release(nodes);
  nodes = nullptr;
  width = height = 0;
  capacity = freeCount = 0;
  freeHead = -1;
}

template <typename Node>
void NodePool<Node>::ChainFree(std::uint64_t first, std::uint64_t end) {
  for (std::uint64_t i = first; i < end; ++i) {
    Place::MarkNeverUsed(nodes[i]);
    nodes[i].chainNext = i + 1 < end ? static_cast<std::int32_t>(i + 1) : -1;
  }
}

template <typename Node>
bool NodePool<Node>::Grow() {
  if (nodes == nullptr)
    return false;  // inert for good
  const std::uint64_t oldCount = capacity;
  const std::uint64_t newCount = oldCount + growBy;
  const auto bytes = ArrayBytes<Node>(newCount);
  if (!bytes || newCount > kMaxPoolNodes)
    return false;
  auto* grown = static_cast<Node*>(memory_.Resize(nodes, *bytes));
  if (grown == nullptr)
    return false;  // the pool and every field stay as they were
  nodes = grown;
  capacity = static_cast<std::uint32_t>(newCount);
  freeCount = growBy;
  ChainFree(oldCount, newCount);
  freeHead = static_cast<std::int32_t>(oldCount);
  return true;
}

template class NodePool<PointNode>;
template class NodePool<PackedNode>;

}  // namespace zirvo
