// One turn of one live swirl: count down its step delay, or draw (growing),
// erase then draw (crawling), or erase (fading), releasing it at the end; and
// the drawing pass, which gives every live swirl its turns. They share a file
// so that the compiler can fold the turns into the pass's loop.
#include <cassert>

#include "core/Wrap.h"
#include "engine/Engine.h"

namespace zirvo {

void Engine::AdvanceCursor(Swirl& swirl) {
  swirl.waitTicks = WrapAdd(swirl.waitTicks, -1);
  if (swirl.waitTicks < 0)
    swirl.waitTicks = specs_[swirl.spec].dt;
  if (ActiveCursor_ >= 0)
    ActiveCursor_ = SwirlAt(ActiveCursor_).next;
}

template <typename Store>
int Engine::StepSwirl(Store& store, PixelSink& pixels, std::int32_t slot, ScreenPoint& point) {
  Swirl& swirl = SwirlAt(slot);
  if (swirl.spec < 0 || swirl.trailRoom == 0)
    return 0;
  const SwirlSpec& kind = specs_[swirl.spec];
  const ScreenPoint next = lookAhead_.Take(slot, kind, swirl);
  point.x = next.x;
  point.y = next.y;

  swirl.trailRoom -= 1;
  swirl.pointsLeft -= 1;
  AdvanceCursor(swirl);

  point.colour = kind.colourMode < 0 ? PickColour(kind) : swirl.colour;

  const std::int32_t index = store.InsertPoint(swirl.newest, point);
  lookAhead_.PrepareAfter(store, pixels, slot, SwirlTable_, ActiveHead_);
  if (index == -1)
    return 0;
  swirl.newest = index;
  if (swirl.oldest == -1)
    swirl.oldest = index;
  map_.MapToScreen(point);
  return 1;
}

template <typename Store>
int Engine::TickSwirl(Store& store, PixelSink& pixels, std::int32_t slot, ScreenPoint& out) {
  Swirl& swirl = SwirlAt(slot);
  if (swirl.spec < 0)
    return 0;
  if (swirl.waitTicks != 0) {
    AdvanceCursor(swirl);
    return 0;
  }
  const SwirlSpec& kind = specs_[swirl.spec];
  if (swirl.pointsLeft == 0) {
    EraseTurn_ = kind.m == 0 ? 1 : 0;
    const int r = EraseOldest(store, swirl, out);
    // ">=" rather than "==": a kind with bs = 0 (or nv = 0) would otherwise
    // never be released, and with m = 0 its fading turn would never end.
    if (swirl.trailRoom >= kind.bs)
      ReleaseSwirl(slot);
    return r;
  }
  if (EraseTurn_ == 0 && swirl.trailRoom > 0)
    return StepSwirl(store, pixels, slot, out);
  if (EraseTurn_ != 0) {
    EraseTurn_ = 0;
    return StepSwirl(store, pixels, slot, out);
  }
  // A full trail: the turn erases, holding the turn (EraseTurn), then steps.
  // Both happen in this one call, the erased pixel set on the way: the
  // call that would follow could only take the branch above.
  EraseTurn_ = 1;
  if (EraseOldest(store, swirl, out) != 0 && out.x >= 0)
    pixels.SetPixel(out.x, out.y, out.colour);
  EraseTurn_ = 0;
  return StepSwirl(store, pixels, slot, out);
}

template <typename Store>
int Engine::EraseOldest(Store& store, Swirl& swirl, ScreenPoint& out) {
  if (swirl.spec < 0)
    return 0;
  swirl.oldest = store.RemovePoint(swirl.oldest, out);
  const int r = out.x >= 0 ? 1 : 0;
  if (r != 0)
    map_.MapToScreen(out);
  swirl.trailRoom += 1;
  if (swirl.oldest == -1)
    swirl.newest = -1;
  if (EraseTurn_ == 0)
    AdvanceCursor(swirl);
  return r;
}

template <typename Store>
int Engine::TickAt(Store& store, PixelSink& pixels, std::int32_t index, ScreenPoint& out) {
  if (index < 0 || index >= kMaxLiveSwirls)
    return 0;
  const int r = TickSwirl(store, pixels, index, out);
  return r != 0 && out.x >= 0 ? 1 : 0;
}

bool Engine::BeginPass() {
  if (SpawnAll() == 0)
    return false;
  ActiveCursor_ = ActiveHead_;
  return true;
}

// Flattened, as is TurnsOfPass: every call of the turn, the store and the
// look-ahead folds into one body, which spares the saving and restoring of
// registers around each call.
[[gnu::flatten]] void Engine::TakeTurn(PixelSink& pixels) {
  assert(PassUnderWay());
  WithStore([&](auto& store) { TakeTurnIn(store, pixels); });
}

template <typename Store>
void Engine::TakeTurnIn(Store& store, PixelSink& pixels) {
  ScreenPoint point;
  // The swirl under the cursor keeps its turn while EraseTurn is set; TickAt
  // moves the cursor on when the turn ends or the swirl is released.
  do {
    if (TickAt(store, pixels, ActiveCursor_, point) != 0)
      pixels.SetPixel(point.x, point.y, point.colour);
  } while (EraseTurn_ != 0);
}

template <typename Store>
[[gnu::flatten]] void Engine::TurnsOfPass(Store& store, PixelSink& pixels, Delayer& delay) {
  while (PassUnderWay()) {
    TakeTurnIn(store, pixels);
    delay.Delay();
  }
}

int Engine::DrawingPass(PixelSink& pixels, Delayer& delay) {
  if (BeginPass())
    WithStore([&](auto& store) { TurnsOfPass(store, pixels, delay); });
  return ShowFinished();
}

}  // namespace zirvo
