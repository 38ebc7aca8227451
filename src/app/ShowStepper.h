// The drawing thread's loop (Delay, then one drawing pass) cut at every Delay,
// so that a caller paced by frames can stop between any two turns and go on
// later exactly where it stopped. Run without stopping, it sets the same pixels
// in the same order as RunOnClock on the same clock.
#pragma once

#include "engine/Engine.h"
#include "engine/PixelSink.h"
#include "engine/SimulatedClock.h"

namespace zirvo {

class ShowStepper {
 public:
  ShowStepper(Engine& engine, SimulatedClock& clock) : engine_(engine), clock_(clock) {}

  // Runs the loop up to and including its next Delay: the Delay at the top of
  // a pass (with the launching that follows it), or one swirl's turn and the
  // Delay after it. True when that step ended a pass and the show is over.
  bool Step(PixelSink& pixels);

 private:
  // The end-of-show test that closes every pass.
  bool PassEnded();

  Engine& engine_;
  SimulatedClock& clock_;
  bool inPass_ = false;
};

}  // namespace zirvo
