// A swirl's life, turn by turn: growing, crawling, fading and release.
#include <gtest/gtest.h>

#include "EngineHarness.h"

namespace zirvo {
namespace {

using testing::EngineHarness;
using testing::RecordedPixel;

// A circle of radius 100 around the centre, a quarter turn per point, so that
// consecutive points fall on different pixels. Launched once: the clock moves
// past its stop time right after the launch.
SwirlSpec LifeKind(std::uint32_t nv, std::uint32_t bs, std::int32_t dt, std::int32_t m) {
  SwirlSpec kind = testing::Kind();
  kind.pxRandom = kind.pyRandom = kind.fxRandom = kind.fyRandom = 0;
  kind.a = kind.b = 100.0f;
  kind.nw = static_cast<float>(TwoPi / 4);
  kind.nn = 0.0f;
  kind.v = 0.0f;
  kind.nv = nv;
  kind.bs = bs;
  kind.dt = dt;
  kind.m = m;
  kind.stop = 1;
  return kind;
}

// What each pass did: the pixels it set, and the swirl's counters after it.
struct Turn {
  std::vector<RecordedPixel> pixels;
  std::uint32_t pointsLeft, trailRoom;
  bool live;
};

std::vector<Turn> Live(EngineHarness& h, int passes) {
  std::vector<Turn> turns;
  for (int i = 0; i < passes; ++i) {
    auto pixels = h.Pass();
    h.clock.now = 2;
    const Swirl& s = h.engine->SlotAt(0);
    turns.push_back({pixels, s.pointsLeft, s.trailRoom, s.spec >= 0});
  }
  return turns;
}

RecordedPixel Erased(const RecordedPixel& drawn) {
  return {drawn.x, drawn.y, kBlack};
}

TEST(Turns, GrowCrawlAndFadeAllAtOnce) {
  EngineHarness h;
  h.AddKind(LifeKind(3, 2, 0, 0));
  const auto t = Live(h, 4);
  ASSERT_EQ(t[0].pixels.size(), 1u);
  const RecordedPixel p1 = t[0].pixels[0];
  ASSERT_EQ(t[1].pixels.size(), 1u);
  const RecordedPixel p2 = t[1].pixels[0];
  ASSERT_EQ(t[2].pixels.size(), 2u);
  EXPECT_EQ(t[2].pixels[0], Erased(p1)) << "the erase comes before the draw";
  const RecordedPixel p3 = t[2].pixels[1];
  EXPECT_EQ(t[3].pixels, (std::vector<RecordedPixel>{Erased(p2), Erased(p3)}));
  EXPECT_EQ(p1.colour, Palette16[15]);
  EXPECT_NE(p1, p2);
  EXPECT_NE(p2, p3);

  EXPECT_EQ((std::pair{t[0].pointsLeft, t[0].trailRoom}), (std::pair{2u, 1u}));
  EXPECT_EQ((std::pair{t[1].pointsLeft, t[1].trailRoom}), (std::pair{1u, 0u}));
  EXPECT_EQ((std::pair{t[2].pointsLeft, t[2].trailRoom}), (std::pair{0u, 0u}));
  EXPECT_FALSE(t[3].live);
  EXPECT_EQ(h.engine->FreeSlots(), 500);
  EXPECT_TRUE(h.finished) << "the last kind is done once its swirl is released";
  EXPECT_EQ(h.store->StoredPoints(), 0u);
}

TEST(Turns, FadeOnePointPerTurn) {
  EngineHarness h;
  h.AddKind(LifeKind(3, 2, 0, 1));
  const auto t = Live(h, 5);
  const RecordedPixel p2 = t[1].pixels[0];
  const RecordedPixel p3 = t[2].pixels[1];
  EXPECT_EQ(t[3].pixels, std::vector<RecordedPixel>{Erased(p2)});
  EXPECT_TRUE(t[3].live);
  EXPECT_EQ((std::pair{t[3].pointsLeft, t[3].trailRoom}), (std::pair{0u, 1u}));
  EXPECT_EQ(t[4].pixels, std::vector<RecordedPixel>{Erased(p3)});
  EXPECT_FALSE(t[4].live);
}

TEST(Turns, StepDelayMakesTheSwirlActOnEveryOtherTurn) {
  EngineHarness h;
  h.AddKind(LifeKind(3, 2, 1, 0));
  const auto t = Live(h, 7);
  const std::vector<std::size_t> expected = {1, 0, 1, 0, 2, 0, 2};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(t[i].pixels.size(), expected[i]) << "turn " << i + 1;
  }
  EXPECT_TRUE(t[5].live);
  EXPECT_FALSE(t[6].live);
}

TEST(Turns, WholeTrailDrawnThenErasedWhenTrailEqualsPoints) {
  EngineHarness h;
  h.AddKind(LifeKind(3, 3, 0, 1));
  const auto t = Live(h, 6);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(t[i].pixels.size(), 1u);
  for (int i = 3; i < 6; ++i) {
    ASSERT_EQ(t[i].pixels.size(), 1u);
    EXPECT_EQ(t[i].pixels[0], Erased(t[i - 3].pixels[0])) << "turn " << i + 1;
  }
  EXPECT_TRUE(t[4].live);
  EXPECT_FALSE(t[5].live);
}

// Refuses the resize numbered `failing` (counting every allocation call).
class RefuseOneResize : public PoolMemory {
 public:
  int resizes = 0;
  int refuse = 1;
  void* Resize(void* block, std::size_t bytes) override {
    return ++resizes == refuse ? nullptr : PoolMemory::Resize(block, bytes);
  }
};

TEST(Turns, RefusedPointShortensTheTrailButNotTheLife) {
  RefuseOneResize memory;
  EngineHarness h(640, 480, &MakeRowWalkPointStore, 1, memory);
  h.AddKind(LifeKind(4, 2, 0, 0));
  const auto t = Live(h, 5);
  ASSERT_EQ(t[0].pixels.size(), 1u);
  EXPECT_TRUE(t[1].pixels.empty()) << "the second point found no node";
  ASSERT_EQ(t[2].pixels.size(), 2u);
  EXPECT_EQ(t[2].pixels[0], Erased(t[0].pixels[0]));
  ASSERT_EQ(t[3].pixels.size(), 2u);
  EXPECT_EQ(t[3].pixels[0], Erased(t[2].pixels[1]));
  EXPECT_EQ(t[4].pixels, std::vector<RecordedPixel>{Erased(t[3].pixels[1])})
      << "the last erase finds the trail empty and paints nothing";
  EXPECT_FALSE(t[4].live);
  EXPECT_EQ(h.store->StoredPoints(), 0u);
}

TEST(Turns, TrailOfOneShowsOnePointAtATime) {
  EngineHarness h;
  h.AddKind(LifeKind(6, 1, 0, 0));
  const auto t = Live(h, 7);
  EXPECT_EQ(t[0].pixels.size(), 1u);
  for (int i = 1; i < 6; ++i) {
    ASSERT_EQ(t[i].pixels.size(), 2u);
    EXPECT_EQ(t[i].pixels[0], Erased(t[i - 1].pixels.back()));
  }
  EXPECT_FALSE(t[6].live);
}

TEST(Turns, ZeroTrailOrZeroPointsStillEnds) {
  for (auto [nv, bs, m] : {std::tuple{0u, 0u, 0}, std::tuple{5u, 0u, 0}, std::tuple{0u, 0u, 1},
                           std::tuple{5u, 0u, 1}}) {
    EngineHarness h;
    h.AddKind(LifeKind(nv, bs, 0, m));
    bool released = false;
    for (int i = 0; i < 20 && !released; ++i) {
      h.Pass();
      h.clock.now = 2;
      released = h.engine->FreeSlots() == 500;
    }
    EXPECT_TRUE(released) << "nv " << nv << " bs " << bs << " m " << m;
    h.Pass();
    EXPECT_TRUE(h.finished);
    EXPECT_EQ(h.store->StoredPoints(), 0u);
  }
}

TEST(Turns, NegativeStepDelayDrawsOnePointAndNeverEnds) {
  EngineHarness h;
  h.AddKind(LifeKind(3, 2, -1, 0));
  const auto t = Live(h, 50);
  EXPECT_EQ(t[0].pixels.size(), 1u);
  for (int i = 1; i < 50; ++i)
    EXPECT_TRUE(t[i].pixels.empty());
  EXPECT_TRUE(t[49].live);
  EXPECT_FALSE(h.finished);
}

TEST(Turns, ReleaseOfTheLastSwirlEndsThePass) {
  EngineHarness h;
  h.AddKind(LifeKind(1, 1, 0, 0));
  h.Pass();
  h.clock.now = 2;
  h.Pass();
  EXPECT_EQ(h.engine->ActiveCursor(), -1);
  EXPECT_EQ(h.engine->ActiveHead(), -1);
  EXPECT_EQ(h.engine->ActiveTail(), -1);
}

}  // namespace
}  // namespace zirvo
