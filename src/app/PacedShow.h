// One show paced by real time instead of a busy-wait: the drawing thread's loop
// (Delay, launching, each live swirl's turn followed by its Delay, the
// end-of-show test) cut at every Delay, so that a frame can stop between any
// two turns and the next one goes on exactly there. The show's clock moves one
// step at each Delay and is the show's time: its whole seconds are what a
// kind's start and stop are compared with. Each frame adds its real time to
// where that clock should be and pays Delays until it is there, so the show's
// seconds stay real seconds whatever the step; a shorter step (a higher speed)
// buys more Delays for the same time, as a shorter busy-wait does in zirvo.
// Run without stopping, it sets the same pixels in the same order as
// RunOnClock on the same clock.
#pragma once

#include <cstdint>
#include <limits>

#include "app/Clocks.h"
#include "engine/Engine.h"
#include "engine/PixelSink.h"
#include "engine/SimulatedClock.h"

namespace zirvo {

// Where a frame's work ends: at `deadlineNs` on the real clock, or once it has
// paid `delays` Delays, whichever comes first. Time not caught up by then is
// given up, so that one slow frame does not make the next one longer still.
struct FrameLimit {
  std::uint64_t deadlineNs = std::numeric_limits<std::uint64_t>::max();
  std::uint64_t delays = std::numeric_limits<std::uint64_t>::max();
};

// What a show did in one frame.
struct FrameProgress {
  std::uint64_t turns = 0;   // swirl turns taken
  std::uint64_t delays = 0;  // Delays paid: the turns and the tops of passes
  bool behind = false;       // the limit came before the show caught up
};

class PacedShow {
 public:
  // The real clock is looked at once every this many Delays (a look costs
  // about as much as a turn, a turn well under a microsecond).
  static constexpr std::uint64_t kDelaysPerClockLook = 32;

  // REQUIRES: `engine` reads the show's seconds from `clock`.
  PacedShow(Engine& engine, SimulatedClock& clock) : engine_(engine), clock_(clock) {}

  // Runs the show on by `realNs` of real time, each Delay `stepNs` long, within
  // `limit` (its deadline read on `clock`). Stops when the show ends by itself.
  // REQUIRES: stepNs > 0.
  FrameProgress Run(PixelSink& pixels, std::uint64_t realNs, std::uint64_t stepNs,
                    const FrameLimit& limit, NanosecondClock& clock);

  bool Finished() const { return finished_; }
  // The show's own seconds since it started.
  double Seconds() const { return clock_.Seconds(); }

 private:
  // Pays one Delay and takes what follows it up to the next one.
  void Step(PixelSink& pixels, FrameProgress& progress);

  Engine& engine_;
  SimulatedClock& clock_;
  std::uint64_t targetNs_ = 0;  // where the show's clock should be by now
  bool finished_ = false;
};

}  // namespace zirvo
