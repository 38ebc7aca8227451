#include "app/FramePacing.h"

#include <algorithm>
#include <cmath>

#include "app/Pacing.h"

namespace zirvo {

std::uint64_t TurnWorthUs(std::uint32_t waitCount, double repetitionNs) {
  if (waitCount == 0)
    return kCalibratedTurnUs;
  const double us = static_cast<double>(waitCount) * repetitionNs / 1000.0;
  if (!(us >= 1.0))
    return 1;  // also a measurement that came out as no number
  return static_cast<std::uint64_t>(std::llround(std::min(us, 1e12)));
}

double MeasureRepetitionNs(MicrosecondClock& clock) {
  constexpr std::uint32_t kRepetitions = 200000;
  constexpr int kTrials = 5;
  Pacing pacing;
  pacing.SetWait(kRepetitions);
  std::uint64_t shortestUs = UINT64_MAX;
  for (int trial = 0; trial < kTrials; ++trial) {
    const std::uint64_t before = clock.NowUs();
    pacing.Delay();
    shortestUs = std::min(shortestUs, clock.NowUs() - before);
  }
  return static_cast<double>(shortestUs) * 1000.0 / kRepetitions;
}

}  // namespace zirvo
