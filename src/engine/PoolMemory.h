// Where the point stores' pools get their memory: malloc's heap, large blocks
// on huge pages where the system has them (PoolMemory.cpp). Tests inject
// failures and caps by deriving from it (tests/support/CappedPoolMemory.h).
#pragma once

#include <cstddef>

namespace zirvo {

class PoolMemory {
 public:
  virtual ~PoolMemory() = default;
  virtual void* Allocate(std::size_t bytes);
  // Resizes keeping the contents; null on failure, with `block` left untouched.
  virtual void* Resize(void* block, std::size_t bytes);
  virtual void Release(void* block);
};

// The one every store uses unless given another.
PoolMemory& DefaultPoolMemory();

}  // namespace zirvo
