#include "app/FrameRate.h"

#include <cmath>

namespace zirvo {

bool FrameRate::Add(std::uint64_t nowNs, std::uint64_t turns, bool behind) {
  if (!started_) {
    started_ = true;
    windowStartNs_ = nowNs;
    return false;
  }
  ++frames_;
  turns_ += turns;
  behindInWindow_ = behindInWindow_ || behind;
  const std::uint64_t span = nowNs - windowStartNs_;
  if (span < 1'000'000'000)
    return false;
  const double seconds = static_cast<double>(span) / 1e9;
  fps_ = static_cast<double>(frames_) / seconds;
  turnsPerSecond_ = static_cast<double>(turns_) / seconds;
  behind_ = behindInWindow_;
  windowStartNs_ = nowNs;
  frames_ = 0;
  turns_ = 0;
  behindInWindow_ = false;
  return true;
}

std::string FrameRate::Text() const {
  std::string text = std::to_string(std::lround(fps_)) + " fps, " +
                     std::to_string(std::llround(turnsPerSecond_)) + " turns/s";
  if (behind_)
    text += ", behind";
  return text;
}

}  // namespace zirvo
