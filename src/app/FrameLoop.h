// The frame loop of the gentle modes, one for every backend: at each frame
// every show runs the turns that the real time since the last frame allows at
// the chosen speed (each turn worth one Delay, see FramePacing.h), all of them
// within about half a frame interval; the backend then presents what changed
// and sleeps until NextFrameUs. No busy-wait anywhere.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "app/FramePacing.h"
#include "app/SaverShow.h"

namespace zirvo {

// What one frame did, over all shows.
struct FrameWork {
  std::uint64_t turns = 0;
  bool behind = false;  // some show gave up time at its deadline
};

class FrameLoop {
 public:
  static constexpr double kMinSpeed = 1.0 / 64;
  static constexpr double kMaxSpeed = 64.0;

  // REQUIRES: frameUs > 0, speed > 0.
  FrameLoop(MicrosecondClock& clock, std::uint64_t frameUs, double speed);

  // The shows, served in this order; the loop does not own them.
  void SetShows(std::vector<SaverShow*> shows) { shows_ = std::move(shows); }

  // One frame's work. The first frame only takes the time.
  FrameWork RunFrame();
  // When the next frame is due: one interval after the last one was due, or
  // one interval from now when the loop fell that far behind.
  std::uint64_t NextFrameUs();

  // Paused, the shows stand still (banners too); resuming counts only time
  // from then on.
  void TogglePause() { paused_ = !paused_; }
  bool Paused() const { return paused_; }
  // By zirvo's factor 1.44 (its Up and Down keys), within kMinSpeed..kMaxSpeed.
  void SpeedUp();
  void SlowDown();
  double Speed() const { return speed_; }
  std::uint64_t FrameUs() const { return frameUs_; }

  // Every show from the beginning of its scene.
  void RestartAll();

  std::uint64_t Frames() const { return frames_; }
  std::uint64_t Turns() const { return turns_; }

 private:
  MicrosecondClock& clock_;
  std::uint64_t frameUs_;
  double speed_;
  std::vector<SaverShow*> shows_;
  bool started_ = false;
  std::uint64_t lastRunUs_ = 0;
  std::uint64_t dueUs_ = 0;
  bool paused_ = false;
  std::uint64_t frames_ = 0;
  std::uint64_t turns_ = 0;
};

}  // namespace zirvo
