// The show's point store. It keeps the same pool and free list as
// RowWalkPointStore, node for node, and gives the same results, indices and
// repaints. Of each row list it keeps only what a removal looks at: the links
// between points on one pixel (a run, oldest first). Beside the pool a
// PixelIndex names the newest node on each occupied pixel, so an insert links
// its node behind that one and never walks, and a removal touches only the
// node itself and its two neighbours on the pixel.
//
// IndexedPointStore holds packed nodes (a pixel number instead of x and y) and
// serves screens of up to 2^31 pixels; WideIndexedPointStore holds x and y and
// serves any screen. MakePointStore picks the one that fits.
//
// When the index cannot get memory (at construction, or when its hash table
// must grow) the store drops it and from then on searches its pool for a
// pixel's newest node: much slower, never different.
#pragma once

#include <cstdint>
#include <memory>

#include "core/Choose.h"
#include "engine/NodeLayouts.h"
#include "engine/NodePool.h"
#include "engine/PixelIndex.h"
#include "engine/PointStore.h"

namespace zirvo {

template <typename Node>
class IndexedStore final : public PointStore, private NodePool<Node> {
  using Pool = NodePool<Node>;
  using Place = typename Pool::Place;

 public:
  // capacity 0 means 65536 nodes. Never fails: without memory, or with packed
  // nodes on a screen of more than 2^31 pixels, it is inert.
  IndexedStore(std::int32_t width, std::int32_t height, std::uint32_t capacity,
               PoolMemory& memory = DefaultPoolMemory(),
               PixelIndexKind indexKind = PixelIndexKind::kAuto);

  std::int32_t InsertPoint(std::int32_t previous, ScreenPoint& point) override;
  std::int32_t RemovePoint(std::int32_t index, ScreenPoint& out) override;
  int GetPoint(std::int32_t index, ScreenPoint& out) const override {
    return Pool::GetPoint(index, out);
  }
  void PrefetchTurn(std::int32_t x, std::int32_t y, std::int32_t oldest,
                    ScreenPoint& repaint) override;
  bool IsInert() const override { return Pool::IsInert(); }
  std::uint32_t Capacity() const override { return capacity; }
  std::uint32_t FreeCount() const override { return freeCount; }
  std::size_t MemoryBytes() const override;

  // How many hints later a hint's second round of fetches is made: half the
  // engine's look-ahead (TurnLookAhead::kTurnsAhead, which checks the tie), as
  // long for the lines fetched first to arrive as for those they name.
  static constexpr std::uint32_t kHintDelay = 4;

  using Pool::AllocNode;
  using Pool::FreeNode;

  // False once the store searches its pool (no index could be had or kept).
  bool IsIndexed() const { return index_ != nullptr; }
  const Node* Nodes() const { return nodes; }

 private:
  using Pool::capacity;
  using Pool::freeCount;
  using Pool::nodes;
  using Pool::numbering;

  std::uint64_t PixelOf(const Node& node) const { return Place::Key(node, numbering); }
  std::int32_t SearchPool(std::uint64_t pixel, std::int32_t inserting) const;

  std::unique_ptr<PixelIndex> index_;
  // The turns hinted at last (PrefetchTurn), the oldest at hintCount_.
  struct Hint {
    std::int64_t pixel = -1;   // the insert's pixel number; -1: none
    std::int32_t oldest = -1;  // the node to remove; -1: none
  };
  Hint hinted_[kHintDelay];
  std::uint32_t hintCount_ = 0;
};

using IndexedPointStore = IndexedStore<PackedNode>;
using WideIndexedPointStore = IndexedStore<PointNode>;

// What every turn of the show runs, here so that the drawing pass can take
// it in: the pool and the free list are handled exactly as in
// RowWalkPointStore. The row links join only points on the same pixel:
// rowPrev is the next older point on the pixel, rowNext the next newer one.
// These are the only row neighbours whose links a removal in the full row
// list reads (a neighbour on another pixel never decides a repaint), so the
// decisions are the same.

template <typename Node>
std::int32_t IndexedStore<Node>::InsertPoint(std::int32_t previous, ScreenPoint& point) {
  const std::int32_t i = Pool::TakeNodeFor(previous, point);
  if (i < 0)
    return -1;
  Node& node = nodes[i];
  const std::uint64_t pixel = PixelOf(node);  // numbered as TakeNodeFor put it
  const std::int32_t older = index_ ? index_->NewestAt(pixel) : SearchPool(pixel, i);
  // The older point on the pixel, if any, links on to this one. About half
  // the inserts on a full screen land on an occupied pixel, at random: a
  // branch would often be mispredicted, so the link is written either way,
  // into the node itself when there is none (and then set right).
  nodes[Choose(older != -1, older, i)].rowNext = i;
  node.rowPrev = older;
  node.rowNext = -1;
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
  // Whether the point is the one on screen, the newest on its pixel, is as
  // good as random on a full screen. Where `older` goes, the newer
  // neighbour's link or the pixel's cell in the index, is chosen without a
  // branch, which would be mispredicted about every other turn. (The repaint
  // below keeps its branch: the caller's own test of it follows the same way.)
  const bool onTop = newer == -1;
  if (std::int32_t* cell = index_ ? index_->DenseCell(PixelOf(n)) : nullptr) {
    *Choose(onTop, cell, &nodes[Choose(onTop, 0, newer)].rowPrev) = older;
  } else if (!onTop) {
    nodes[newer].rowPrev = older;
  } else if (index_) {
    index_->SetNewest(PixelOf(n), older);  // replaces or empties: never fails
  }

  Pool::Repaint(n, !onTop, restore, out);
  Pool::Release(index);
  return n.chainNext;
}

// Hints come some turns ahead of their turns, one a turn. The index line of
// the insert's pixel and the node to remove are fetched at once; kHintDelay
// hints later, when they have had time to arrive, what they name: the node the
// insert will link behind, the removed node's neighbours on its pixel and that
// pixel's index line, and (through `repaint`, for the caller) the pixel itself.
// A guess about the future, never a change: a wrong one costs only the fetch.
template <typename Node>
void IndexedStore<Node>::PrefetchTurn(std::int32_t x, std::int32_t y, std::int32_t oldest,
                                      ScreenPoint& repaint) {
  repaint.x = -1;
  const PixelIndex* index = index_.get();
  if (index == nullptr)
    return;
  Hint& slot = hinted_[hintCount_++ % kHintDelay];
  // Whether a pixel is occupied, or a point the newest on its pixel, is as
  // good as random on a full screen: those cases are fetched alike, without
  // a branch (a node numbered 0 standing in for none), rather than
  // mispredicted every other turn.
  if (slot.pixel >= 0) {
    const auto older = static_cast<std::uint32_t>(index->NewestAt(std::uint64_t(slot.pixel)));
    __builtin_prefetch(&nodes[Choose(older < capacity, older, 0u)].rowNext, 1);
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
    // The removal needs the newer neighbour's link or, when the point is the
    // newest on its pixel, the pixel's index cell and most likely the pixel:
    // all three are fetched, which costs less than a mispredicted choice.
    __builtin_prefetch(&nodes[Choose(rowNext < capacity, rowNext, 0u)].rowPrev, 1);
    index->Prefetch(PixelOf(node));
    Place::Get(node, repaint, numbering);
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

}  // namespace zirvo
