// The system memory seam where the system offers nothing beyond the C++
// library (the Windows build): no huge pages, no block sizes, no aligned
// malloc blocks.
#include "engine/SystemMemory.h"

namespace zirvo {

void AdviseHugePages(void* /*block*/, std::size_t /*bytes*/) {}

std::size_t MallocUsableSize(void* /*block*/) {
  return 0;
}

void* AlignedMalloc(std::size_t /*alignment*/, std::size_t /*bytes*/) {
  return nullptr;
}

}  // namespace zirvo
