// Launching swirls from their kinds, releasing them, the cursor, and the end
// of the show.
#include <limits>

#include <cassert>

#include "core/Truncate.h"
#include "core/Wrap.h"
#include "engine/Engine.h"
#include "scene/KindRules.h"

namespace zirvo {

namespace {

// A start or target coordinate. Random ones lie within the virtual screen; a
// fixed one is an integer already. Saturation only guards differences of
// extreme fixed values, whose points lie far off the screen either way.
std::int32_t Saturate(double value) {
  if (auto v = TruncToInt32(value))
    return *v;
  return value < 0 ? std::numeric_limits<std::int32_t>::min()
                   : std::numeric_limits<std::int32_t>::max();
}

}  // namespace

Engine::Engine(SpecTable& specs, const ScreenMap& map, PointStore& store, Random& random,
               ShowTime& showTime)
    : specs_(specs),
      map_(map),
      store_(store),
      showStore_(dynamic_cast<IndexedPointStore*>(&store)),
      random_(random),
      showTime_(showTime),
      lookAhead_(specs, map) {
  for (Swirl& swirl : SwirlTable_)
    swirl.spec = -1;
}

COLORREF Engine::PickColour(const SwirlSpec& kind) {
  if (kind.colourMode == 0)
    return kind.colour;
  for (;;) {
    const int r = random_.Next();
    const int c = static_cast<int>(r * ColourUnit);  // 0..16; 0 and 16 are drawn again
    if (c != 0 && c != 16)
      return Palette16[static_cast<std::size_t>(c)];
  }
}

void Engine::InitSwirl(Swirl& swirl, const SwirlSpec& kind) {
  swirl.newest = swirl.oldest = swirl.next = swirl.prev = -1;
  swirl.pointsLeft = kind.nv;
  swirl.trailRoom = kind.bs;
  swirl.waitTicks = 0;

  // Random numbers are drawn in exactly this order, each only where needed.
  const double sx = kind.pxRandom != 0 ? random_.Next() * map_.RandXUnit : double(kind.px);
  swirl.startX = Saturate(sx);
  const double sy = kind.pyRandom != 0 ? random_.Next() * map_.RandYUnit : double(kind.py);
  swirl.startY = Saturate(sy);
  // The span is taken from the untruncated target.
  const double tx = kind.fxRandom != 0 ? random_.Next() * map_.RandXUnit : double(kind.fx);
  swirl.spanX = Saturate(tx - swirl.startX);
  const double ty = kind.fyRandom != 0 ? random_.Next() * map_.RandYUnit : double(kind.fy);
  swirl.spanY = Saturate(ty - swirl.startY);

  swirl.angle = static_cast<float>(random_.Next() * AngleUnit);
  swirl.tilt = static_cast<float>(random_.Next() * AngleUnit);
  swirl.colour = PickColour(kind);
}

void Engine::SpawnFromSpec(std::int32_t kindIndex) {
  assert(kindIndex >= 0 && kindIndex < specs_.SpecCount);
  SwirlSpec& kind = specs_[kindIndex];
  const std::uint32_t elapsed = showTime_.Elapsed();
  if (BeforeStart(kind, elapsed) || PastStop(kind, elapsed))
    return;
  if (kind.launchesLeft < 0)
    kind.launchesLeft = kind.n;
  if (FreeSlots_ == 0)
    return;
  if (kind.launchesLeft == 0)
    return;
  if (HasLiveSwirls(kind)) {
    // Some of the kind are live: launch with a chance of about launchesLeft / p.
    // Both products wrap in 32 bits and compare unsigned.
    const auto r = static_cast<std::uint32_t>(random_.Next());
    const std::uint32_t draw = r * static_cast<std::uint32_t>(kind.p);
    const std::uint32_t bar = static_cast<std::uint32_t>(kind.launchesLeft) * Random::kMax;
    if (draw > bar)
      return;
  }
  std::int32_t slot = -1;
  for (std::int32_t i = 0; i < kMaxLiveSwirls; ++i) {
    if (SwirlAt(i).IsFreeSlot() != 0) {
      slot = i;
      break;
    }
  }
  if (slot < 0)
    return;  // FreeSlots > 0 promises one; never trust a count blindly

  Swirl& swirl = SwirlAt(slot);
  InitSwirl(swirl, kind);
  swirl.spec = kindIndex;
  if (ActiveTail_ >= 0) {
    SwirlAt(ActiveTail_).next = slot;
    swirl.prev = ActiveTail_;
  }
  ActiveTail_ = slot;
  if (ActiveHead_ < 0)
    ActiveHead_ = slot;

  kind.launchesLeft = WrapAdd(kind.launchesLeft, -1);
  FreeSlots_ -= 1;
}

int Engine::SpawnAll() {
  for (std::int32_t k = 0; k < specs_.SpecCount; ++k)
    SpawnFromSpec(k);
  return FreeSlots_ < kMaxLiveSwirls ? 1 : 0;
}

void Engine::ReleaseSwirl(std::int32_t slot) {
  assert(slot >= 0 && slot < kMaxLiveSwirls);
  Swirl& swirl = SwirlAt(slot);
  if (swirl.spec < 0)
    return;
  if (ActiveCursor_ == slot)
    ActiveCursor_ = swirl.next;
  EraseTurn_ = 0;
  if (ActiveHead_ == slot)
    ActiveHead_ = swirl.next;
  if (ActiveTail_ == slot)
    ActiveTail_ = swirl.prev;
  if (swirl.prev >= 0)
    SwirlAt(swirl.prev).next = swirl.next;
  if (swirl.next >= 0)
    SwirlAt(swirl.next).prev = swirl.prev;
  SwirlSpec& kind = specs_[swirl.spec];
  kind.launchesLeft = WrapAdd(kind.launchesLeft, 1);
  FreeSlots_ += 1;
  swirl.spec = -1;
}

int Engine::ShowFinished() {
  const std::uint32_t elapsed = showTime_.Elapsed();
  for (std::int32_t k = 0; k < specs_.SpecCount; ++k) {
    if (!KindFinished(specs_[k], elapsed))
      return 0;
  }
  return 1;
}

}  // namespace zirvo
