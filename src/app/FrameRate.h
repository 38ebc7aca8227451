// The figures --fps shows in a corner: frames and turns per second over the
// last second, and whether the show runs behind (some frame gave up time).
#pragma once

#include <cstdint>
#include <string>

namespace zirvo {

class FrameRate {
 public:
  // Counts one frame that ran `turns` turns, at `nowNs`. True when a new
  // reading is ready (at most once a second).
  bool Add(std::uint64_t nowNs, std::uint64_t turns, bool behind);

  double FramesPerSecond() const { return fps_; }
  double TurnsPerSecond() const { return turnsPerSecond_; }
  bool Behind() const { return behind_; }
  // "60 fps, 10204 turns/s", with ", behind" when it ran behind.
  std::string Text() const;

 private:
  bool started_ = false;
  std::uint64_t windowStartNs_ = 0;
  std::uint64_t frames_ = 0;
  std::uint64_t turns_ = 0;
  bool behindInWindow_ = false;
  double fps_ = 0;
  double turnsPerSecond_ = 0;
  bool behind_ = false;
};

}  // namespace zirvo
