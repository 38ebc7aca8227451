// What the engine asks of the system's memory beyond the C++ library: huge
// pages for large tables, and the true size of a malloc block. Each is only a
// help; where a system has none, the answers say so and nothing else changes.
// Implemented per system in src/platform/memory/.
#pragma once

#include <cstddef>

namespace zirvo {

// Asks for huge pages for the whole 2 MiB pages inside the block. Pages
// touched before the call stay small ones. Nothing where the system offers
// no such request.
void AdviseHugePages(void* block, std::size_t bytes);

// How many bytes a block from malloc really holds (at least what was asked
// for); 0 where the allocator cannot tell.
std::size_t MallocUsableSize(void* block);

// `bytes` from malloc's heap on an `alignment` boundary (a power of two), a
// block that free() gives back; null when it cannot be had, or where the C
// library cannot align such a block.
void* AlignedMalloc(std::size_t alignment, std::size_t bytes);

}  // namespace zirvo
