// The renderer's clock: it starts at 0 microseconds and moves only when the show
// waits (each Delay adds a fixed step). time() is its whole seconds and the
// show starts at 0, so the show's elapsed time is the clock's whole seconds.
#pragma once

#include <cstdint>
#include <functional>

#include "engine/DrawingPass.h"
#include "engine/Engine.h"

namespace zirvo::tools {

class SimulatedClock final : public Delayer, public ShowTime {
 public:
  explicit SimulatedClock(std::uint64_t stepUs) : stepUs_(stepUs) {}

  void Delay() override {
    nowUs_ += stepUs_;
    if (watcher_)
      watcher_(nowUs_);
  }
  std::uint32_t Elapsed() override { return static_cast<std::uint32_t>(nowUs_ / 1000000); }

  std::uint64_t NowUs() const { return nowUs_; }
  // Called with the new time after every step.
  void Watch(std::function<void(std::uint64_t)> watcher) { watcher_ = std::move(watcher); }

 private:
  std::uint64_t stepUs_;
  std::uint64_t nowUs_ = 0;
  std::function<void(std::uint64_t)> watcher_;
};

}  // namespace zirvo::tools
