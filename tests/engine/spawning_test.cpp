// Launching from kinds: time window, limits, the random gate, slots and the
// active list, release, and the end of the show.
#include <gtest/gtest.h>

#include <algorithm>

#include "EngineHarness.h"

namespace zirvo {
namespace {

using testing::EngineHarness;

// A kind whose swirls live long enough to stay put during a test.
SwirlSpec LongLived() {
  SwirlSpec kind = testing::Kind();
  kind.nv = 100000;
  kind.dt = 0;
  return kind;
}

int Live(const Engine& e) {
  return kMaxLiveSwirls - e.FreeSlots();
}

TEST(Spawning, TimeWindowIncludesBothEnds) {
  EngineHarness h;
  SwirlSpec kind = LongLived();
  kind.start = 5;
  kind.stop = 7;
  kind.n = 100;
  kind.p = 1;
  const int k = h.AddKind(kind);
  h.clock.now = 4;
  h.engine->SpawnAll();
  EXPECT_EQ(Live(*h.engine), 0);
  EXPECT_EQ(h.specs[k].launchesLeft, -1) << "not active before its start";
  h.clock.now = 5;
  h.engine->SpawnAll();
  EXPECT_EQ(Live(*h.engine), 1);
  EXPECT_EQ(h.specs[k].launchesLeft, 99);
  h.clock.now = 7;
  h.engine->SpawnAll();
  EXPECT_EQ(Live(*h.engine), 2) << "a launch still happens in the second equal to stop";
  h.clock.now = 8;
  h.engine->SpawnAll();
  EXPECT_EQ(Live(*h.engine), 2);
}

TEST(Spawning, FirstLaunchDrawsNoGateNumberAndPOfOneFillsEveryPass) {
  EngineHarness h;
  SwirlSpec kind = LongLived();
  kind.n = 3;
  kind.p = 1;
  const int k = h.AddKind(kind);
  for (int pass = 1; pass <= 5; ++pass) {
    h.engine->SpawnAll();
    EXPECT_EQ(Live(*h.engine), std::min(pass, 3));
  }
  EXPECT_EQ(h.specs[k].launchesLeft, 0);
}

TEST(Spawning, NegativePPassesOnlyOnAZeroDraw) {
  EngineHarness h;
  SwirlSpec kind = LongLived();
  kind.pxRandom = kind.pyRandom = kind.fxRandom = kind.fyRandom = 0;
  kind.n = 2;
  kind.p = -1;
  h.AddKind(kind);
  h.engine->SpawnAll();
  ASSERT_EQ(Live(*h.engine), 1);
  int launchesSeen = 0;
  for (int call = 0; call < 200000 && Live(*h.engine) == 1; ++call) {
    Random peek = h.random;
    const bool zero = peek.Next() == 0;
    h.engine->SpawnFromSpec(0);
    EXPECT_EQ(Live(*h.engine) == 2, zero) << "call " << call;
    launchesSeen += Live(*h.engine) == 2;
  }
  EXPECT_EQ(launchesSeen, 1);
}

TEST(Spawning, NegativeNLaunchesOnEveryCall) {
  EngineHarness h;
  SwirlSpec kind = LongLived();
  kind.n = -3;
  kind.p = 1000000;
  h.AddKind(kind);
  for (int pass = 1; pass <= 10; ++pass)
    h.engine->SpawnAll();
  EXPECT_EQ(Live(*h.engine), 10);
}

// A negative n is accepted: its credit is set back to n at every launch, so
// after its stop time the first release brings it to n and the show counts as
// over while other swirls of the kind are still live. The program then ends.
TEST(Spawning, NegativeNCountsAsFinishedAtItsFirstReleaseAfterStop) {
  EngineHarness h;
  SwirlSpec kind = LongLived();
  kind.n = -3;
  kind.stop = 1;
  h.AddKind(kind);
  for (int pass = 0; pass < 4; ++pass)
    h.engine->SpawnAll();
  ASSERT_EQ(Live(*h.engine), 4);
  h.clock.now = 2;
  EXPECT_EQ(h.engine->ShowFinished(), 0);
  h.engine->ReleaseSwirl(0);
  EXPECT_EQ(h.engine->ShowFinished(), 1);
  EXPECT_EQ(Live(*h.engine), 3);
}

TEST(Spawning, ZeroNNeverLaunchesAndCountsAsFinishedAfterStop) {
  EngineHarness h;
  SwirlSpec kind = LongLived();
  kind.n = 0;
  kind.stop = 3;
  h.AddKind(kind);
  h.engine->SpawnAll();
  EXPECT_EQ(Live(*h.engine), 0);
  h.clock.now = 3;
  EXPECT_EQ(h.engine->ShowFinished(), 0);
  h.clock.now = 4;
  EXPECT_EQ(h.engine->ShowFinished(), 1);
}

TEST(Spawning, ReleasedSlotIsReusedAndAppendedAtTheTail) {
  EngineHarness h;
  SwirlSpec kind = LongLived();
  kind.n = 20;
  kind.p = 1;
  h.AddKind(kind);
  for (int i = 0; i < 10; ++i)
    h.engine->SpawnAll();
  ASSERT_EQ(Live(*h.engine), 10);
  h.engine->ReleaseSwirl(3);
  EXPECT_EQ(h.engine->SlotAt(2).next, 4);
  EXPECT_EQ(h.engine->SlotAt(4).prev, 2);
  h.engine->SpawnAll();
  EXPECT_EQ(h.engine->ActiveTail(), 3);
  EXPECT_EQ(h.engine->SlotAt(3).prev, 9);
  EXPECT_EQ(h.engine->SlotAt(9).next, 3);
  EXPECT_EQ(h.engine->SlotAt(3).next, -1);
  h.engine->SpawnAll();
  EXPECT_EQ(h.engine->ActiveTail(), 10);
}

// A swirl that fades with m = 0 holds the cursor while it erases; its release
// moves the cursor on, so the swirls after it still get their turns in that
// pass, and the held turn ends.
TEST(Spawning, ReleaseUnderTheCursorMovesItOnAndEndsTheHeldTurn) {
  EngineHarness h;
  // Each kind's swirls stand still on a pixel of their own.
  const auto still = [](std::int32_t x, std::uint32_t nv) {
    SwirlSpec kind = LongLived();
    kind.pxRandom = kind.pyRandom = kind.fxRandom = kind.fyRandom = 0;
    kind.px = kind.fx = x;
    kind.py = kind.fy = 100;
    kind.a = kind.b = kind.v = 0.0f;
    kind.nv = nv;
    kind.bs = std::min(kind.bs, nv);
    kind.m = 0;
    return kind;
  };
  h.AddKind(still(10, 100000));  // slot 0
  h.AddKind(still(20, 1));       // slot 1: draws, then fades and is released
  h.AddKind(still(30, 100000));  // slot 2
  h.AddKind(still(40, 1));       // slot 3, the tail: its release ends the pass
  ASSERT_EQ(h.Pass().size(), 4u);
  const auto pixels = h.Pass();
  ASSERT_EQ(pixels.size(), 4u) << "slot 0 draws, slot 1 erases, slot 2 draws, slot 3 erases";
  EXPECT_EQ(pixels[1].colour, kBlack);
  EXPECT_NE(pixels[2].colour, kBlack) << "the swirl after the released one had its turn";
  EXPECT_EQ(pixels[3].colour, kBlack);
  EXPECT_EQ(h.engine->SlotAt(1).spec, -1);
  EXPECT_EQ(h.engine->SlotAt(3).spec, -1);
  EXPECT_EQ(h.engine->ActiveCursor(), -1);
  EXPECT_EQ(h.engine->EraseTurn(), 0);
  EXPECT_EQ(h.engine->ActiveTail(), 2);
  EXPECT_EQ(h.engine->SlotAt(0).next, 2);
  EXPECT_EQ(h.engine->SlotAt(2).prev, 0);
  EXPECT_EQ(h.delay.delays, 4 + 4) << "a Delay after each turn, a releasing one too";
  h.engine->ReleaseSwirl(3);  // a free slot: nothing happens
  EXPECT_EQ(h.engine->FreeSlots(), 498);
}

TEST(Spawning, FullTableLaunchesNothingUntilASlotFrees) {
  EngineHarness h;
  SwirlSpec a = LongLived();
  a.n = 500;
  a.p = 1;
  SwirlSpec b = LongLived();
  h.AddKind(a);
  const int kb = h.AddKind(b);
  for (int i = 0; i < 500; ++i)
    h.engine->SpawnAll();
  EXPECT_EQ(h.engine->FreeSlots(), 0);
  const Random before = h.random;
  h.engine->SpawnAll();
  EXPECT_EQ(h.random.State(), before.State()) << "no number is drawn without a free slot";
  h.engine->ReleaseSwirl(250);
  h.engine->SpawnAll();
  EXPECT_EQ(h.engine->SlotAt(250).spec, 0) << "the first kind in file order gets it";
  EXPECT_EQ(h.specs[kb].launchesLeft, 0) << "the later kind waits";
}

TEST(Spawning, FixedPointsGiveExactSpansAndDrawOnlyAngles) {
  EngineHarness h;
  SwirlSpec kind = LongLived();
  kind.pxRandom = kind.pyRandom = kind.fxRandom = kind.fyRandom = 0;
  kind.px = 10;
  kind.py = 20;
  kind.fx = 300;
  kind.fy = 5;
  h.AddKind(kind);
  Random expected = h.random;
  expected.Next();
  expected.Next();
  h.engine->SpawnAll();
  const Swirl& s = h.engine->SlotAt(0);
  EXPECT_EQ(s.startX, 10);
  EXPECT_EQ(s.startY, 20);
  EXPECT_EQ(s.spanX, 290);
  EXPECT_EQ(s.spanY, -15);
  EXPECT_EQ(h.random.State(), expected.State());
}

TEST(Spawning, RandomColourSkipsBlackAndTheTopEnd) {
  EngineHarness h;
  SwirlSpec kind = LongLived();
  kind.colourMode = 1;
  std::set<COLORREF> seen;
  for (int i = 0; i < 2000; ++i) {
    const COLORREF c = h.engine->PickColour(kind);
    ASSERT_NE(c, kBlack);
    seen.insert(c);
  }
  EXPECT_EQ(seen.size(), 15u);
}

TEST(Spawning, ShowEndsOnlyWhenEveryKindIsPastItsStopWithNothingLive) {
  EngineHarness h;
  SwirlSpec a = LongLived();
  a.stop = 2;
  SwirlSpec b = LongLived();
  b.stop = 0;
  h.AddKind(a);
  EXPECT_EQ(h.engine->ShowFinished(), 0);
  h.engine->SpawnAll();
  h.clock.now = 3;
  EXPECT_EQ(h.engine->ShowFinished(), 0) << "a swirl is still live";
  h.engine->ReleaseSwirl(0);
  EXPECT_EQ(h.engine->ShowFinished(), 1);
  h.AddKind(b);
  EXPECT_EQ(h.engine->ShowFinished(), 0) << "a kind without a stop time never ends";

  EngineHarness empty;
  EXPECT_EQ(empty.engine->ShowFinished(), 1) << "no kind at all: over at once";
}

}  // namespace
}  // namespace zirvo
