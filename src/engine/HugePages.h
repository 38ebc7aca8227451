// Large, randomly visited tables (the point pool, the pixel index) touch a new
// 4 KiB page on almost every access; with 2 MiB pages the processor's address
// cache covers them. Where the system offers such pages on request (Linux's
// transparent huge pages in "madvise" mode), ask for them. Only a hint: the
// memory's contents and size never change, and elsewhere it does nothing.
#pragma once

#include <cstddef>

namespace zirvo {

void AdviseHugePages(void* block, std::size_t bytes);

}  // namespace zirvo
