#include "observed/FrameLog.h"

#include <cmath>
#include <cstdio>

namespace zirvo {

namespace {

double Milliseconds(FrameLog::Clock::duration span) {
  return std::chrono::duration<double, std::milli>(span).count();
}

}  // namespace

FrameLog::FrameLog(double refreshMs, double skipSeconds)
    : refreshMs_(refreshMs),
      skip_(std::chrono::duration_cast<Clock::duration>(
          std::chrono::duration<double>(skipSeconds > 0 ? skipSeconds : 0))) {}

void FrameLog::Presented(Clock::time_point start, Clock::time_point end) {
  if (!started_) {
    started_ = true;
    firstStart_ = start;
  }
  if (start - firstStart_ < skip_)
    return;
  const double presentMs = Milliseconds(end - start);
  ++frames_;
  presentTotalMs_ += presentMs;
  if (presentMs > presentMaxMs_)
    presentMaxMs_ = presentMs;
  if (presentMs > refreshMs_)
    ++presentsOverRefresh_;
  if (counting_) {
    const double intervalMs = Milliseconds(start - lastStart_);
    if (intervalMs > intervalMaxMs_)
      intervalMaxMs_ = intervalMs;
    if (intervalMs > refreshMs_)
      ++intervalsOverRefresh_;
    // The loop's timer runs in whole milliseconds, so an interval a little over
    // the refresh is jitter; one of 1.5 refreshes or more left a refresh without
    // a frame.
    if (intervalMs >= 1.5 * refreshMs_)
      refreshesMissed_ += static_cast<std::uint64_t>(std::llround(intervalMs / refreshMs_) - 1);
  }
  counting_ = true;
  lastStart_ = start;
}

std::string FrameLog::Summary(const std::string& renderer) const {
  char line[512];
  std::snprintf(line, sizeof line,
                "zirvo-frames frames=%llu refresh_ms=%.3f present_mean_ms=%.3f "
                "present_max_ms=%.3f interval_max_ms=%.3f presents_over_refresh=%llu "
                "intervals_over_refresh=%llu refreshes_missed=%llu renderer=%s",
                static_cast<unsigned long long>(frames_), refreshMs_,
                frames_ > 0 ? presentTotalMs_ / static_cast<double>(frames_) : 0.0, presentMaxMs_,
                intervalMaxMs_, static_cast<unsigned long long>(presentsOverRefresh_),
                static_cast<unsigned long long>(intervalsOverRefresh_),
                static_cast<unsigned long long>(refreshesMissed_), renderer.c_str());
  return line;
}

}  // namespace zirvo
