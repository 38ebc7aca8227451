#include "app/FrameLoop.h"

#include <algorithm>
#include <cassert>

#include "app/Pacing.h"

namespace zirvo {

FrameLoop::FrameLoop(MicrosecondClock& clock, std::uint64_t frameUs, double speed)
    : clock_(clock), frameUs_(frameUs), speed_(std::clamp(speed, kMinSpeed, kMaxSpeed)) {
  assert(frameUs > 0);
}

FrameWork FrameLoop::RunFrame() {
  FrameWork work;
  const std::uint64_t start = clock_.NowUs();
  const std::uint64_t elapsed = started_ ? start - lastRunUs_ : 0;
  started_ = true;
  lastRunUs_ = start;
  ++frames_;
  if (paused_ || shows_.empty())
    return work;

  const double showUs = static_cast<double>(elapsed) * speed_;
  // Half an interval for the turns, shared out: a show that needs less of its
  // share leaves the rest to the ones after it.
  const std::uint64_t budget = frameUs_ / 2;
  const std::uint64_t count = shows_.size();
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::uint64_t deadline = start + budget * (i + 1) / count;
    const ShowProgress progress = shows_[i]->Run(showUs, deadline, clock_);
    work.turns += progress.turns;
    work.behind = work.behind || progress.behind;
  }
  turns_ += work.turns;
  return work;
}

std::uint64_t FrameLoop::NextFrameUs() {
  const std::uint64_t now = clock_.NowUs();
  dueUs_ = dueUs_ == 0 ? now + frameUs_ : dueUs_ + frameUs_;
  if (dueUs_ <= now)
    dueUs_ = now + frameUs_;
  return dueUs_;
}

void FrameLoop::SpeedUp() {
  speed_ = std::min(kMaxSpeed, speed_ * static_cast<double>(Pacing::kSpeedFactor));
}

void FrameLoop::SlowDown() {
  speed_ = std::max(kMinSpeed, speed_ / static_cast<double>(Pacing::kSpeedFactor));
}

void FrameLoop::RestartAll() {
  const std::uint64_t now = clock_.NowUs();
  for (SaverShow* show : shows_)
    show->Start(now);
}

}  // namespace zirvo
