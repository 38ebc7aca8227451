#include "render/Simulation.h"

namespace zirvo::tools {

RunResult RunShow(Engine& engine, SimulatedClock& clock, PixelSink& pixels, std::uint64_t limitUs,
                  Progress& progress) {
  RunResult result;
  for (;;) {
    clock.Delay();
    const int finished = DrawingPass(engine, pixels, clock);
    ++result.passes;
    progress.Update(clock.NowUs());
    if (finished != 0) {
      result.endedByItself = true;
      break;
    }
    if (clock.NowUs() >= limitUs)
      break;
  }
  progress.Done();
  return result;
}

}  // namespace zirvo::tools
