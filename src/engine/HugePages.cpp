#include "engine/HugePages.h"

#include <algorithm>
#include <cstdint>
#include <new>

namespace zirvo {

namespace {

constexpr std::size_t kHugePage = kHugePageBytes;
// Smaller blocks still start on a cache line.
constexpr std::size_t kLineAlignment = 64;

// `bytes` (at most SIZE_MAX - kHugePage) rounded up to whole huge pages.
std::size_t WholeHugePages(std::size_t bytes) {
  return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

}  // namespace

void* AllocateHugePageBytes(std::size_t count, std::size_t size, std::size_t alignment,
                            std::size_t& alignmentUsed) {
  if (count == 0 || size == 0 || count > (SIZE_MAX - kHugePage) / size)
    return nullptr;
  std::size_t bytes = count * size;
  alignmentUsed = std::max(alignment, kLineAlignment);
  if (bytes >= kHugePage) {
    alignmentUsed = std::max(alignmentUsed, kHugePage);
    bytes = WholeHugePages(bytes);
  }
  void* block = ::operator new (bytes, std::align_val_t{alignmentUsed}, std::nothrow);
  AdviseHugePages(block, bytes);
  return block;
}

void* AllocateHugePageMalloc(std::size_t bytes) {
  if (bytes == 0 || bytes > SIZE_MAX - kHugePage)
    return nullptr;
  const std::size_t rounded = WholeHugePages(bytes);
  void* block = AlignedMalloc(kHugePage, rounded);
  AdviseHugePages(block, rounded);
  return block;
}

void HugePageBlockRelease::operator()(void* block) const {
  if (block != nullptr)
    ::operator delete (block, std::align_val_t{alignment});
}

}  // namespace zirvo
