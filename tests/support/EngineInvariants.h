// Checks of the engine's bookkeeping that must hold between two drawing passes,
// shared by the whole-show, fault-injection and hostile-file tests, the soak and
// the whole-show fuzz harness.
// Header-only and free of GoogleTest so the fuzz harnesses can use it too.
//
// TrailShadow sits between the engine and its point store and keeps its own
// copy of every trail chain (which node follows which), so the trails can be
// walked whatever store is underneath, and the links the store hands back on
// removal are checked against the ones it was given on insertion.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/Engine.h"
#include "engine/PointStore.h"

namespace zirvo::testing {

class TrailShadow final : public PointStore {
 public:
  explicit TrailShadow(PointStore& inner) : inner_(inner) {}

  std::int32_t InsertPoint(std::int32_t previous, ScreenPoint& point) override {
    const std::int32_t index = inner_.InsertPoint(previous, point);
    if (index < 0) {
      ++refused_;
      if (point.x != -1)
        Fail("a refused insert left the point's x at " + std::to_string(point.x));
      return index;
    }
    const auto at = static_cast<std::size_t>(index);
    if (at >= inUse_.size()) {
      inUse_.resize(at + 1, 0);
      next_.resize(at + 1, -1);
    }
    if (inUse_[at] != 0)
      Fail("node " + std::to_string(index) + " handed out twice");
    inUse_[at] = 1;
    next_[at] = -1;
    if (previous >= 0) {
      if (!InUse(previous))
        Fail("insert behind node " + std::to_string(previous) + " not in use");
      else
        next_[static_cast<std::size_t>(previous)] = index;
    }
    ++stored_;
    return index;
  }

  std::int32_t RemovePoint(std::int32_t index, ScreenPoint& out) override {
    const bool wasInUse = InUse(index);
    const std::int32_t following = inner_.RemovePoint(index, out);
    if (!wasInUse) {
      if (following != -1 || out.x != -1)
        Fail("removal of a free or invalid node did something");
      return following;
    }
    const auto at = static_cast<std::size_t>(index);
    if (following != next_[at]) {
      Fail("removal of node " + std::to_string(index) + " returned " + std::to_string(following) +
           ", its trail continues at " + std::to_string(next_[at]));
    }
    inUse_[at] = 0;
    next_[at] = -1;
    --stored_;
    return following;
  }

  int GetPoint(std::int32_t index, ScreenPoint& out) const override {
    return inner_.GetPoint(index, out);
  }
  bool IsInert() const override { return inner_.IsInert(); }
  std::uint32_t Capacity() const override { return inner_.Capacity(); }
  std::uint32_t FreeCount() const override { return inner_.FreeCount(); }
  std::size_t MemoryBytes() const override { return inner_.MemoryBytes(); }

  bool InUse(std::int32_t index) const {
    return index >= 0 && static_cast<std::size_t>(index) < inUse_.size() &&
           inUse_[static_cast<std::size_t>(index)] != 0;
  }
  std::int32_t NextOf(std::int32_t index) const { return next_[static_cast<std::size_t>(index)]; }
  // Points the store holds according to what it was given and what it gave back.
  std::uint64_t ShadowStored() const { return stored_; }
  // Inserts the store refused (off the virtual screen, no node, inert store).
  std::uint64_t Refused() const { return refused_; }
  // The first thing the store did wrong, or empty.
  const std::string& Error() const { return error_; }

 private:
  void Fail(const std::string& what) {
    if (error_.empty())
      error_ = what;
  }

