// What every point store keeps the same way, node for node: the pool of nodes
// with its free list and growth by 2048. A store whose memory could not be had
// is inert (`nodes` null) and stays so. The pool holds nodes of one layout
// (NodeLayouts.h); its numbering is the same whatever the layout.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>

#include "engine/NodeLayouts.h"
#include "engine/PointStore.h"

namespace zirvo {

template <typename Node>
class NodePool {
 public:
  using Place = NodePlace<Node>;

  // capacity 0 means 65536 nodes. A pool that cannot be had, or whose size in
  // bytes cannot be represented, or a negative height, leaves the pool inert.
  NodePool(std::int32_t width, std::int32_t height, std::uint32_t capacity, PoolMemory& memory);
  ~NodePool();
  NodePool(const NodePool&) = delete;
  NodePool& operator=(const NodePool&) = delete;

  // A free node (the one freed last first); the pool grows by growBy nodes when
  // none is left. -1 when inert or when growth fails (then nothing changes).
  std::int32_t AllocNode() {
    if (freeCount == 0 && !Grow())  // an inert pool has none and cannot grow
      return -1;
    const std::int32_t i = freeHead;
    freeHead = nodes[i].chainNext;
    --freeCount;
    return i;
  }
  // Puts a node in use back on the free list; a free node is left alone.
  // REQUIRES: the pool is not inert and 0 <= index < capacity.
  void FreeNode(std::int32_t index) {
    assert(nodes != nullptr && static_cast<std::uint32_t>(index) < capacity);
    if (Place::InUse(nodes[index]))
      Release(index);
  }
  // The part of an insert every store shares: refuses a point outside the
  // virtual screen or without a node (point.x = -1, result -1); otherwise fills
  // a node with the point, links it behind `previous` and returns it. The row
  // links are left for the store to set.
  // REQUIRES: previous is -1 (a new trail) or a node in use.
  std::int32_t TakeNodeFor(std::int32_t previous, ScreenPoint& point) {
    assert(previous == -1 || InUse(previous));
    if (!OnScreen(point.x, point.y)) {
      point.x = -1;
      return -1;
    }
    const std::int32_t i = AllocNode();
    if (i < 0) {
      point.x = -1;
      return -1;
    }
    Node& node = nodes[i];
    Place::Put(node, point.x, point.y, numbering);
    node.colour = static_cast<std::int32_t>(point.colour);
    node.chainNext = -1;
    if (static_cast<std::uint32_t>(previous) < capacity)  // not -1
      nodes[previous].chainNext = i;
    return i;
  }
  // Whether `index` names a node in use (never, when inert: its capacity is 0).
  bool InUse(std::int32_t index) const {
    return static_cast<std::uint32_t>(index) < capacity && Place::InUse(nodes[index]);
  }
  // Copies node `index`'s x, y, colour: 1, or 0 when inert or beyond the pool.
  int GetPoint(std::int32_t index, ScreenPoint& out) const {
    if (nodes == nullptr || static_cast<std::uint32_t>(index) >= capacity)
      return 0;
    Place::Get(nodes[index], out, numbering);
    out.colour = static_cast<COLORREF>(nodes[index].colour);
    return 1;
  }
  // Whether (x, y) lies on the virtual screen (never, when inert).
  bool OnScreen(std::int32_t x, std::int32_t y) const {
    // Unsigned, so that a negative coordinate fails the same test; a pool
    // never holds a negative size (see the constructor).
    return static_cast<std::uint32_t>(x) < static_cast<std::uint32_t>(width) &&
           static_cast<std::uint32_t>(y) < static_cast<std::uint32_t>(height);
  }
  bool IsInert() const { return nodes == nullptr; }
  // What the removal of `node` leaves to repaint, in `out`: its pixel in
  // `restore`, the colour of the point under it; or nothing (out.x = -1, the
  // rest of `out` as it was) when a newer point on the pixel `covers` it or
  // the pixel already shows that colour.
  void Repaint(const Node& node, bool covered, std::int32_t restore, ScreenPoint& out) const {
    if (covered || restore == node.colour) {
      out.x = -1;
      return;
    }
    Place::Get(node, out, numbering);
    out.colour = static_cast<COLORREF>(restore);
  }
  // Bytes of the pool.
  std::size_t PoolBytes() const { return std::size_t{capacity} * sizeof(Node); }

 protected:
  // Puts node `index` back on the free list.
  // REQUIRES: InUse(index).
  void Release(std::int32_t index) {
    Place::MarkFree(nodes[index]);
    nodes[index].chainNext = freeHead;
    freeHead = index;
    ++freeCount;
  }
  // Gives the pool back and leaves it inert (a store whose own tables
  // cannot be had).
  void MakeInert();

  std::int32_t width = 0;
  std::int32_t height = 0;
  PixelNumbering numbering;
  std::uint32_t capacity = 0;
  std::uint32_t growBy = PointStore::kGrowBy;
  std::uint32_t freeCount = 0;
  std::int32_t freeHead = -1;
  Node* nodes = nullptr;
  PoolMemory& memory_;

 private:
  // Marks nodes first..end-1 never used and chains them into a free list.
  void ChainFree(std::uint64_t first, std::uint64_t end);
  // Adds growBy free nodes; false (nothing changed) when it cannot.
  bool Grow();
};

}  // namespace zirvo
