// What the drawing pass prepares a few turns before they come, so that the
// memory a turn touches has been fetched by the time it runs: the next point
// of the swirl whose turn comes kTurnsAhead turns later (computed now and kept
// for it in a MotionAhead), a hint of that turn to the store, and the screen
// pixels the turn will most likely set, hinted to the pass's sink.
// Nothing here changes what a turn does; a wrong guess costs only time.
// What it is worth: the benchmarks pass/dense/indexed against
// pass/dense/indexed/unhinted (the store's hints dropped).
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "core/ScreenPoint.h"
#include "engine/IndexedPointStore.h"
#include "engine/MotionAhead.h"
#include "engine/PixelSink.h"
#include "engine/PointStore.h"
#include "engine/Swirl.h"
#include "scene/KindTable.h"
#include "scene/ScreenMap.h"

namespace zirvo {

class TurnLookAhead {
 public:
  TurnLookAhead(const SpecTable& specs, const ScreenMap& map) : specs_(specs), map_(map) {}

  // MotionStep(kind, swirl) for the swirl in `slot`: the point prepared for
  // it when its inputs are unchanged, else computed now.
  ScreenPoint Take(std::int32_t slot, const SwirlSpec& kind, Swirl& swirl) {
    return ahead_[static_cast<std::size_t>(slot)].Take(kind, swirl);
  }

  // After the step of the swirl in `slot`: prepares the turn that comes
  // kTurnsAhead turns later, the active list read as a ring (as pass follows
  // pass) from `table` and `activeHead`, hints it to `store` and the screen
  // pixels it will most likely set (0..2) to `pixels`. A template, so that
  // the show's store takes its hint without a call.
  template <typename Store>
  void PrepareAfter(Store& store, PixelSink& pixels, std::int32_t slot,
                    std::span<const Swirl> table, std::int32_t activeHead);

  // Far enough for two rounds of memory fetches (see the store's PrefetchTurn)
  // to arrive between turns of about a tenth of a microsecond; from 6 on the
  // dense scene gains nothing more.
  static constexpr int kTurnsAhead = 8;
  // The store makes its second round half way.
  static_assert(static_cast<int>(IndexedPointStore::kHintDelay) * 2 == kTurnsAhead,
                "the store's second round of fetches comes half way through the look-ahead");

 private:
  // The slot whose turn comes kTurnsAhead turns after `from`'s, or -1.
  std::int32_t SlotAhead(std::int32_t from, std::span<const Swirl> table, std::int32_t activeHead);
  // Hints the pixel the coming turn will likely set (virtual coordinates,
  // x < 0: none), mapped to the screen, to `pixels`.
  void HintPixel(PixelSink& pixels, ScreenPoint& pixel) const;

  const SpecTable& specs_;
  const ScreenMap& map_;
  // Per slot: the next point, computed ahead.
  std::array<MotionAhead, kMaxLiveSwirls> ahead_{};
  // The last PrepareAfter: its swirl's slot, and the slot it prepared.
  std::int32_t aheadFrom_ = -1;
  std::int32_t aheadSlot_ = -1;
};

inline std::int32_t TurnLookAhead::SlotAhead(std::int32_t from, std::span<const Swirl> table,
                                             std::int32_t activeHead) {
  const auto nextOf = [&](std::int32_t slot) {
    const std::int32_t next = table[static_cast<std::size_t>(slot)].next;
    return next >= 0 ? next : activeHead;
  };
  std::int32_t slot = aheadSlot_;
  if (aheadFrom_ >= 0 && table[static_cast<std::size_t>(aheadFrom_)].next == from && slot >= 0) {
    // The turn after the last one prepared: the slot ahead moves on by one.
    // (Each swirl launched or released in between shifts it by a turn, until
    // a turn that does not follow the last one finds it afresh: at the latest
    // the first turn of the next pass.)
    slot = nextOf(slot);
  } else {
    slot = from;
    for (int turn = 0; turn < kTurnsAhead && slot >= 0; ++turn)
      slot = nextOf(slot);
  }
  aheadFrom_ = from;
  aheadSlot_ = slot;
  return slot;
}

inline void TurnLookAhead::HintPixel(PixelSink& pixels, ScreenPoint& pixel) const {
  if (pixel.x < 0)
    return;
  map_.MapToScreen(pixel);
  pixels.Prefetch(pixel.x, pixel.y);
}

template <typename Store>
void TurnLookAhead::PrepareAfter(Store& store, PixelSink& pixels, std::int32_t from,
                                 std::span<const Swirl> table, std::int32_t activeHead) {
  const std::int32_t slot = SlotAhead(from, table, activeHead);
  if (slot < 0)
    return;
  const Swirl& coming = table[static_cast<std::size_t>(slot)];
  if (coming.spec < 0)
    return;
  // Field by field: a pair of 32-bit fields written just now and read back
  // as one 64-bit word would stall the processor.
  ScreenPoint insert;
  if (const ScreenPoint* point =
          ahead_[static_cast<std::size_t>(slot)].Prepare(specs_[coming.spec], coming)) {
    insert.x = point->x;
    insert.y = point->y;
  }
  ScreenPoint repaint;
  store.PrefetchTurn(insert.x, insert.y, coming.oldest, repaint);
  HintPixel(pixels, insert);
  HintPixel(pixels, repaint);
}

}  // namespace zirvo
