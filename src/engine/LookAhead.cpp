#include "engine/LookAhead.h"

namespace zirvo {

void TurnLookAhead::PrepareAfter(std::int32_t from, std::span<const Swirl> table,
                                 std::int32_t activeHead) {
  comingCount_ = 0;
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
  if (slot < 0)
    return;
  const Swirl& coming = table[static_cast<std::size_t>(slot)];
  if (coming.spec < 0)
    return;
  ScreenPoint pixels[2];  // the insert's pixel, the repaint's
  if (const ScreenPoint* point =
          ahead_[static_cast<std::size_t>(slot)].Prepare(specs_[coming.spec], coming)) {
    pixels[0].x = point->x;
    pixels[0].y = point->y;
  }
  store_.PrefetchTurn(pixels[0].x, pixels[0].y, coming.oldest, pixels[1]);
  // Field by field: a pair of 32-bit fields written just now and read back as
  // one 64-bit word would stall the processor.
  for (ScreenPoint& pixel : pixels) {
    if (pixel.x >= 0) {
      map_.MapToScreen(pixel);
      if (pixel.x >= 0) {
        coming_[comingCount_].x = pixel.x;
        coming_[comingCount_].y = pixel.y;
        ++comingCount_;
      }
    }
  }
}

}  // namespace zirvo
