// What the drawing pass prepares a few turns before they come, so that the
// memory a turn touches has been fetched by the time it runs: the next point
// of the swirl whose turn comes kTurnsAhead turns later (computed now and kept
// for it in a MotionAhead), a hint of that turn to the store, and the screen
// pixels the turn will most likely set, which the pass hands to its sink.
// Nothing here changes what a turn does; a wrong guess costs only time.
// What it is worth: the benchmarks pass/dense/indexed against
// pass/dense/indexed/unhinted (the store's hints dropped).
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "core/ScreenPoint.h"
#include "engine/MotionAhead.h"
#include "engine/PointStore.h"
#include "engine/Swirl.h"
#include "scene/KindTable.h"
#include "scene/ScreenMap.h"

namespace zirvo {

class TurnLookAhead {
 public:
  TurnLookAhead(const SpecTable& specs, const ScreenMap& map, PointStore& store)
      : specs_(specs), map_(map), store_(store) {}

  // MotionStep(kind, swirl) for the swirl in `slot`: the point prepared for
  // it when its inputs are unchanged, else computed now.
  ScreenPoint Take(std::int32_t slot, const SwirlSpec& kind, Swirl& swirl) {
    return ahead_[static_cast<std::size_t>(slot)].Take(kind, swirl);
  }

  // After the step of the swirl in `slot`: prepares the turn that comes
  // kTurnsAhead turns later, the active list read as a ring (as pass follows
  // pass) from `table` and `activeHead`.
  void PrepareAfter(std::int32_t slot, std::span<const Swirl> table, std::int32_t activeHead);

  // The screen pixels the prepared turn will most likely set (0..2), until
  // the next PrepareAfter; each is handed out once.
  std::span<const ScreenPoint> TakeComingPixels() {
    const std::span<const ScreenPoint> pixels(coming_, static_cast<std::size_t>(comingCount_));
    comingCount_ = 0;
    return pixels;
  }

 private:
  // Far enough for two rounds of memory fetches (see the store's PrefetchTurn)
  // to arrive between turns of about a tenth of a microsecond; from 6 on the
  // dense scene gains nothing more.
  static constexpr int kTurnsAhead = 8;

  const SpecTable& specs_;
  const ScreenMap& map_;
  PointStore& store_;
  // Per slot: the next point, computed ahead.
  std::array<MotionAhead, kMaxLiveSwirls> ahead_{};
  // The last PrepareAfter: its swirl's slot, and the slot it prepared.
  std::int32_t aheadFrom_ = -1;
  std::int32_t aheadSlot_ = -1;
  ScreenPoint coming_[2];
  int comingCount_ = 0;
};

}  // namespace zirvo
