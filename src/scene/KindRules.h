// What a kind's values mean for its swirls' launches and for the end of the
// show: the one home of these rules. The engine follows them as the show runs
// (SpawnFromSpec, ShowFinished); the loader's notes and zirvo-check explain
// them ahead of the show from the same functions.
#pragma once

#include <cstdint>
#include <limits>

#include "scene/KindTable.h"

namespace zirvo {

// Launching is allowed from start through stop, both seconds included; a stop
// of 0 sets no end. Times compare as unsigned seconds since the show began.
inline bool BeforeStart(const SwirlSpec& kind, std::uint32_t elapsed) {
  return elapsed < kind.start;
}
inline bool PastStop(const SwirlSpec& kind, std::uint32_t elapsed) {
  return kind.stop != 0 && elapsed > kind.stop;
}

// While a kind is active its launch credit is n minus its live swirls, so a
// credit below n means some are live. A kind not yet active has credit -1.
inline bool HasLiveSwirls(const SwirlSpec& kind) {
  return kind.launchesLeft < kind.n;
}

// The kind no longer keeps the show running: past its stop with none of its
// swirls live.
inline bool KindFinished(const SwirlSpec& kind, std::uint32_t elapsed) {
  return PastStop(kind, elapsed) && !HasLiveSwirls(kind);
}

// Ahead of the show, from the values as loaded.

// The clock never passes the stop time: none at all, or the last second the
// show's unsigned clock can tell.
inline bool NeverPastStop(const SwirlSpec& kind) {
  return kind.stop == 0 || kind.stop == std::numeric_limits<std::uint32_t>::max();
}

// Starting after its stop, the kind never becomes active: the second it would
// start in is already past its stop.
inline bool StartsAfterStop(const SwirlSpec& kind) {
  return kind.stop != 0 && kind.start > kind.stop;
}

// Never launches a swirl: no credit at all (n of 0), or never active. A
// negative n is no limit: such a kind launches (its credit only counts down).
inline bool NeverLaunches(const SwirlSpec& kind) {
  return kind.n == 0 || StartsAfterStop(kind);
}

// A kind that keeps the show from ever ending by itself: its stop is never
// passed; or it never becomes active, so its credit stays at -1, below any n
// of 0 or more; or its swirls, once launched, wait for ever (a negative dt
// reloads a countdown that never meets 0).
inline bool NeverFinishes(const SwirlSpec& kind) {
  if (NeverPastStop(kind))
    return true;
  if (StartsAfterStop(kind))
    return kind.n >= 0;
  return kind.dt < 0 && !NeverLaunches(kind);
}

}  // namespace zirvo
