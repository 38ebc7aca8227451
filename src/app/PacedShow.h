// The gentle pacing of the modes that draw by frames (the web page): no
// busy-wait. Each frame runs the turns that the real time since the last frame
// allows. Every turn, and the top of every pass, is worth one calibrated Delay
// at the chosen speed on the show's simulated clock, the same arithmetic as
// zirvo-render's, and the show's seconds are that clock's: a frame loop that
// cannot keep up slows the show down rather than skipping any of it.
//
// The passes are the drawing thread's, cut between turns: Delay, launching,
// then each live swirl's turn followed by its Delay, then the end-of-show test.
// However the frames cut them, the pixels come in the order RunOnClock sets
// them with the same step.
#pragma once

#include <cstdint>

#include "engine/Engine.h"
#include "engine/PixelSink.h"
#include "engine/SimulatedClock.h"

namespace zirvo {

class PacedShow {
 public:
  // A frame makes up at most this much real time: after a long stall (a hidden
  // page gets no frames) the show goes on from where it was.
  static constexpr std::uint64_t kMaxFrameNs = 250'000'000;

  // REQUIRES: `engine` reads the show's seconds from `clock`.
  PacedShow(Engine& engine, SimulatedClock& clock);

  struct FrameResult {
    std::uint64_t turns = 0;   // swirl turns taken
    std::uint64_t delays = 0;  // Delays paid: the turns and the pass tops
    bool behind = false;       // `maxDelays` ran out before the show caught up
    bool finished = false;     // the show has ended by itself
  };

  // Runs the show on by `realNs` of real time, paying at most `maxDelays`
  // Delays (the caller's bound on the frame's work); when that bound cuts the
  // frame short, the time not run is dropped.
  FrameResult RunFrame(PixelSink& pixels, std::uint64_t realNs, std::uint64_t maxDelays);

  // 1 is the calibrated speed of the show; each press of Up in the program
  // multiplies it by 1.44 (Pacing::kSpeedFactor).
  void SetSpeed(double factor);
  bool Finished() const { return finished_; }

 private:
  Engine& engine_;
  SimulatedClock& clock_;
  std::uint64_t targetNs_ = 0;  // where the show's clock should be by now
  bool finished_ = false;
};

}  // namespace zirvo
