// The pool, the free list and the row lists are handled exactly as in
// RowWalkPointStore; only the search for an insert's place differs.
#include "engine/IndexedPointStore.h"

namespace zirvo {

IndexedPointStore::IndexedPointStore(std::int32_t width_, std::int32_t height_,
                                     std::uint32_t capacity_, PoolMemory& memory,
                                     PixelIndexKind indexKind)
    : NodePool(width_, height_, capacity_, memory) {
  if (nodes != nullptr)
    index_ = MakePixelIndex(width, height, indexKind);
}

std::size_t IndexedPointStore::MemoryBytes() const {
  return PoolBytes() + (index_ ? index_->MemoryBytes() : 0);
}

std::int32_t IndexedPointStore::WalkRow(std::int32_t x, std::int32_t y) const {
  std::int32_t last = -1;
  for (std::int32_t g = rowHeads[y]; g != -1 && nodes[g].x <= x; g = nodes[g].rowNext)
    last = g;
  return last;
}

std::int32_t IndexedPointStore::InsertPoint(std::int32_t previous, ScreenPoint& point) {
  const std::int32_t i = TakeNodeFor(previous, point);
  if (i < 0)
    return -1;
  PointNode& node = nodes[i];

  // Row lists are sorted by x and, on one pixel, oldest first: a new point goes
  // after the newest point on its own pixel (else on the nearest occupied pixel
  // to its left) and before the oldest point on the nearest occupied pixel to
  // its right. With the index both neighbours are known without reading any
  // node, so the two links below are plain writes.
  RowPlace place;
  PixelRun run;
  if (index_) {
    place = index_->PlaceFor(point.x, point.y);
    run = index_->RunAt(point.x, point.y);
  } else {
    place.after = WalkRow(point.x, point.y);
    place.before = place.after == -1 ? rowHeads[point.y] : nodes[place.after].rowNext;
  }
  node.rowPrev = place.after;
  node.rowNext = place.before;
  if (place.after == -1) {
    rowHeads[point.y] = i;
  } else {
    nodes[place.after].rowNext = i;
  }
  if (place.before != -1)
    nodes[place.before].rowPrev = i;
  if (index_ && !index_->SetRun(point.x, point.y, PixelRun{run.IsEmpty() ? i : run.oldest, i}))
    index_.reset();
  if (index_ && previous != -1 && static_cast<std::uint32_t>(previous) < capacity)
    PrefetchNextInsert(nodes[previous], point);
  return i;
}

std::int32_t IndexedPointStore::RemovePoint(std::int32_t index, ScreenPoint& out) {
  std::int32_t restore = static_cast<std::int32_t>(background);
  if (nodes == nullptr || index == -1 || static_cast<std::uint32_t>(index) >= capacity ||
      nodes[index].x < 0) {
    out.x = -1;
    return -1;
  }
  const PointNode n = nodes[index];
  const std::int32_t p = n.rowPrev;
  const std::int32_t q = n.rowNext;
  // Whether older or newer points share the pixel: the pixel's run tells
  // without reading the row neighbours, which are then only written.
  PixelRun run;
  bool olderHere;
  bool newerHere;
  if (index_) {
    run = index_->RunAt(n.x, n.y);
    olderHere = p != -1 && run.oldest != index;
    newerHere = q != -1 && run.newest != index;
  } else {
    olderHere = p != -1 && nodes[p].x == n.x;
    newerHere = q != -1 && nodes[q].x == n.x;
  }
  if (p != -1) {
    nodes[p].rowNext = q;
    if (olderHere)
      restore = nodes[p].colour;
  } else {
    rowHeads[n.y] = q;
  }
  if (q != -1)
    nodes[q].rowPrev = p;

  // Only shrinks a run or empties a pixel: never needs memory.
  if (index_ && !(olderHere && newerHere)) {
    PixelRun rest;  // empty when n was alone on its pixel
    if (olderHere) {
      rest = PixelRun{run.oldest, p};  // n was the newest
    } else if (newerHere) {
      rest = PixelRun{q, run.newest};  // n was the oldest
    }
    index_->SetRun(n.x, n.y, rest);
  }

  if (newerHere) {
    out.x = -1;  // a newer point on this pixel is the one on screen
  } else if (restore == n.colour) {
    out.x = -1;  // the pixel already shows that colour
  } else {
    out.x = n.x;
    out.y = n.y;
    out.colour = static_cast<COLORREF>(restore);
  }
  FreeNode(index);
  PrefetchTrailAhead(n.chainNext);
  return n.chainNext;
}

// A trail moves smoothly: its next point, a few hundred turns from now, lies
// close to where the last two points lead. Fetch the index there so that the
// next insert finds it in cache. (The last point's node is in cache already:
// this insert has just linked it.)
void IndexedPointStore::PrefetchNextInsert(const PointNode& last, const ScreenPoint& point) const {
  if (last.x < 0)
    return;
  const std::int64_t x = 2 * std::int64_t{point.x} - last.x;
  const std::int64_t y = 2 * std::int64_t{point.y} - last.y;
  if (x >= 0 && x < width && y >= 0 && y < height)
    index_->Prefetch(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
}

// The caller removes a trail's points oldest first, one per turn of that
// swirl, hundreds of turns apart. Fetch now what the next removal from this
// trail will touch: its node (already fetched by the last call) names its row
// neighbours, its pixel and the node after it. By then those scattered lines
// are in cache. A guess about the future, never a change: a wrong one costs
// only the fetch.
void IndexedPointStore::PrefetchTrailAhead(std::int32_t next) const {
  if (next < 0 || static_cast<std::uint32_t>(next) >= capacity)
    return;
  const PointNode& coming = nodes[next];
  for (const std::int32_t link : {coming.rowPrev, coming.rowNext, coming.chainNext}) {
    if (link >= 0 && static_cast<std::uint32_t>(link) < capacity)
      __builtin_prefetch(&nodes[link], 1);
  }
  if (index_ && coming.x >= 0 && coming.x < width && coming.y >= 0 && coming.y < height)
    index_->Prefetch(coming.x, coming.y);
}

int IndexedPointStore::GetPoint(std::int32_t index, ScreenPoint& out) const {
  if (nodes == nullptr || static_cast<std::uint32_t>(index) >= capacity)
    return 0;
  out.x = nodes[index].x;
  out.y = nodes[index].y;
  out.colour = static_cast<COLORREF>(nodes[index].colour);
  return 1;
}

}  // namespace zirvo
