// Large, randomly visited tables (the point pool, the pixel index, a screen's
// pixels) touch a new 4 KiB page on almost every access; with 2 MiB pages the
// processor's address cache covers them. Where the system offers such pages on
// request (Linux's transparent huge pages in "madvise" mode), ask for them.
// Only a hint: the memory's contents and size never change, and elsewhere it
// does nothing. What it is worth: the benchmarks pass/dense/indexed, run with
// and without transparent huge pages.
#pragma once

#include <cstddef>
#include <memory>

#include "engine/SystemMemory.h"

namespace zirvo {

// The size of a huge page where there are such pages.
constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

// A block of at least `bytes` that std::free gives back, on a 2 MiB boundary
// and rounded up to whole 2 MiB pages, offered huge pages before its first
// touch. Null when it cannot be had, or where the C library cannot align a
// block that free accepts.
void* AllocateHugePageMalloc(std::size_t bytes);

// Gives back a block of AllocateHugePageBlock.
struct HugePageBlockRelease {
  std::size_t alignment = 0;
  void operator()(void* block) const;
};

template <typename T>
using HugePageBlock = std::unique_ptr<T[], HugePageBlockRelease>;

// Untouched memory for `count` elements of T (not constructed: the caller
// fills it), offered huge pages before its first touch. From 2 MiB on it is
// aligned to and rounded up to whole 2 MiB pages, so that no element is left
// on a small page. Null when it cannot be had or its size cannot be
// represented; never throws.
void* AllocateHugePageBytes(std::size_t count, std::size_t size, std::size_t alignment,
                            std::size_t& alignmentUsed);
template <typename T>
HugePageBlock<T> AllocateHugePageBlock(std::size_t count) {
  std::size_t alignment = 0;
  void* block = AllocateHugePageBytes(count, sizeof(T), alignof(T), alignment);
  return HugePageBlock<T>(static_cast<T*>(block), HugePageBlockRelease{alignment});
}

}  // namespace zirvo
