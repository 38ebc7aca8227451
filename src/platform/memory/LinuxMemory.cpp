// The system memory seam on Linux with glibc: madvise for transparent huge
// pages in "madvise" mode, malloc_usable_size and posix_memalign.
#include <malloc.h>
#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>

#include "engine/HugePages.h"
#include "engine/SystemMemory.h"

namespace zirvo {

void AdviseHugePages(void* block, std::size_t bytes) {
#if defined(MADV_HUGEPAGE)
  if (block == nullptr || bytes < kHugePageBytes)
    return;
  const auto start = reinterpret_cast<std::uintptr_t>(block);
  const std::uintptr_t first = (start + kHugePageBytes - 1) & ~std::uintptr_t{kHugePageBytes - 1};
  const std::uintptr_t end = (start + bytes) & ~std::uintptr_t{kHugePageBytes - 1};
  if (first < end)
    madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
  (void)block;
  (void)bytes;
#endif
}

std::size_t MallocUsableSize(void* block) {
  return block != nullptr ? malloc_usable_size(block) : 0;
}

void* AlignedMalloc(std::size_t alignment, std::size_t bytes) {
  void* block = nullptr;
  return posix_memalign(&block, alignment, bytes) == 0 ? block : nullptr;
}

}  // namespace zirvo
