#include <cstdlib>
#include <cstring>

#include "engine/HugePages.h"
#include "engine/PoolMemory.h"
#include "engine/SystemMemory.h"

namespace zirvo {

void* PoolMemory::Allocate(std::size_t bytes) {
  void* block = std::malloc(bytes);
  AdviseHugePages(block, bytes);
  return block;
}

// The pool grows 2048 nodes at a time. Where the allocator can say how much a
// block really holds, a block is grown to twice its size and later growth
// within it costs nothing. A large block is grown into a fresh one of huge
// pages and copied: realloc would move the pages the block has, and most of
// those are small ones (memory added a page at a time at the end of a mapping
// never comes as huge pages), so the pool would stay scattered over small
// pages however large it grew.
void* PoolMemory::Resize(void* block, std::size_t bytes) {
  const std::size_t holds = MallocUsableSize(block);
  if (bytes <= holds)
    return block;
  const std::size_t doubled = holds <= SIZE_MAX / 2 && 2 * holds > bytes ? 2 * holds : bytes;
  if (doubled >= kHugePageBytes) {
    if (void* fresh = AllocateHugePageMalloc(doubled)) {
      if (holds != 0)
        std::memcpy(fresh, block, holds);
      std::free(block);
      return fresh;
    }
  }
  if (doubled != bytes) {
    if (void* grown = std::realloc(block, doubled)) {
      AdviseHugePages(grown, doubled);
      return grown;
    }
  }
  void* resized = std::realloc(block, bytes);
  AdviseHugePages(resized, bytes);
  return resized;
}

void PoolMemory::Release(void* block) {
  std::free(block);
}

PoolMemory& DefaultPoolMemory() {
  static PoolMemory memory;
  return memory;
}

}  // namespace zirvo
