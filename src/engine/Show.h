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
  StoreKind storeKind = StoreKind::kIndexed;  // set before LoadScene to choose the store
  std::unique_ptr<PointStore> TrailStore;
  std::unique_ptr<Engine> engine;  // null until LoadScene succeeded
};

// Reads both files, computes the mapping, creates the store with the final
// virtual size and BufferNodes, and makes the engine with all slots free.
// 1 when the scene is ready to run, 0 otherwise (show.scene keeps what the
// files set before the failure).
int LoadScene(Show& show, const ProgramArgs& args, const LoadEnvironment& env, ShowTime& showTime,
              Diagnostics* diag = nullptr, PoolMemory& memory = DefaultPoolMemory());

}  // namespace zirvo
