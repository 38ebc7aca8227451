#include "app/Pacing.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/Truncate.h"

namespace zirvo {

namespace {

constexpr std::uint32_t kMaxWait = std::numeric_limits<std::uint32_t>::max();

std::uint32_t Saturate32(std::uint64_t value) {
  return value > kMaxWait ? kMaxWait : static_cast<std::uint32_t>(value);
}

}  // namespace

void Pacing::Delay() {
  const std::uint32_t count = WaitCount.load(std::memory_order_relaxed);
  // Volatile argument and result: every repetition loads 10.0, really computes
  // the logarithm and stores it, so nothing can be folded, hoisted or dropped.
  volatile double argument = 10.0;
  volatile double result = 0.0;
  for (std::uint32_t i = 0; i < count; ++i) {
    result = std::log(argument);
  }
  static_cast<void>(result);
}

void Pacing::SpeedUp() {
  const double quotient = static_cast<double>(Wait()) / static_cast<double>(kSpeedFactor);
  // The quotient is never above the count, so it always fits.
  const std::uint32_t value = TruncToUint32(quotient).value_or(kMaxWait);
  SetWait(value == 0 ? 1 : value);
}

void Pacing::SlowDown() {
  const double product = static_cast<double>(Wait()) * static_cast<double>(kSpeedFactor);
  // Near the top of the range the product no longer fits: stay at the maximum.
  SetWait(TruncToUint32(product).value_or(kMaxWait));
}

void CalibrationWork(PixelSink& display) {
  for (std::int32_t x = 19; x >= 0; --x) {
    for (std::int32_t y = 19; y >= 0; --y) {
      display.SetPixel(x, y, kBlack);
    }
  }
}

void Calibrate(Pacing& pacing, MillisecondClock& clock, const std::function<void()>& work) {
  Calibrate(pacing, clock, work, pacing);
}

void Calibrate(Pacing& pacing, MillisecondClock& clock, const std::function<void()>& work,
               Delayer& trialDelay) {
  // Trials of 1, 10, 100, ... repetitions until one takes 100 ms. The counts are
  // 64-bit and stop growing at the largest WaitCount, so nothing wraps.
  std::uint64_t count = 1;
  std::uint64_t previousCount = 0;
  std::uint32_t previousMs = 0;
  std::uint32_t elapsedMs = 0;
  for (;;) {
    pacing.SetWait(Saturate32(count));
    previousMs = elapsedMs;
    const std::uint32_t before = clock.ElapsedMs();
    trialDelay.Delay();
    work();
    elapsedMs = clock.ElapsedMs() - before;
    if (elapsedMs >= kCalibrationTargetMs)
      break;
    if (count >= kMaxWait) {
      // Even the largest count took under 100 ms: extend the line through the
      // last two trials, or, when they took equally long, stay at the maximum.
      if (elapsedMs <= previousMs) {
        pacing.SetWait(kMaxWait);
        return;
      }
      break;
    }
    previousCount = count;
    count = count * 10 > kMaxWait ? kMaxWait : count * 10;
  }
  // The count that takes 100 ms, on the line through the last two trials.
  const std::uint64_t countFor100Ms = std::uint64_t{kCalibrationTargetMs - previousMs} *
                                          (count - previousCount) / (elapsedMs - previousMs) +
                                      previousCount;
  pacing.SetWait(Saturate32(countFor100Ms >> kCalibrationShift));
}

std::uint64_t DelayWorthNs(std::uint32_t waitCount, double repetitionNs) {
  if (waitCount == 0)
    return kCalibratedDelayNs;
  constexpr double kLongestNs = 1e12;
  const double ns = static_cast<double>(waitCount) * repetitionNs;
  if (!(ns >= 1.0))
    return 1;  // also a measurement that came out as no number
  return static_cast<std::uint64_t>(std::llround(std::min(ns, kLongestNs)));
}

double MeasureRepetitionNs(NanosecondClock& clock) {
  constexpr std::uint32_t kRepetitions = 200000;
  constexpr int kTrials = 5;
  Pacing pacing;
  pacing.SetWait(kRepetitions);
  std::uint64_t shortestNs = std::numeric_limits<std::uint64_t>::max();
  for (int trial = 0; trial < kTrials; ++trial) {
    const std::uint64_t before = clock.NowNs();
    pacing.Delay();
    shortestNs = std::min(shortestNs, clock.NowNs() - before);
  }
  return static_cast<double>(shortestNs) / kRepetitions;
}

}  // namespace zirvo
