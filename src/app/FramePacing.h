// The gentle modes' sense of time: a real clock in microseconds, and what one
// Delay of the show is worth when a frame runs the turns that the elapsed real
// time allows. The faithful program keeps its busy-wait (Pacing); a frame-paced
// show spends no time waiting inside a turn, its clock moves by the worth of a
// Delay at each one (SimulatedClock), so on screen it keeps zirvo's speed.
#pragma once

#include <chrono>
#include <cstdint>

namespace zirvo {

// Real time in microseconds since some fixed start; never goes back.
class MicrosecondClock {
 public:
  virtual ~MicrosecondClock() = default;
  virtual std::uint64_t NowUs() = 0;
};

class SteadyMicrosecondClock final : public MicrosecondClock {
 public:
  std::uint64_t NowUs() override {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                          std::chrono::steady_clock::now() - start_)
                                          .count());
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// What the calibration aims one Delay at: 100 ms / 1024 = 97.66 us, in whole
// microseconds as the simulated clock counts them.
inline constexpr std::uint64_t kCalibratedTurnUs = 98;

// The worth of one Delay: the calibrated one when the settings leave the wait
// to calibration (`waitCount` 0); otherwise `waitCount` repetitions of the
// busy-wait's computation at `repetitionNs` each, rounded, at least 1 us.
std::uint64_t TurnWorthUs(std::uint32_t waitCount, double repetitionNs);

// How long one repetition of the busy-wait's computation takes here, in
// nanoseconds: the shortest of a few trials of a few milliseconds each.
double MeasureRepetitionNs(MicrosecondClock& clock);

}  // namespace zirvo
