// Pool memory: growing a block keeps what it holds, and a large block lies on
// whole huge pages where the C library can say how large a block is.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "engine/HugePages.h"
#include "engine/PointStore.h"

namespace zirvo {
namespace {

TEST(PoolMemory, GrowingABlockStepByStepKeepsItsContents) {
  PoolMemory memory;
  std::size_t bytes = 64 * 1024;
  auto* block = static_cast<std::uint8_t*>(memory.Allocate(bytes));
  ASSERT_NE(block, nullptr);
  for (std::size_t i = 0; i < bytes; ++i)
    block[i] = static_cast<std::uint8_t>(i * 7);
  // Up to 12 MiB in uneven steps, filling each new part as the pool does.
  while (bytes < (std::size_t{12} << 20)) {
    const std::size_t grown = bytes + bytes / 3 + 49152;
    block = static_cast<std::uint8_t*>(memory.Resize(block, grown));
    ASSERT_NE(block, nullptr);
    for (std::size_t i = bytes; i < grown; ++i)
      block[i] = static_cast<std::uint8_t>(i * 7);
    bytes = grown;
  }
  std::size_t wrong = 0;
  for (std::size_t i = 0; i < bytes; ++i)
    wrong += block[i] != static_cast<std::uint8_t>(i * 7) ? 1 : 0;
  EXPECT_EQ(wrong, 0u);
#if defined(__GLIBC__)
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % kHugePageBytes, 0u);
#endif
  memory.Release(block);
}

TEST(PoolMemory, HugePageMallocBlocksAreWholePagesThatFreeGivesBack) {
  void* block = AllocateHugePageMalloc(3 * kHugePageBytes + 1);
#if defined(__GLIBC__)
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % kHugePageBytes, 0u);
  std::memset(block, 0xA5, 4 * kHugePageBytes);  // rounded up to whole pages
  std::free(block);
  EXPECT_EQ(AllocateHugePageMalloc(0), nullptr);
  EXPECT_EQ(AllocateHugePageMalloc(SIZE_MAX), nullptr);
#else
  EXPECT_EQ(block, nullptr);
#endif
}

}  // namespace
}  // namespace zirvo
