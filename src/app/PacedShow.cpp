#include "app/PacedShow.h"

#include <algorithm>
#include <cmath>

#include "app/Pacing.h"

namespace zirvo {

PacedShow::PacedShow(Engine& engine, SimulatedClock& clock) : engine_(engine), clock_(clock) {
  SetSpeed(1.0);
}

void PacedShow::SetSpeed(double factor) {
  // A factor that is no positive number leaves the calibrated speed. Slower
  // than a second per Delay, or faster than a nanosecond, is no speed anyone
  // watches; the bounds keep the conversion defined.
  const double calibrated = static_cast<double>(kCalibratedDelayNs);
  const double stepNs = factor > 0.0 ? calibrated / factor : calibrated;
  clock_.SetStepNs(static_cast<std::uint64_t>(std::llround(std::clamp(stepNs, 1.0, 1e9))));
}

PacedShow::FrameResult PacedShow::RunFrame(PixelSink& pixels, std::uint64_t realNs,
                                           std::uint64_t maxDelays) {
  FrameResult frame;
  // The last Delay of a frame may carry the clock past its target; the next
  // target counts on from the old one, so that overshoot is taken off the
  // next frame.
  targetNs_ += std::min(realNs, kMaxFrameNs);
  while (!finished_ && clock_.NowNs() < targetNs_) {
    if (frame.delays == maxDelays) {
      frame.behind = true;
      targetNs_ = clock_.NowNs();
      break;
    }
    if (!engine_.PassUnderWay()) {
      // The top of a pass: its Delay, then launching. A pass with no live
      // swirl ends at once.
      clock_.Delay();
      ++frame.delays;
      if (!engine_.BeginPass())
        finished_ = engine_.ShowFinished() != 0;
      continue;
    }
    engine_.TakeTurn(pixels);
    clock_.Delay();
    ++frame.delays;
    ++frame.turns;
    if (!engine_.PassUnderWay())
      finished_ = engine_.ShowFinished() != 0;
  }
  frame.finished = finished_;
  return frame;
}

}  // namespace zirvo
