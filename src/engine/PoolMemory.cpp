#include <cstdlib>

#include "engine/PointStore.h"

namespace zirvo {

void* PoolMemory::Allocate(std::size_t bytes) {
  return std::malloc(bytes);
}

void* PoolMemory::Resize(void* block, std::size_t bytes) {
  return std::realloc(block, bytes);
}

void PoolMemory::Release(void* block) {
  std::free(block);
}

PoolMemory& DefaultPoolMemory() {
  static PoolMemory memory;
  return memory;
}

}  // namespace zirvo
