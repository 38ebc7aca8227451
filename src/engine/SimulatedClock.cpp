#include "engine/SimulatedClock.h"

namespace zirvo {

SimulatedRun RunOnClock(Engine& engine, SimulatedClock& clock, PixelSink& pixels,
                        std::uint64_t limitUs, const std::function<void()>& afterPass) {
  SimulatedRun run;
  for (;;) {
    clock.Delay();
    const int finished = engine.DrawingPass(pixels, clock);
    ++run.passes;
    if (afterPass)
      afterPass();
    if (finished != 0) {
      run.endedByItself = true;
      break;
    }
    if (clock.NowUs() >= limitUs)
      break;
  }
  return run;
}

}  // namespace zirvo
