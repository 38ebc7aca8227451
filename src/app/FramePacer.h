// The frame pacer of every mode that draws by frames (zirvo-saver, zirvo.scr,
// the web page): no busy-wait. At each frame every show runs the Delays that
// the real time since the last frame buys (see PacedShow), each Delay one step
// of the show's clock. The clock rule is zirvo's: the speed changes how long a
// Delay lasts (the step is the Delay's worth divided by the speed), never what
// a second of the show is, so a kind's start and stop are real seconds at
// every speed and the turns per second follow the speed.
//
// A frame's work ends at its deadline (half a frame interval from its start,
// shared out among the shows) or at the Delay budget its caller gives; a show
// that cannot keep up runs slower than real time and the frame says "behind".
// The backend then presents what changed and waits until NextFrameNs.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "app/Clocks.h"
#include "app/FrameCadence.h"
#include "app/PacedShow.h"
#include "app/Pacing.h"

namespace zirvo {

// A show the pacer serves: a saver's show on its area, the page's one show.
class FramedShow {
 public:
  virtual ~FramedShow() = default;
  // As PacedShow::Run, on the show's own pixels.
  virtual FrameProgress RunFrame(std::uint64_t realNs, std::uint64_t stepNs,
                                 const FrameLimit& limit, NanosecondClock& clock) = 0;
};

// What one frame did, over all shows.
struct FrameWork {
  std::uint64_t turns = 0;
  std::uint64_t delays = 0;
  bool behind = false;  // some show gave up time at its limit
};

class FramePacer {
 public:
  // Speeds beyond these are no speed anyone watches.
  static constexpr double kMinSpeed = 1.0 / 64;
  static constexpr double kMaxSpeed = 64.0;
  // A display that does not say its refresh is taken to refresh at 60 Hz.
  static constexpr std::uint64_t kDefaultFrameNs = 1'000'000'000 / 60;
  // A frame makes up at most this much real time: after a long stall (a
  // hidden page, a suspended machine) the shows go on from where they were.
  static constexpr std::uint64_t kLongestFrameNs = 250'000'000;

  // The frame interval of a display refreshing `hertz` times a second; 0 and
  // 1 (how Windows says "the hardware's default") give kDefaultFrameNs.
  static std::uint64_t FrameNsOfRefresh(int hertz);
  // zirvo's speed after `steps` presses of Up (Down when negative), each by
  // its factor 1.44, within kMinSpeed..kMaxSpeed.
  static double SpeedOfSteps(int steps);

  // `delayNs` is what one Delay lasts at speed 1 (DelayWorthNs); `speed` is
  // kept within kMinSpeed..kMaxSpeed.
  // REQUIRES: frameNs > 0, delayNs > 0.
  FramePacer(NanosecondClock& clock, std::uint64_t frameNs,
             std::uint64_t delayNs = kCalibratedDelayNs, double speed = 1.0);

  // The shows, served in this order; the pacer does not own them.
  void SetShows(std::vector<FramedShow*> shows) { shows_ = std::move(shows); }

  // One frame's work, within `limit` beside the frame's own deadline. The
  // first frame only takes the time.
  FrameWork RunFrame(const FrameLimit& limit = {});
  // When the next frame is due (FrameCadence).
  std::uint64_t NextFrameNs() { return cadence_.Next(clock_.NowNs()); }
  NanosecondClock& Clock() { return clock_; }

  // Paused, the shows stand still (banners too); resuming counts only time
  // from then on.
  void SetPaused(bool paused) { paused_ = paused; }
  bool Paused() const { return paused_; }
  // By zirvo's factor 1.44 (its Up and Down keys), within the bounds. A
  // value that is no positive number leaves the speed as it is.
  void SpeedUp();
  void SlowDown();
  void SetSpeed(double speed);
  double Speed() const { return speed_; }
  // What one Delay lasts now: the Delay's worth at the speed, at least 1 ns.
  std::uint64_t StepNs() const;
  std::uint64_t DelayNs() const { return delayNs_; }
  std::uint64_t FrameNs() const { return cadence_.IntervalNs(); }

  std::uint64_t Frames() const { return frames_; }
  std::uint64_t Turns() const { return turns_; }

 private:
  NanosecondClock& clock_;
  FrameCadence cadence_;
  std::uint64_t delayNs_;
  double speed_ = 1.0;
  std::vector<FramedShow*> shows_;
  bool started_ = false;
  std::uint64_t lastRunNs_ = 0;
  bool paused_ = false;
  std::uint64_t frames_ = 0;
  std::uint64_t turns_ = 0;
};

}  // namespace zirvo
