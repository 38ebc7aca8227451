// The live swirls: the table of 500 slots, launching from the kinds, the motion
// of a swirl, its turns (grow, crawl, fade) with the trail erasing, and release.
// Everything here belongs to the drawing thread once the show runs.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>

#include "core/Random.h"
#include "core/ScreenPoint.h"
#include "engine/MotionAhead.h"
#include "engine/PointStore.h"
#include "engine/Swirl.h"
#include "engine/Wrap.h"
#include "scene/KindTable.h"
#include "scene/ScreenMap.h"

namespace zirvo {

// TwoPi / 32767: a random draw 0..32767 as an angle 0..2 pi.
inline const double AngleUnit = TwoPi / 32767.0;
// A random draw as a palette index 0..16.
constexpr double ColourUnit = 16.0 / 32767.0;

// Seconds since the show's start, as the unsigned difference time(NULL) -
// StartTime (the window thread moves StartTime on after a pause).
class ShowTime {
 public:
  virtual ~ShowTime() = default;
  virtual std::uint32_t Elapsed() = 0;
};

class Engine {
 public:
  Engine(SpecTable& specs, const ScreenMap& map, PointStore& store, Random& random,
         ShowTime& showTime);

  // Launching and release.
  void InitSwirl(Swirl& swirl, const SwirlSpec& kind);
  COLORREF PickColour(const SwirlSpec& kind);
  void SpawnFromSpec(std::int32_t kindIndex);
  int SpawnAll();
  void ReleaseSwirl(std::int32_t slot);
  void AdvanceCursor(Swirl& swirl) {
    swirl.waitTicks = WrapAdd(swirl.waitTicks, -1);
    if (swirl.waitTicks < 0)
      swirl.waitTicks = specs_[swirl.spec].dt;
    if (ActiveCursor >= 0)
      ActiveCursor = SlotAt(ActiveCursor).next;
  }
  int ShowFinished();

  // Motion: the next point of the swirl, stored and mapped. 1 when `point` holds
  // a pixel to set.
  int StepSwirl(Swirl& swirl, ScreenPoint& point);

  // Turns.
  int TickSwirl(std::int32_t slot, ScreenPoint& out);
  int EraseOldest(Swirl& swirl, ScreenPoint& out);
  int TickAt(std::int32_t index, ScreenPoint& out);

  // The screen pixels that turns a few turns ahead will most likely set: where
  // a swirl's next point lies, and a pixel a removal will repaint (0..2 of
  // them). Asked once per turn, so that the pixels can be fetched before they
  // are written; valid until the next turn. Changes nothing.
  std::span<const ScreenPoint> ComingPixels() {
    const std::span<const ScreenPoint> pixels(coming_, static_cast<std::size_t>(comingCount_));
    comingCount_ = 0;
    return pixels;
  }

  std::array<Swirl, kMaxLiveSwirls> SwirlTable{};
  std::int32_t FreeSlots = kMaxLiveSwirls;
  std::int32_t ActiveHead = -1;
  std::int32_t ActiveTail = -1;
  std::int32_t ActiveCursor = -1;
  std::int32_t EraseTurn = 0;

  SpecTable& specs() { return specs_; }
  PointStore& store() { return store_; }

 private:
  Swirl& SlotAt(std::int32_t slot) { return SwirlTable[static_cast<std::size_t>(slot)]; }
  std::int32_t SlotOf(const Swirl& swirl) const {
    return static_cast<std::int32_t>(&swirl - SwirlTable.data());
  }
  // Whether `swirl` is one of SwirlTable's (tests step swirls of their own).
  bool InTable(const Swirl& swirl) const {
    const std::less<const Swirl*> before;
    return !before(&swirl, SwirlTable.data()) &&
           before(&swirl, SwirlTable.data() + SwirlTable.size());
  }
  void PrepareTurnAhead(const Swirl& swirl);
  // Far enough for two rounds of memory fetches (see PrefetchTurn) to arrive
  // between turns of about a tenth of a microsecond; from 6 on the dense
  // scene gains nothing more.
  static constexpr int kTurnsAhead = 8;

  SpecTable& specs_;
  const ScreenMap& map_;
  PointStore& store_;
  Random& random_;
  ShowTime& showTime_;
  // Per slot: the next point, computed ahead (PrepareTurnAhead).
  std::array<MotionAhead, kMaxLiveSwirls> ahead_{};
  // The last PrepareTurnAhead: its swirl's slot, and the slot it prepared.
  std::int32_t aheadFrom_ = -1;
  std::int32_t aheadSlot_ = -1;
  // The pixels found by the last PrepareTurnAhead, for ComingPixels.
  ScreenPoint coming_[2];
  int comingCount_ = 0;
};

}  // namespace zirvo
