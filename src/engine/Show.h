// One loaded show: the files' values, the point store and the swirl engine, with
// the random generator they draw from. A backend owns one; tests build many.
#pragma once

#include <memory>

#include "core/Random.h"
#include "engine/Engine.h"
#include "engine/PointStore.h"
#include "scene/LoadFiles.h"

namespace zirvo {

struct Show {
  LoadedScene scene;
  Random random;
  std::unique_ptr<PointStore> TrailStore;
  std::unique_ptr<Engine> engine;  // null until LoadScene succeeded
};

// How a store is made for the final virtual size and BufferNodes: the show's
// own (MakePointStore), or in tests and fuzz harnesses the reference store
// (MakeRowWalkPointStore) to check it against.
using StoreMaker = std::unique_ptr<PointStore> (*)(std::int32_t width, std::int32_t height,
                                                   std::uint32_t capacity, PoolMemory& memory);

// Reads both files, computes the mapping, creates the store with the final
// virtual size and BufferNodes, and makes the engine with all slots free.
// 1 when the scene is ready to run, 0 otherwise (show.scene keeps what the
// files set before the failure).
int LoadScene(Show& show, const ProgramArgs& args, const LoadEnvironment& env, ShowTime& showTime,
              Diagnostics* diag = nullptr, PoolMemory& memory = DefaultPoolMemory(),
              StoreMaker makeStore = &MakePointStore);

}  // namespace zirvo
