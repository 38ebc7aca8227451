// The pool and the free list are handled exactly as in RowWalkPointStore. The
// row links join only points on the same pixel: rowPrev is the next older
// point on the pixel, rowNext the next newer one. These are the only row
// neighbours whose links a removal in the full row list reads (a neighbour on
// another pixel never decides a repaint), so the decisions are the same.
#include "engine/IndexedPointStore.h"

#include <type_traits>

namespace zirvo {

template <typename Node>
IndexedStore<Node>::IndexedStore(std::int32_t width_, std::int32_t height_, std::uint32_t capacity_,
                                 PoolMemory& memory, PixelIndexKind indexKind)
    : Pool(width_, height_, capacity_, memory) {
  if (IsInert())
    return;
  const std::uint64_t pixels = std::uint64_t(width_ > 0 ? width_ : 0) * std::uint64_t(height_);
  if (std::is_same_v<Node, PackedNode> && pixels > PixelNumbering::kMaxPixels) {
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

template <typename Node>
std::int32_t IndexedStore<Node>::InsertPoint(std::int32_t previous, ScreenPoint& point) {
  const std::int32_t i = Pool::TakeNodeFor(previous, point);
  if (i < 0)
    return -1;
  const std::uint64_t pixel = numbering.Number(point.x, point.y);
  const std::int32_t older = index_ ? index_->NewestAt(pixel) : SearchPool(pixel, i);
  Node& node = nodes[i];
  node.rowPrev = older;
  node.rowNext = -1;
  if (older != -1)
    nodes[older].rowNext = i;
  if (index_ && !index_->SetNewest(pixel, i))
    index_.reset();
  return i;
}

template <typename Node>
std::int32_t IndexedStore<Node>::RemovePoint(std::int32_t index, ScreenPoint& out) {
  std::int32_t restore = static_cast<std::int32_t>(kBlack);
  if (!Pool::InUse(index)) {
    out.x = -1;
    return -1;
  }
  const Node n = nodes[index];
  const std::int32_t older = n.rowPrev;
  const std::int32_t newer = n.rowNext;
  if (older != -1) {
    nodes[older].rowNext = newer;
    restore = nodes[older].colour;
  }
  if (newer != -1) {
    nodes[newer].rowPrev = older;
  } else if (index_) {
    index_->SetNewest(PixelOf(n), older);  // replaces or empties: never fails
  }

  if (newer != -1) {
    out.x = -1;  // a newer point on this pixel is the one on screen
  } else if (restore == n.colour) {
    out.x = -1;  // the pixel already shows that colour
  } else {
    Place::Get(n, out, numbering);
    out.colour = static_cast<COLORREF>(restore);
  }
  Pool::FreeNode(index);
  return n.chainNext;
}

// Hints come some turns ahead of their turns, one a turn. The index line of
// the insert's pixel and the node to remove are fetched at once; kHintDelay
// hints later, when they have had time to arrive, what they name: the node the
// insert will link behind, the removed node's neighbours on its pixel and that
// pixel's index line. A guess about the future, never a change: a wrong one
// costs only the fetch.
template <typename Node>
void IndexedStore<Node>::PrefetchTurn(std::int32_t x, std::int32_t y, std::int32_t oldest,
                                      ScreenPoint& repaint) {
  repaint.x = -1;
  const PixelIndex* index = index_.get();
  if (index == nullptr)
    return;
  Hint& slot = hinted_[hintCount_++ % kHintDelay];
  if (slot.pixel >= 0) {
    const auto older = static_cast<std::uint32_t>(index->NewestAt(std::uint64_t(slot.pixel)));
    if (older < capacity)
      __builtin_prefetch(&nodes[older].rowNext, 1);
  }
  // A node in use lies on the screen and links to nodes or to -1; one freed
  // since its hint (or never used) is not in use.
  if (slot.oldest >= 0 && Place::InUse(nodes[slot.oldest])) {
    const Node& node = nodes[slot.oldest];
    const auto rowPrev = static_cast<std::uint32_t>(node.rowPrev);
    const auto rowNext = static_cast<std::uint32_t>(node.rowNext);
    if (rowPrev < capacity) {
      __builtin_prefetch(&nodes[rowPrev].colour, 1);
      __builtin_prefetch(&nodes[rowPrev].rowNext, 1);
    }
    if (rowNext < capacity) {
      __builtin_prefetch(&nodes[rowNext].rowPrev, 1);
    } else {
      // The newest point on its pixel: the removal rewrites the index and
      // most likely the pixel.
      index->Prefetch(PixelOf(node));
      Place::Get(node, repaint, numbering);
    }
  }
  const bool onScreen = Pool::OnScreen(x, y);
  const std::uint64_t pixel = onScreen ? numbering.Number(x, y) : 0;
  if (onScreen)
    index->Prefetch(pixel);
  slot.pixel = onScreen ? static_cast<std::int64_t>(pixel) : -1;
  slot.oldest = static_cast<std::uint32_t>(oldest) < capacity ? oldest : -1;
  if (slot.oldest >= 0) {
    __builtin_prefetch(&nodes[oldest].colour, 1);
    __builtin_prefetch(&nodes[oldest].chainNext, 1);
  }
}

template class IndexedStore<PackedNode>;
template class IndexedStore<PointNode>;

}  // namespace zirvo
