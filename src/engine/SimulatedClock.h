// A clock that moves only when the show waits: each Delay adds a fixed step
// (microseconds for the tools, nanoseconds where the step is the calibrated
// Delay), and the show's seconds are its whole seconds (the show starts at 0).
// With it the show is a pure function of its files, screen and seed:
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
  // The longest run in seconds: the show's whole seconds must fit 32 bits.
  static constexpr double kLongestSeconds = 4000000000.0;

  explicit SimulatedClock(std::uint64_t stepUs) : stepNs_(stepUs * 1000) {}

  // A clock whose step is not a whole number of microseconds: a frame-paced
  // show's calibrated Delay at the chosen speed.
  static SimulatedClock WithStepNs(std::uint64_t stepNs) {
    SimulatedClock clock(0);
    clock.stepNs_ = stepNs;
    return clock;
  }

  void Delay() override {
    nowNs_ += stepNs_;
    ++delays_;
    if (watcher_)
      watcher_(NowUs());
  }
  std::uint32_t Elapsed() override { return static_cast<std::uint32_t>(nowNs_ / 1000000000); }

  std::uint64_t NowUs() const { return nowNs_ / 1000; }
  std::uint64_t NowNs() const { return nowNs_; }
  double Seconds() const { return static_cast<double>(nowNs_) / 1e9; }
  // Delay calls so far: the pass tops and the swirl turns.
  std::uint64_t Delays() const { return delays_; }
  std::uint64_t StepNs() const { return stepNs_; }
  // Later steps take `stepNs` (a frame-paced show whose speed changed).
  void SetStepNs(std::uint64_t stepNs) { stepNs_ = stepNs; }
  // Called with the new time in microseconds after every step.
  void Watch(std::function<void(std::uint64_t)> watcher) { watcher_ = std::move(watcher); }

 private:
  std::uint64_t stepNs_;
  std::uint64_t nowNs_ = 0;
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
