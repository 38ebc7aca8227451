// The live swirls: the table of 500 slots, launching from the kinds, the motion
// of a swirl, its turns (grow, crawl, fade) with the trail erasing, and release.
// Everything here belongs to the drawing thread once the show runs.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "core/Random.h"
#include "core/ScreenPoint.h"
#include "engine/MotionAhead.h"
#include "engine/PointStore.h"
#include "scene/KindTable.h"
#include "scene/ScreenMap.h"

namespace zirvo {

// TwoPi / 32767: a random draw 0..32767 as an angle 0..2 pi.
inline const double AngleUnit = TwoPi / 32767.0;
// A random draw as a palette index 0..16.
constexpr double ColourUnit = 16.0 / 32767.0;

struct Swirl {
  std::int32_t spec = -1;  // kind index; negative: free slot
  std::uint32_t pointsLeft = 0;
  std::uint32_t trailRoom = 0;
  std::int32_t waitTicks = 0;
  std::int32_t prev = -1;
  std::int32_t next = -1;
  std::int32_t startX = 0;
  std::int32_t startY = 0;
  std::int32_t spanX = 0;
  std::int32_t spanY = 0;
  COLORREF colour = kBlack;
  float phase = 0.0f;
  float tilt = 0.0f;
  float angle = 0.0f;
  std::int32_t oldest = -1;
  std::int32_t newest = -1;

  int IsFreeSlot() const { return spec < 0 ? 1 : 0; }
};

// The motion alone: advances the swirl's orbit angle and returns its next point
// in virtual coordinates (x = -1 when a coordinate does not fit 32 bits). Counts
// nothing down and stores nothing; StepSwirl does that around it.
ScreenPoint MotionStep(const SwirlSpec& kind, Swirl& swirl);

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
  void AdvanceCursor(Swirl& swirl);
  int ShowFinished();

  // Motion: the next point of the swirl, stored and mapped. 1 when `point` holds
  // a pixel to set.
  int StepSwirl(Swirl& swirl, ScreenPoint& point);

  // Turns.
  int TickSwirl(std::int32_t slot, ScreenPoint& out);
  int EraseOldest(Swirl& swirl, ScreenPoint& out);
  int TickAt(std::int32_t index, ScreenPoint& out);

  // The screen pixels a turn a few turns ahead will most likely set: where its
  // swirl's next point and its oldest point lie, mapped. The count (0..2) of
  // `out` filled; asked once per turn, so that the pixels can be fetched
  // before they are written. Changes nothing.
  int ComingPixels(ScreenPoint (&out)[2]);

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
  static constexpr int kTurnsAhead = 4;

  SpecTable& specs_;
  const ScreenMap& map_;
  PointStore& store_;
  Random& random_;
  ShowTime& showTime_;
  // Per slot: the next point, computed ahead (PrepareTurnAhead).
  std::array<MotionAhead, kMaxLiveSwirls> ahead_{};
  std::int32_t preparedSlots_[2] = {-1, -1};  // the slots prepared last
  std::uint32_t preparedCount_ = 0;
  std::int32_t comingSlot_ = -1;  // the slot ComingPixels looks at next
};

}  // namespace zirvo
