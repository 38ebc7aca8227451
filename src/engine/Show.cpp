#include "engine/Show.h"

namespace zirvo {

int LoadScene(Show& show, const ProgramArgs& args, const LoadEnvironment& env, ShowTime& showTime,
              Diagnostics* diag, PoolMemory& memory, StoreMaker makeStore) {
  for (SwirlSpec& spec : show.scene.specs.table)
    spec.launchesLeft = -1;
  if (LoadFiles(args, env, show.scene, diag) == 0)
    return 0;
  const Settings& settings = show.scene.settings;
  show.TrailStore =
      makeStore(settings.VirtWidth, settings.VirtHeight, settings.BufferNodes, memory);
  if (!show.TrailStore)
    return 0;
  show.engine = std::make_unique<Engine>(show.scene.specs, show.scene.map, *show.TrailStore,
                                         show.random, showTime);
  return 1;
}

}  // namespace zirvo
