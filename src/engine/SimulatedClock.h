// A clock that moves only when the show waits: each Delay adds a fixed step of
// microseconds, and the show's seconds are its whole seconds (the show starts
// at 0). With it the show is a pure function of its files, screen and seed:
// zirvo-render, the frame-paced modes, the tests, the fuzzers and the
// benchmarks all run on this one.
#pragma once

#include <cstdint>
#include <functional>

#include "engine/Delayer.h"
#include "engine/Engine.h"

namespace zirvo {

class SimulatedClock final : public Delayer, public ShowTime {
 public:
  explicit SimulatedClock(std::uint64_t stepUs) : stepUs_(stepUs) {}

  void Delay() override {
    nowUs_ += stepUs_;
    ++delays_;
    if (watcher_)
      watcher_(nowUs_);
  }
  std::uint32_t Elapsed() override { return static_cast<std::uint32_t>(nowUs_ / 1000000); }

  std::uint64_t NowUs() const { return nowUs_; }
  double Seconds() const { return static_cast<double>(nowUs_) / 1e6; }
  // Delay calls so far: the pass tops and the swirl turns.
  std::uint64_t Delays() const { return delays_; }
  std::uint64_t StepUs() const { return stepUs_; }
  // Called with the new time after every step.
  void Watch(std::function<void(std::uint64_t)> watcher) { watcher_ = std::move(watcher); }

 private:
  std::uint64_t stepUs_;
  std::uint64_t nowUs_ = 0;
  std::uint64_t delays_ = 0;
  std::function<void(std::uint64_t)> watcher_;
};

struct SimulatedRun {
  std::uint64_t passes = 0;
  bool endedByItself = false;  // the show finished before the time limit
};

// The drawing thread's loop, with nobody pausing: Delay, then one drawing
// pass; until the pass says the show is over, or once the clock reaches
// `limitUs`. `afterPass`, when given, is called after every pass.
SimulatedRun RunOnClock(Engine& engine, SimulatedClock& clock, PixelSink& pixels,
                        std::uint64_t limitUs, const std::function<void()>& afterPass = {});

}  // namespace zirvo
