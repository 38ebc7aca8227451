// The next point of a swirl: a point on an ellipse around the target, the ellipse
// turned by the tilt, the whole figure scaled exponentially about the start point.
// Each rounding to float stands where the show's pictures depend on it.
#include <cmath>

#include "core/Truncate.h"
#include "engine/Engine.h"

namespace zirvo {

void MotionPoint(const SwirlSpec& kind, const Swirl& swirl, float& angle, ScreenPoint& point) {
  const std::uint32_t k = kind.nv - swirl.pointsLeft;  // points computed so far
  const float kf = static_cast<float>(k);
  const float u = kind.v < 0.0f ? static_cast<float>(swirl.pointsLeft) : -kf;
  const float e = static_cast<float>(std::exp(double(u) * double(kind.v)));

  angle = static_cast<float>(double(swirl.angle) + double(kind.nw));
  const float a = static_cast<float>(std::sin(double(angle)) * double(kind.a));
  const float b = static_cast<float>(std::cos(double(angle)) * double(kind.b));

  // The tilt is computed afresh from k; its cosine is taken of phi rounded to float.
  const double phi = double(kf) * double(kind.nn) + double(swirl.tilt);
  const float sinPhi = static_cast<float>(std::sin(phi));
  const float cosPhi = static_cast<float>(std::cos(double(static_cast<float>(phi))));

  const double x =
      ((double(swirl.spanX) + double(a) * double(cosPhi)) + double(b) * double(sinPhi)) *
          double(e) +
      double(swirl.startX);
  const double y =
      ((double(swirl.spanY) - double(a) * double(sinPhi)) + double(b) * double(cosPhi)) *
          double(e) +
      double(swirl.startY);
  // A coordinate that is not finite or does not fit 32 bits lies off the virtual
  // screen: the store refuses it like any other point outside.
  const auto px = TruncToInt32(x);
  const auto py = TruncToInt32(y);
  point.x = px && py ? *px : -1;
  point.y = px && py ? *py : 0;
}

int Engine::StepSwirl(Swirl& swirl, ScreenPoint& point) {
  if (swirl.spec < 0 || swirl.trailRoom == 0)
    return 0;
  const SwirlSpec& kind = specs_[swirl.spec];
  const bool inTable = InTable(swirl);
  const ScreenPoint next = inTable
                               ? ahead_[static_cast<std::size_t>(SlotOf(swirl))].Take(kind, swirl)
                               : MotionStep(kind, swirl);
  point.x = next.x;
  point.y = next.y;

  swirl.trailRoom -= 1;
  swirl.pointsLeft -= 1;
  AdvanceCursor(swirl);

  point.colour = kind.colourMode < 0 ? PickColour(kind) : swirl.colour;

  const std::int32_t index = store_.InsertPoint(swirl.newest, point);
  if (inTable)
    PrepareTurnAhead(swirl);
  if (index == -1)
    return 0;
  swirl.newest = index;
  if (swirl.oldest == -1)
    swirl.oldest = index;
  map_.MapToScreen(point);
  return 1;
}

// The swirl whose turn comes kTurnsAhead turns after this one (the active list
// read as a ring, as pass follows pass) gets its next point now, and the store
// a hint of that turn: its insert and its removal then find their memory
// fetched. The pixels those will most likely set are kept for ComingPixels.
void Engine::PrepareTurnAhead(const Swirl& swirl) {
  comingCount_ = 0;
  const std::int32_t from = SlotOf(swirl);
  std::int32_t slot = aheadSlot_;
  if (aheadFrom_ >= 0 && SlotAt(aheadFrom_).next == from && slot >= 0) {
    // The turn after the last one prepared: the slot ahead moves on by one.
    // (Each swirl launched or released in between shifts it by a turn, until
    // a turn that does not follow the last one finds it afresh: at the latest
    // the first turn of the next pass. A hint a turn off costs only time.)
    slot = SlotAt(slot).next >= 0 ? SlotAt(slot).next : ActiveHead;
  } else {
    slot = from;
    for (int turn = 0; turn < kTurnsAhead && slot >= 0; ++turn)
      slot = SlotAt(slot).next >= 0 ? SlotAt(slot).next : ActiveHead;
  }
  aheadFrom_ = from;
  aheadSlot_ = slot;
  if (slot < 0)
    return;
  const Swirl& comingSwirl = SlotAt(slot);
  if (comingSwirl.spec < 0)
    return;
  ScreenPoint coming[2];  // the insert's pixel, the repaint's
  if (const ScreenPoint* point =
          ahead_[static_cast<std::size_t>(slot)].Prepare(specs_[comingSwirl.spec], comingSwirl)) {
    coming[0].x = point->x;
    coming[0].y = point->y;
  }
  store_.PrefetchTurn(coming[0].x, coming[0].y, comingSwirl.oldest, coming[1]);
  // Field by field: a pair of 32-bit fields written just now and read back as
  // one 64-bit word would stall the processor.
  for (ScreenPoint& pixel : coming) {
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
