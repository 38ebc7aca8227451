// The store of every trail point on screen. Each point is a link of its trail's
// first-in first-out chain and sits in its row's list sorted by column, so that
// removing a point tells at once which colour its pixel must get back: the next
// older point on that pixel, or black. Links are node indices (-1: none) into
// one pool that grows by 2048 nodes and never shrinks.
//
// PointStore is what the engine calls; MakePointStore makes the show's store
// (IndexedPointStore.h). RowWalkPointStore (RowWalkPointStore.h) is the
// straightforward store that walks the row to insert: the reference the tests
// and the fuzz harnesses check the show's store against (same refusals,
// repaints, indices and growth).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/ScreenPoint.h"
#include "engine/PoolMemory.h"

namespace zirvo {

class PointStore {
 public:
  static constexpr std::uint32_t kDefaultCapacity = 65536;
  static constexpr std::uint32_t kGrowBy = 2048;

  virtual ~PointStore() = default;

  // Stores `point` (virtual coordinates) behind `previous` (-1: a new trail).
  // Returns its node index, or -1 with point.x = -1 when refused (inert store,
  // outside the virtual screen, or no node to be had).
  virtual std::int32_t InsertPoint(std::int32_t previous, ScreenPoint& point) = 0;
  // Removes node `index` (the oldest of its trail). Returns its chainNext, or -1
  // when nothing was removed. `out` receives the pixel to repaint, or out.x = -1.
  virtual std::int32_t RemovePoint(std::int32_t index, ScreenPoint& out) = 0;
  // Copies node `index`'s x, y, colour: 1, or 0 when inert or beyond the pool.
  virtual int GetPoint(std::int32_t index, ScreenPoint& out) const = 0;

  virtual bool IsInert() const = 0;
  virtual std::uint32_t Capacity() const = 0;
  virtual std::uint32_t FreeCount() const = 0;
  std::uint32_t StoredPoints() const { return Capacity() - FreeCount(); }
  // Bytes held by the store (pool, and any table or index beside it).
  virtual std::size_t MemoryBytes() const = 0;

  // A hint, a few turns before it comes, of what one turn will do: insert a
  // point at (x, y) (x < 0: none) and remove node `oldest` (-1: none), so that
  // the store can fetch what those touch. Sets `repaint` to the pixel (virtual
  // coordinates, x = -1 for none) that the removal of an earlier hint may
  // repaint, known now that its node has been fetched, so that the caller can
  // fetch that pixel too. Changes nothing else. What it is worth:
  // the benchmarks pass/dense/indexed against pass/dense/indexed/unhinted.
  virtual void PrefetchTurn(std::int32_t /*x*/, std::int32_t /*y*/, std::int32_t /*oldest*/,
                            ScreenPoint& repaint) {
    repaint.x = -1;
  }
};

// The show's store for a virtual screen of `width` x `height` with room for
// `capacity` points (0: kDefaultCapacity): it finds an insert's place without
// walking the row.
std::unique_ptr<PointStore> MakePointStore(std::int32_t width, std::int32_t height,
                                           std::uint32_t capacity,
                                           PoolMemory& memory = DefaultPoolMemory());

}  // namespace zirvo
