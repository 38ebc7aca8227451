// The live swirls: the table of 500 slots, launching from the kinds, the motion
// of a swirl, its turns (grow, crawl, fade) with the trail erasing, release, and
// the drawing pass that gives every live swirl its turn. The active list's
// cursor and the held erase turn (EraseTurn) are the engine's own: only a pass
// moves them. Everything here belongs to the drawing thread once the show runs.
#pragma once

#include <array>
#include <cassert>
#include <cstdint>
#include <span>

#include "core/Random.h"
#include "core/ScreenPoint.h"
#include "engine/Delayer.h"
#include "engine/IndexedPointStore.h"
#include "engine/LookAhead.h"
#include "engine/PixelSink.h"
#include "engine/PointStore.h"
#include "engine/Swirl.h"
#include "scene/KindTable.h"
#include "scene/ScreenMap.h"

namespace zirvo {

// TwoPi / 32767: a random draw 0..32767 as an angle 0..2 pi.
inline const double AngleUnit = TwoPi / Random::kMax;
// A random draw as a palette index 0..16.
constexpr double ColourUnit = 16.0 / Random::kMax;

// Seconds since the show's start, as the unsigned difference time(NULL) -
// StartTime (the window thread moves StartTime on after a pause).
class ShowTime {
 public:
  virtual ~ShowTime() = default;
  virtual std::uint32_t Elapsed() = 0;
};

class Engine {
 public:
  // All 500 slots free. The engine keeps references to all five.
  Engine(SpecTable& specs, const ScreenMap& map, PointStore& store, Random& random,
         ShowTime& showTime);
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // One pass of the drawing loop: launch (SpawnAll), then every live swirl's
  // turn, each followed by `delay`, then the end-of-show test. Returns
  // ShowFinished: non-zero when the show is over. The drawing thread and
  // zirvo-render both run exactly this.
  int DrawingPass(PixelSink& pixels, Delayer& delay);

  // The same pass a turn at a time, for a caller that must stop between two
  // turns (a show paced by frames): BeginPass launches and puts the cursor on
  // the first live swirl, and is false when none is live (the pass is empty);
  // then, while PassUnderWay, TakeTurn gives the swirl under the cursor its
  // turn and the caller pays its Delay. ShowFinished ends the pass.
  bool BeginPass();
  bool PassUnderWay() const { return ActiveCursor_ >= 0; }
  // REQUIRES: PassUnderWay().
  void TakeTurn(PixelSink& pixels);

  // Launching: every kind gets its chance, in file order. Non-zero when a
  // swirl is live afterwards.
  int SpawnAll();
  // Launches at most one swirl of kind `kindIndex`.
  // REQUIRES: 0 <= kindIndex < specs.SpecCount.
  void SpawnFromSpec(std::int32_t kindIndex);
  // Non-zero when every kind is past its stop time with no swirl live.
  int ShowFinished();
  // The colour of a new swirl, or of a new point of a kind with random colours
  // per point.
  COLORREF PickColour(const SwirlSpec& kind);
  // Frees `slot`, unlinking it from the active list, and gives its kind its
  // launch back; a free slot is left alone. Never touches the trail.
  // REQUIRES: 0 <= slot < kMaxLiveSwirls, and the swirl's trail is empty.
  void ReleaseSwirl(std::int32_t slot);

  // What a pass leaves behind, for tests and the invariant checks.
  // REQUIRES (SlotAt, SwirlForTest, SwirlAt): 0 <= slot < kMaxLiveSwirls.
  const Swirl& SlotAt(std::int32_t slot) const {
    assert(slot >= 0 && slot < kMaxLiveSwirls);
    return SwirlTable_[static_cast<std::size_t>(slot)];
  }
  std::span<const Swirl> SwirlTable() const { return SwirlTable_; }
  std::int32_t FreeSlots() const { return FreeSlots_; }
  std::int32_t ActiveHead() const { return ActiveHead_; }
  std::int32_t ActiveTail() const { return ActiveTail_; }
  std::int32_t ActiveCursor() const { return ActiveCursor_; }
  std::int32_t EraseTurn() const { return EraseTurn_; }
  const SpecTable& specs() const { return specs_; }
  const PointStore& store() const { return store_; }
  // A live swirl's fields, to be set between passes by a test that needs a
  // swirl in a given state (angles at zero, say).
  Swirl& SwirlForTest(std::int32_t slot) { return SwirlAt(slot); }

 private:
  Swirl& SwirlAt(std::int32_t slot) {
    assert(slot >= 0 && slot < kMaxLiveSwirls);
    return SwirlTable_[static_cast<std::size_t>(slot)];
  }

  void InitSwirl(Swirl& swirl, const SwirlSpec& kind);
  // The end of a turn: the swirl's wait counts down, the cursor moves on.
  void AdvanceCursor(Swirl& swirl);

  // The turns, compiled once for the show's store (so that its operations
  // fold into the pass) and once for any other behind PointStore. `store` is
  // always store_.
  // Calls `turns` with store_, as the show's store when it is that one.
  template <typename Turns>
  void WithStore(Turns&& turns) {
    if (showStore_ != nullptr)
      turns(*showStore_);
    else
      turns(store_);
  }
  template <typename Store>
  void TakeTurnIn(Store& store, PixelSink& pixels);
  // The rest of a begun pass: every turn, each followed by `delay`.
  template <typename Store>
  void TurnsOfPass(Store& store, PixelSink& pixels, Delayer& delay);
  // One call of a turn on the swirl in `slot`: counts down, or draws, erases,
  // releases. 1 when `out` holds a pixel to set. A crawling swirl's call
  // erases and draws: the erased pixel goes to `pixels` on the way.
  template <typename Store>
  int TickAt(Store& store, PixelSink& pixels, std::int32_t index, ScreenPoint& out);
  template <typename Store>
  int TickSwirl(Store& store, PixelSink& pixels, std::int32_t slot, ScreenPoint& out);
  // The next point of the swirl in `slot`, stored and mapped. 1 when `point`
  // holds a pixel to set. The look-ahead hints its coming pixels to `pixels`.
  template <typename Store>
  int StepSwirl(Store& store, PixelSink& pixels, std::int32_t slot, ScreenPoint& point);
  template <typename Store>
  int EraseOldest(Store& store, Swirl& swirl, ScreenPoint& out);

  SpecTable& specs_;
  const ScreenMap& map_;
  PointStore& store_;
  // store_ when it is the show's store, else null.
  IndexedPointStore* const showStore_;
  Random& random_;
  ShowTime& showTime_;

  std::array<Swirl, kMaxLiveSwirls> SwirlTable_{};
  std::int32_t FreeSlots_ = kMaxLiveSwirls;
  std::int32_t ActiveHead_ = -1;
  std::int32_t ActiveTail_ = -1;
  // The slot whose turn it is during a pass; -1 between passes.
  std::int32_t ActiveCursor_ = -1;
  // Set while the swirl under the cursor keeps its turn to erase again.
  std::int32_t EraseTurn_ = 0;

  TurnLookAhead lookAhead_;
};

}  // namespace zirvo
