// A point store that forwards everything to another but drops the look-ahead
// hints (PrefetchTurn keeps its do-nothing default): the drawing pass then runs
// as if the store had no hint to take, which is what the hint is measured
// against (pass/dense/indexed against pass/dense/indexed/unhinted). The extra
// call per store operation is the decorator's only cost.
#pragma once

#include <memory>
#include <utility>

#include "engine/PointStore.h"

namespace zirvo::bench {

class UnhintedStore final : public PointStore {
 public:
  explicit UnhintedStore(std::unique_ptr<PointStore> store) : store_(std::move(store)) {}

  std::int32_t InsertPoint(std::int32_t previous, ScreenPoint& point) override {
    return store_->InsertPoint(previous, point);
  }
  std::int32_t RemovePoint(std::int32_t index, ScreenPoint& out) override {
    return store_->RemovePoint(index, out);
  }
  int GetPoint(std::int32_t index, ScreenPoint& out) const override {
    return store_->GetPoint(index, out);
  }
  bool IsInert() const override { return store_->IsInert(); }
  std::uint32_t Capacity() const override { return store_->Capacity(); }
  std::uint32_t FreeCount() const override { return store_->FreeCount(); }
  std::size_t MemoryBytes() const override { return store_->MemoryBytes(); }

 private:
  std::unique_ptr<PointStore> store_;
};

}  // namespace zirvo::bench
