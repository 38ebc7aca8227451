// The store of every trail point on screen. Each point is a link of its trail's
// first-in first-out chain and sits in its row's list sorted by column, so that
// removing a point tells at once which colour its pixel must get back: the next
// older point on that pixel, or black. Links are node indices (-1: none) into
// one pool that grows by 2048 nodes and never shrinks.
//
// PointStore is what the engine calls; RowWalkPointStore is the straightforward
// store that walks the row to insert (the reference every other store must match
// exactly: same refusals, repaints, indices and growth).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/ScreenPoint.h"

namespace zirvo {

struct PointNode {
  std::int32_t x;  // -1: not in use
  std::int32_t y;
  std::int32_t colour;
  std::int32_t rowPrev;
  std::int32_t rowNext;
  std::int32_t chainNext;  // in use: next newer point of the trail; free: next free node
};
static_assert(sizeof(PointNode) == 24, "a node is six 32-bit words");

// Where pool memory comes from. Tests inject failures here.
class PoolMemory {
 public:
  virtual ~PoolMemory() = default;
  virtual void* Allocate(std::size_t bytes);
  // Resizes keeping the contents; null on failure, with `block` left untouched.
  virtual void* Resize(void* block, std::size_t bytes);
  virtual void Release(void* block);
};

PoolMemory& DefaultPoolMemory();

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
  // Bytes held by the store (pool, row heads and any index beside them).
  virtual std::size_t MemoryBytes() const = 0;
};

class RowWalkPointStore final : public PointStore {
 public:
  // capacity 0 means 65536 nodes. Never fails: without memory it is inert.
  RowWalkPointStore(std::int32_t width, std::int32_t height, std::uint32_t capacity,
                    PoolMemory& memory = DefaultPoolMemory());
  ~RowWalkPointStore() override;
  RowWalkPointStore(const RowWalkPointStore&) = delete;
  RowWalkPointStore& operator=(const RowWalkPointStore&) = delete;

  std::int32_t InsertPoint(std::int32_t previous, ScreenPoint& point) override;
  std::int32_t RemovePoint(std::int32_t index, ScreenPoint& out) override;
  int GetPoint(std::int32_t index, ScreenPoint& out) const override;
  bool IsInert() const override { return nodes == nullptr; }
  std::uint32_t Capacity() const override { return capacity; }
  std::uint32_t FreeCount() const override { return freeCount; }
  std::size_t MemoryBytes() const override;

  std::int32_t AllocNode();
  void FreeNode(std::int32_t index);

  // Read access for tests that check the invariants.
  const PointNode* Nodes() const { return nodes; }
  const std::int32_t* RowHeads() const { return rowHeads; }
  std::int32_t Width() const { return width; }
  std::int32_t Height() const { return height; }

 private:
  std::int32_t width = 0;
  std::int32_t height = 0;
  COLORREF background = kBlack;
  std::uint32_t capacity = 0;
  std::uint32_t growBy = kGrowBy;
  std::uint32_t freeCount = 0;
  std::int32_t freeHead = -1;
  PointNode* nodes = nullptr;
  std::int32_t* rowHeads = nullptr;
  PoolMemory& memory_;
};

enum class StoreKind {
  kIndexed,  // the show's store: finds an insert's place without walking the row
  kRowWalk,  // the reference store
};

std::unique_ptr<PointStore> MakePointStore(StoreKind kind, std::int32_t width, std::int32_t height,
                                           std::uint32_t capacity,
                                           PoolMemory& memory = DefaultPoolMemory());

}  // namespace zirvo
