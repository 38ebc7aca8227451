#include "app/FramePacer.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace zirvo {

std::uint64_t FramePacer::FrameNsOfRefresh(int hertz) {
  return hertz > 1 ? 1'000'000'000 / static_cast<std::uint64_t>(hertz) : kDefaultFrameNs;
}

double FramePacer::SpeedOfSteps(int steps) {
  const double speed = std::pow(static_cast<double>(Pacing::kSpeedFactor), steps);
  return std::clamp(speed, kMinSpeed, kMaxSpeed);
}

FramePacer::FramePacer(NanosecondClock& clock, std::uint64_t frameNs, std::uint64_t delayNs,
                       double speed)
    : clock_(clock), cadence_(frameNs), delayNs_(delayNs) {
  assert(delayNs > 0);
  SetSpeed(speed);
}

FrameWork FramePacer::RunFrame(const FrameLimit& limit) {
  FrameWork work;
  const std::uint64_t start = clock_.NowNs();
  const std::uint64_t elapsed = started_ ? std::min(start - lastRunNs_, kLongestFrameNs) : 0;
  started_ = true;
  lastRunNs_ = start;
  ++frames_;
  if (paused_ || shows_.empty())
    return work;

  // Half an interval for the Delays, shared out: a show that needs less of
  // its share leaves the rest to the ones after it.
  const std::uint64_t budget = FrameNs() / 2;
  const std::uint64_t count = shows_.size();
  const std::uint64_t step = StepNs();
  std::uint64_t delaysLeft = limit.delays;
  for (std::uint64_t i = 0; i < count; ++i) {
    FrameLimit mine;
    mine.deadlineNs = std::min(limit.deadlineNs, start + budget * (i + 1) / count);
    mine.delays = delaysLeft;
    const FrameProgress progress = shows_[i]->RunFrame(elapsed, step, mine, clock_);
    work.turns += progress.turns;
    work.delays += progress.delays;
    work.behind = work.behind || progress.behind;
    delaysLeft -= std::min(delaysLeft, progress.delays);
  }
  turns_ += work.turns;
  return work;
}

void FramePacer::SpeedUp() {
  SetSpeed(speed_ * static_cast<double>(Pacing::kSpeedFactor));
}

void FramePacer::SlowDown() {
  SetSpeed(speed_ / static_cast<double>(Pacing::kSpeedFactor));
}

void FramePacer::SetSpeed(double speed) {
  if (speed > 0.0)  // also false for no number at all
    speed_ = std::clamp(speed, kMinSpeed, kMaxSpeed);
}

std::uint64_t FramePacer::StepNs() const {
  const double step = static_cast<double>(delayNs_) / speed_;
  return std::max<std::uint64_t>(1, static_cast<std::uint64_t>(std::llround(step)));
}

}  // namespace zirvo
