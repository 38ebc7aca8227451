// Runs a whole show from real files in a temporary directory on a simulated
// clock, checking the engine's bookkeeping after every pass. Header-only: used
// by the whole-show, fault-injection and hostile-file tests and by the soak.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/PixelSink.h"
#include "engine/Show.h"
#include "engine/SimulatedClock.h"
#include "support/CappedPoolMemory.h"
#include "support/EngineInvariants.h"
#include "support/TempDir.h"

namespace zirvo::testing {

class CountingSink final : public PixelSink {
 public:
  void SetPixel(std::int32_t, std::int32_t, COLORREF) override { ++pixels; }
  std::uint64_t pixels = 0;
};

// A settings file beside a program in `dir`/prog and a scene file in `dir`.
struct SceneFiles {
  ProgramArgs args;
  LoadEnvironment env;

  SceneFiles(const TempDir& dir, const std::string& settings, const std::string& scene,
             ScreenSize screen = ScreenSize{640, 480}) {
    dir.Write("prog/zirvo.ini", settings);
    dir.Write("scene.zrv", scene);
    args.hasProgram = true;
    args.program = dir.PathOf("prog/zirvo");
    args.hasScene = true;
    args.scene = dir.PathOf("scene");  // found with ".zrv" appended
    env.screen = screen;
    env.currentDirectory = dir.path().string();
    env.style = PathStyle::kPosix;
  }
};

// A loaded show whose engine runs on a TrailShadow of the loaded store.
struct ShadowedShow {
  Show show;
  std::unique_ptr<TrailShadow> shadow;
  std::unique_ptr<Engine> engine;
  StoreMaker makeStore = &MakePointStore;  // or the reference, MakeRowWalkPointStore

  int Load(const SceneFiles& files, ShowTime& time, PoolMemory& memory = DefaultPoolMemory()) {
    if (LoadScene(show, files.args, files.env, time, nullptr, memory, makeStore) == 0)
      return 0;
    shadow = std::make_unique<TrailShadow>(*show.TrailStore);
    engine = std::make_unique<Engine>(show.scene.specs, show.scene.map, *shadow, show.random, time);
    return 1;
  }
};

struct RunSummary {
  int passes = 0;
  bool finished = false;
  std::string broken;  // the first violated invariant, with the pass it broke on
  std::uint64_t peakStored = 0;
};

// Up to `maxPasses` passes, until the show is over or an invariant breaks.
inline RunSummary RunPasses(ShadowedShow& run, SimulatedClock& clock, PixelSink& sink,
                            int maxPasses, bool exactTrails) {
  RunSummary summary;
  while (summary.passes < maxPasses) {
    const int over = run.engine->DrawingPass(sink, clock);
    ++summary.passes;
    const std::uint64_t stored = run.show.TrailStore->StoredPoints();
    if (stored > summary.peakStored)
      summary.peakStored = stored;
    const std::string broken = CheckEngine(*run.engine, run.shadow.get(), exactTrails);
    if (!broken.empty()) {
      summary.broken = "pass " + std::to_string(summary.passes) + ": " + broken;
      break;
    }
    if (over != 0) {
      summary.finished = true;
      break;
    }
  }
  return summary;
}

}  // namespace zirvo::testing
