#include "engine/IndexedPointStore.h"

namespace zirvo {

std::unique_ptr<PointStore> MakePointStore(std::int32_t width, std::int32_t height,
                                           std::uint32_t capacity, PoolMemory& memory) {
  // Packed nodes wherever a pixel's number fits them.
  if (PixelNumbering::Covers(width, height))
    return std::make_unique<IndexedPointStore>(width, height, capacity, memory);
  return std::make_unique<WideIndexedPointStore>(width, height, capacity, memory);
}

}  // namespace zirvo
