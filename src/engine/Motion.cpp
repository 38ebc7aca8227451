// The next point of a swirl: a point on an ellipse around the target, the ellipse
// turned by the tilt, the whole figure scaled exponentially about the start point.
// Each rounding to float stands where the show's pictures depend on it.
#include <cmath>

#include "core/Truncate.h"
#include "engine/Engine.h"

namespace zirvo {

ScreenPoint MotionStep(const SwirlSpec& kind, Swirl& swirl) {
  const std::uint32_t k = kind.nv - swirl.pointsLeft;  // points computed so far
  const float kf = static_cast<float>(k);
  const float u = kind.v < 0.0f ? static_cast<float>(swirl.pointsLeft) : -kf;
  const float e = static_cast<float>(std::exp(double(u) * double(kind.v)));

  swirl.angle = static_cast<float>(double(swirl.angle) + double(kind.nw));
  const float a = static_cast<float>(std::sin(double(swirl.angle)) * double(kind.a));
  const float b = static_cast<float>(std::cos(double(swirl.angle)) * double(kind.b));

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
  ScreenPoint point;
  point.x = px && py ? *px : -1;
  point.y = px && py ? *py : 0;
  return point;
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
// a hint of where it will go: that insert then finds its memory fetched.
void Engine::PrepareTurnAhead(const Swirl& swirl) {
  std::int32_t slot = SlotOf(swirl);
  for (int turn = 0; turn < kTurnsAhead && slot >= 0; ++turn)
    slot = SlotAt(slot).next >= 0 ? SlotAt(slot).next : ActiveHead;
  if (slot < 0)
    return;
  const Swirl& coming = SlotAt(slot);
  if (coming.spec < 0)
    return;
  if (const ScreenPoint* point =
          ahead_[static_cast<std::size_t>(slot)].Prepare(specs_[coming.spec], coming)) {
    store_.PrefetchInsert(point->x, point->y);
  }
  store_.PrefetchRemove(coming.oldest);
  // The pixels are asked for two turns later, once the oldest node is here.
  std::int32_t& earlier = preparedSlots_[preparedCount_++ % 2];
  comingSlot_ = earlier;
  earlier = slot;
}

int Engine::ComingPixels(ScreenPoint (&out)[2]) {
  const std::int32_t slot = comingSlot_;
  comingSlot_ = -1;
  if (slot < 0)
    return 0;
  int count = 0;
  if (const ScreenPoint* next = ahead_[static_cast<std::size_t>(slot)].Prepared()) {
    out[count] = *next;
    map_.MapToScreen(out[count]);
    count += out[count].x >= 0 ? 1 : 0;
  }
  const Swirl& coming = SlotAt(slot);
  if (coming.oldest >= 0 && store_.GetPoint(coming.oldest, out[count]) != 0 && out[count].x >= 0) {
    map_.MapToScreen(out[count]);
    count += out[count].x >= 0 ? 1 : 0;
  }
  return count;
}

}  // namespace zirvo
