// When the frames of a window are due: one interval after the last one was
// due, so that late frames do not slow the cadence, or one interval from now
// once the window fell a whole interval behind (those frames are skipped, not
// caught up). zirvo's presents and the frame pacer both keep it.
#pragma once

#include <cassert>
#include <cstdint>

namespace zirvo {

class FrameCadence {
 public:
  // REQUIRES: intervalNs > 0.
  explicit FrameCadence(std::uint64_t intervalNs) : intervalNs_(intervalNs) {
    assert(intervalNs > 0);
  }

  // The next frame's time, asked at `nowNs` after a frame (or before the first).
  std::uint64_t Next(std::uint64_t nowNs) {
    dueNs_ = dueNs_ == 0 ? nowNs + intervalNs_ : dueNs_ + intervalNs_;
    if (dueNs_ <= nowNs)
      dueNs_ = nowNs + intervalNs_;
    return dueNs_;
  }
  std::uint64_t IntervalNs() const { return intervalNs_; }

 private:
  std::uint64_t intervalNs_;
  std::uint64_t dueNs_ = 0;
};

}  // namespace zirvo
