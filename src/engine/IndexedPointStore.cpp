// The store's making, its memory and the search without an index; every
// turn's operations are in the header.
#include "engine/IndexedPointStore.h"

#include <type_traits>

namespace zirvo {

template <typename Node>
IndexedStore<Node>::IndexedStore(std::int32_t width_, std::int32_t height_, std::uint32_t capacity_,
                                 PoolMemory& memory, PixelIndexKind indexKind)
    : Pool(width_, height_, capacity_, memory) {
  if (IsInert())
    return;
  if (std::is_same_v<Node, PackedNode> && !PixelNumbering::Covers(width_, height_)) {
    Pool::MakeInert();
    return;
  }
  index_ = PixelIndex::Make(width_, height_, indexKind);
}

template <typename Node>
std::size_t IndexedStore<Node>::MemoryBytes() const {
  return Pool::PoolBytes() + (index_ ? index_->MemoryBytes() : 0);
}

// The newest node on `pixel` without the index: the one in use there that
// has no newer neighbour, other than `inserting` (filled, not yet linked).
template <typename Node>
std::int32_t IndexedStore<Node>::SearchPool(std::uint64_t pixel, std::int32_t inserting) const {
  for (std::uint32_t i = 0; i < capacity; ++i) {
    const Node& n = nodes[i];
    if (Place::InUse(n) && PixelOf(n) == pixel && n.rowNext == -1 &&
        static_cast<std::int32_t>(i) != inserting)
      return static_cast<std::int32_t>(i);
  }
  return -1;
}

template class IndexedStore<PackedNode>;
template class IndexedStore<PointNode>;

}  // namespace zirvo
