#include "engine/PointStore.h"

namespace zirvo {

std::unique_ptr<PointStore> MakePointStore(StoreKind /*kind*/, std::int32_t width,
                                           std::int32_t height, std::uint32_t capacity,
                                           PoolMemory& memory) {
  return std::make_unique<RowWalkPointStore>(width, height, capacity, memory);
}

}  // namespace zirvo
