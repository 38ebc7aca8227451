// The pool and the free list are handled exactly as in RowWalkPointStore. The
// row links join only points on the same pixel: rowPrev is the next older
// point on the pixel, rowNext the next newer one. These are the only row
// neighbours whose links a removal in the full row list reads (a neighbour on
// another pixel never decides a repaint), so the decisions are the same.
#include "engine/IndexedPointStore.h"

namespace zirvo {

IndexedPointStore::IndexedPointStore(std::int32_t width_, std::int32_t height_,
                                     std::uint32_t capacity_, PoolMemory& memory,
                                     PixelIndexKind indexKind)
    : NodePool(width_, height_, capacity_, memory) {
  if (!IsInert())
    index_ = PixelIndex::Make(width, height, indexKind);
}

std::size_t IndexedPointStore::MemoryBytes() const {
  return PoolBytes() + (index_ ? index_->MemoryBytes() : 0);
}

// The newest node on (x, y) without the index: the one in use there that has
// no newer neighbour, other than `inserting` (filled, not yet linked).
std::int32_t IndexedPointStore::SearchPool(std::int32_t x, std::int32_t y,
                                           std::int32_t inserting) const {
  for (std::uint32_t i = 0; i < capacity; ++i) {
    const PointNode& n = nodes[i];
    if (n.x == x && n.y == y && n.rowNext == -1 && static_cast<std::int32_t>(i) != inserting)
      return static_cast<std::int32_t>(i);
  }
  return -1;
}

std::int32_t IndexedPointStore::InsertPoint(std::int32_t previous, ScreenPoint& point) {
  const std::int32_t i = TakeNodeFor(previous, point);
  if (i < 0)
    return -1;
  const std::int32_t older =
      index_ ? index_->NewestAt(point.x, point.y) : SearchPool(point.x, point.y, i);
  PointNode& node = nodes[i];
  node.rowPrev = older;
  node.rowNext = -1;
  if (older != -1)
    nodes[older].rowNext = i;
  if (index_ && !index_->SetNewest(point.x, point.y, i))
    index_.reset();
  return i;
}

std::int32_t IndexedPointStore::RemovePoint(std::int32_t index, ScreenPoint& out) {
  std::int32_t restore = static_cast<std::int32_t>(kBlack);
  if (!InUse(index)) {
    out.x = -1;
    return -1;
  }
  const PointNode n = nodes[index];
  const std::int32_t older = n.rowPrev;
  const std::int32_t newer = n.rowNext;
  if (older != -1) {
    nodes[older].rowNext = newer;
    restore = nodes[older].colour;
  }
  if (newer != -1) {
    nodes[newer].rowPrev = older;
  } else if (index_) {
    index_->SetNewest(n.x, n.y, older);  // replaces or empties: never fails
  }

  if (newer != -1) {
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

// Hints come some turns ahead of their turns, one a turn. The index line of
// the insert's pixel and the node to remove are fetched at once; kHintDelay
// hints later, when they have had time to arrive, what they name: the node the
// insert will link behind, the removed node's neighbours on its pixel and that
// pixel's index line. A guess about the future, never a change: a wrong one
// costs only the fetch.
void IndexedPointStore::PrefetchTurn(std::int32_t x, std::int32_t y, std::int32_t oldest,
                                     ScreenPoint& repaint) {
  repaint.x = -1;
  const PixelIndex* index = index_.get();
  if (index == nullptr)
    return;
  Hint& slot = hinted_[hintCount_++ % kHintDelay];
  if (slot.x >= 0) {
    const auto older = static_cast<std::uint32_t>(index->NewestAt(slot.x, slot.y));
    if (older < capacity)
      __builtin_prefetch(&nodes[older].rowNext, 1);
  }
  // A node in use lies on the screen and links to nodes or to -1; one freed
  // since its hint (or never used) has x = -1.
  if (slot.oldest >= 0 && nodes[slot.oldest].x >= 0) {
    const PointNode& node = nodes[slot.oldest];
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
      index->Prefetch(node.x, node.y);
      repaint.x = node.x;
      repaint.y = node.y;
    }
  }
  const bool onScreen = OnScreen(x, y);
  if (onScreen)
    index->Prefetch(x, y);
  slot.x = onScreen ? x : -1;
  slot.y = y;
  slot.oldest = static_cast<std::uint32_t>(oldest) < capacity ? oldest : -1;
  if (slot.oldest >= 0) {
    __builtin_prefetch(&nodes[oldest].x, 1);
    __builtin_prefetch(&nodes[oldest].chainNext, 1);
  }
}

}  // namespace zirvo
