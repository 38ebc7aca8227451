// The show's speed: a busy-wait of WaitCount repetitions of a fixed floating-point
// computation, calibrated at start-up to about a tenth of a millisecond, changed
// by the arrow keys. WaitCount is written by the window thread and read by the
// drawing thread, hence atomic (relaxed: a plain word without a data race).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "app/Clocks.h"
#include "engine/Delayer.h"
#include "engine/PixelSink.h"

namespace zirvo {

// What calibration aims at: one Delay is the 1024th part of 100 ms.
inline constexpr std::uint32_t kCalibrationTargetMs = 100;
inline constexpr int kCalibrationShift = 10;
// That Delay in nanoseconds (97656.25, truncated): what one Delay lasts in the
// modes paced by frames at speed 1 (app/FramePacer.h).
inline constexpr std::uint64_t kCalibratedDelayNs =
    (std::uint64_t{kCalibrationTargetMs} * 1000000) >> kCalibrationShift;

class Pacing final : public Delayer {
 public:
  static constexpr float kSpeedFactor = 1.44f;

  void Delay() override;
  void SpeedUp();
  void SlowDown();

  std::uint32_t Wait() const { return WaitCount.load(std::memory_order_relaxed); }
  void SetWait(std::uint32_t value) { WaitCount.store(value, std::memory_order_relaxed); }

  std::atomic<std::uint32_t> WaitCount{0};
};

// The fixed pixel work timed with each calibration trial: the 20 x 20 square at
// the screen's top-left corner set to black, x and y from 19 down to 0.
void CalibrationWork(PixelSink& display);

// Measures the machine: trials of 1, 10, 100, ... repetitions until one takes at
// least 100 ms, then interpolates the count for 100 ms and divides by 1024.
// Arithmetic in 64 bits; WaitCount saturates at 4294967295.
// `work` is the pixel work of each trial (CalibrationWork on the display device).
void Calibrate(Pacing& pacing, MillisecondClock& clock, const std::function<void()>& work);

// The same with each trial's busy-wait given separately (the pacing's own Delay
// in the show; a clock-driven test gives one that skips the minutes of waiting
// the largest counts would take).
void Calibrate(Pacing& pacing, MillisecondClock& clock, const std::function<void()>& work,
               Delayer& trialDelay);

// What one Delay lasts on this machine: the calibrated one when the settings
// leave the wait to calibration (`waitCount` 0); otherwise `waitCount`
// repetitions of Delay's computation at `repetitionNs` each, rounded, from
// 1 ns to 1000 s. A frame-paced mode given a settings file's wait runs at the
// speed that wait gives zirvo.
std::uint64_t DelayWorthNs(std::uint32_t waitCount, double repetitionNs);

// How long one repetition of Delay's computation takes here, in nanoseconds:
// the shortest of a few trials of a few milliseconds each.
double MeasureRepetitionNs(NanosecondClock& clock);

}  // namespace zirvo
