#include "app/PacedShow.h"

#include <cassert>

namespace zirvo {

FrameProgress PacedShow::Run(PixelSink& pixels, std::uint64_t realNs, std::uint64_t stepNs,
                             const FrameLimit& limit, NanosecondClock& clock) {
  assert(stepNs > 0);
  FrameProgress progress;
  clock_.SetStepNs(stepNs);
  // The last Delay of a frame may carry the clock past its target; the next
  // target counts on from the old one, so that overshoot is taken off the
  // next frame.
  targetNs_ += realNs;
  while (!finished_ && clock_.NowNs() < targetNs_) {
    const bool outOfDelays = progress.delays == limit.delays;
    const bool lookAtClock = progress.delays % kDelaysPerClockLook == 0 && progress.delays > 0;
    if (outOfDelays || (lookAtClock && clock.NowNs() >= limit.deadlineNs)) {
      progress.behind = true;
      targetNs_ = clock_.NowNs();
      break;
    }
    Step(pixels, progress);
  }
  return progress;
}

void PacedShow::Step(PixelSink& pixels, FrameProgress& progress) {
  ++progress.delays;
  if (!engine_.PassUnderWay()) {
    // The top of a pass: its Delay, then launching. A pass with no live swirl
    // ends at once.
    clock_.Delay();
    if (!engine_.BeginPass())
      finished_ = engine_.ShowFinished() != 0;
    return;
  }
  engine_.TakeTurn(pixels);
  clock_.Delay();
  ++progress.turns;
  if (!engine_.PassUnderWay())
    finished_ = engine_.ShowFinished() != 0;
}

}  // namespace zirvo
