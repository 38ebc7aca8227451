// A record of the frames the window presents: how long each present took and
// how long after the one before it came, summed up in one line at the end.
// zirvo-observed keeps one when ZIRVO_FRAME_LOG=SECONDS is set, leaving out the
// frames of the first SECONDS (while the scene fills up).
// A refresh with nothing changed presents nothing, so the intervals only mean
// something while the show draws.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace zirvo {

class FrameLog {
 public:
  using Clock = std::chrono::steady_clock;

  FrameLog(double refreshMs, double skipSeconds);

  // One present, from its first step (collecting the changes) to its last.
  void Presented(Clock::time_point start, Clock::time_point end);

  // "zirvo-frames frames=N refresh_ms=... present_max_ms=... ..." on one line.
  std::string Summary(const std::string& renderer) const;

 private:
  double refreshMs_;
  Clock::duration skip_;
  bool started_ = false;
  Clock::time_point firstStart_;
  bool counting_ = false;
  Clock::time_point lastStart_;
  std::uint64_t frames_ = 0;
  double presentTotalMs_ = 0;
  double presentMaxMs_ = 0;
  double intervalMaxMs_ = 0;
  std::uint64_t presentsOverRefresh_ = 0;
  std::uint64_t intervalsOverRefresh_ = 0;
  std::uint64_t refreshesMissed_ = 0;
};

}  // namespace zirvo
