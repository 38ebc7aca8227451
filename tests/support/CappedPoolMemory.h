// Pool memory that refuses any block above a cap, like a machine with only
// that much memory: the tests of large pools and the whole-show fuzz harness.
#pragma once

#include <cstddef>

#include "engine/PointStore.h"

namespace zirvo::testing {

class CappedPoolMemory final : public PoolMemory {
 public:
  explicit CappedPoolMemory(std::size_t cap) : cap_(cap) {}
  void* Allocate(std::size_t bytes) override {
    return bytes > cap_ ? nullptr : PoolMemory::Allocate(bytes);
  }
  void* Resize(void* block, std::size_t bytes) override {
    return bytes > cap_ ? nullptr : PoolMemory::Resize(block, bytes);
  }

 private:
  std::size_t cap_;
};

}  // namespace zirvo::testing
