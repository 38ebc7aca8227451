#include <cstdlib>

#include "engine/HugePages.h"
#include "engine/PointStore.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace zirvo {

void* PoolMemory::Allocate(std::size_t bytes) {
  void* block = std::malloc(bytes);
  AdviseHugePages(block, bytes);
  return block;
}

// The pool grows 2048 nodes at a time. Where the allocator can say how much a
// block really holds, a block is grown to twice its size and later growth
// within it costs nothing; and memory first touched well inside a block can
// come as huge pages, which memory added a page at a time at the very end of a
// mapping never does.
void* PoolMemory::Resize(void* block, std::size_t bytes) {
#if defined(__GLIBC__)
  const std::size_t holds = block != nullptr ? malloc_usable_size(block) : 0;
  if (bytes <= holds)
    return block;
  if (holds <= SIZE_MAX / 2 && 2 * holds > bytes) {
    if (void* doubled = std::realloc(block, 2 * holds)) {
      AdviseHugePages(doubled, 2 * holds);
      return doubled;
    }
  }
#endif
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