  PointStore& inner_;
  std::vector<std::uint8_t> inUse_;
  std::vector<std::int32_t> next_;
  std::uint64_t stored_ = 0;
  std::uint64_t refused_ = 0;
  std::string error_;
};

// The most points a live swirl's trail can hold: the room it has used up
// (steps made minus erases made). A kind with bs = 0 crawls with one point
// between its turns (each turn erases, then draws), beyond any room.
inline std::uint64_t TrailBound(const Swirl& swirl, const SwirlSpec& kind) {
  if (kind.bs == 0)
    return 1;
  return swirl.trailRoom <= kind.bs ? kind.bs - swirl.trailRoom : 0;
}

// Everything that must be true between two passes. Returns the first violation,
// or an empty string. With a shadow, every trail is walked; `exactTrails` then
// demands that each trail with bs >= 1 is exactly as long as the room it used
// (right when no point was ever refused), otherwise at most that long.
inline std::string CheckEngine(const Engine& engine, const TrailShadow* shadow, bool exactTrails) {
  const SpecTable& specs = engine.specs();
  if (engine.ActiveCursor() != -1)
    return "the cursor is not -1 after a pass";
  if (engine.EraseTurn() != 0)
    return "EraseTurn is set after a pass";

  std::int32_t freeSlots = 0;
  std::vector<std::int32_t> liveOfKind(kMaxKinds, 0);
  for (const Swirl& swirl : engine.SwirlTable()) {
    if (swirl.IsFreeSlot() != 0) {
      ++freeSlots;
    } else if (swirl.spec >= specs.SpecCount) {
      return "a live swirl of kind " + std::to_string(swirl.spec) + " that was never loaded";
    } else {
      ++liveOfKind[static_cast<std::size_t>(swirl.spec)];
    }
  }
  if (freeSlots != engine.FreeSlots()) {
    return "FreeSlots is " + std::to_string(engine.FreeSlots()) + " but " +
           std::to_string(freeSlots) + " slots are free";
  }

  // The active list: exactly the live slots, doubly linked, ending at ActiveTail.
  std::int32_t listed = 0;
  std::int32_t previous = -1;
  for (std::int32_t slot = engine.ActiveHead(); slot != -1;) {
    if (slot < 0 || slot >= kMaxLiveSwirls)
      return "active list link out of range";
    const Swirl& swirl = engine.SlotAt(slot);
    if (swirl.IsFreeSlot() != 0)
      return "free slot " + std::to_string(slot) + " in the list";
    if (swirl.prev != previous)
      return "broken prev link at slot " + std::to_string(slot);
    if (++listed > kMaxLiveSwirls)
      return "the active list loops";
    previous = slot;
    slot = swirl.next;
  }
  if (previous != engine.ActiveTail())
    return "ActiveTail is not the list's last slot";
  if (listed != kMaxLiveSwirls - freeSlots) {
    return "the active list holds " + std::to_string(listed) + " slots, " +
           std::to_string(kMaxLiveSwirls - freeSlots) + " are live";
  }

  for (std::int32_t k = 0; k < specs.SpecCount; ++k) {
    const SwirlSpec& kind = specs[k];
    const std::int32_t live = liveOfKind[static_cast<std::size_t>(k)];
    // A kind with a negative n has its credit reset on every launch; the count
    // only means something for n >= 0.
    if (kind.n < 0)
      continue;
    if (kind.launchesLeft < 0 ? live != 0 : kind.launchesLeft != kind.n - live) {
      return "kind " + std::to_string(k) + ": launchesLeft " + std::to_string(kind.launchesLeft) +
             ", n " + std::to_string(kind.n) + ", live " + std::to_string(live);
    }
  }

  std::uint64_t trailBounds = 0;
  std::uint64_t walked = 0;
  for (std::int32_t slot = 0; slot < kMaxLiveSwirls; ++slot) {
    const Swirl& swirl = engine.SlotAt(slot);
    if (swirl.IsFreeSlot() != 0)
      continue;
    const SwirlSpec& kind = specs[swirl.spec];
    const auto name = [slot] { return "swirl " + std::to_string(slot); };
    if (swirl.pointsLeft > kind.nv)
      return name() + ": more points left than nv";
    if (kind.bs > 0 && swirl.trailRoom > kind.bs)
      return name() + ": trailRoom above bs";
    if ((swirl.oldest < 0) != (swirl.newest < 0))
      return name() + ": only one end of the trail";
    const std::uint64_t bound = TrailBound(swirl, kind);
    trailBounds += bound;
    if (shadow == nullptr)
      continue;

    std::uint64_t length = 0;
    std::int32_t last = -1;
    for (std::int32_t node = swirl.oldest; node != -1; node = shadow->NextOf(node)) {
      if (!shadow->InUse(node))
        return name() + ": trail runs into a free node";
      if (++length > bound)
        return name() + ": trail longer than the room it used";
      last = node;
    }
    if (last != swirl.newest)
      return name() + ": the trail does not end at newest";
    if (exactTrails && kind.bs > 0 && length != bound) {
      return name() + ": trail of " + std::to_string(length) + " points, " + std::to_string(bound) +
             " expected";
    }
    walked += length;
  }

  const PointStore& store = engine.store();
  if (store.FreeCount() > store.Capacity())
    return "more free nodes than the pool holds";
  if (store.StoredPoints() > trailBounds) {
    return "the store holds " + std::to_string(store.StoredPoints()) +
           " points, the live trails at most " + std::to_string(trailBounds);
  }
  if (shadow != nullptr) {
    if (!shadow->Error().empty())
      return "store: " + shadow->Error();
    if (walked != shadow->ShadowStored() || walked != store.StoredPoints()) {
      return "trails hold " + std::to_string(walked) + " points, the store counts " +
             std::to_string(store.StoredPoints());
    }
  }
  return {};
}

}  // namespace zirvo::testing
