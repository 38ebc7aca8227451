// Where a swirl's points go.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <set>

#include "EngineHarness.h"
#include "engine/MotionAhead.h"

namespace zirvo {
namespace {

using testing::EngineHarness;

// Start (100, 100), target (300, 200), launch angles 0, the default kind.
std::vector<ScreenPoint> FirstPoints(float v, int count) {
  EngineHarness h;
  SwirlSpec kind = testing::Kind();
  kind.px = kind.py = 100;
  kind.fx = 300;
  kind.fy = 200;
  kind.pxRandom = kind.pyRandom = kind.fxRandom = kind.fyRandom = 0;
  kind.v = v;
  kind.dt = 0;
  h.AddKind(kind);
  h.engine->SpawnAll();
  Swirl& swirl = h.engine->SwirlForTest(0);
  EXPECT_EQ(swirl.spanX, 200);
  EXPECT_EQ(swirl.spanY, 100);
  swirl.angle = swirl.tilt = 0.0f;
  std::vector<ScreenPoint> points;
  for (int i = 0; i < count; ++i) {
    const auto pixels = h.Pass();
    EXPECT_EQ(pixels.size(), 1u);
    if (!pixels.empty())
      points.push_back({pixels[0].x, pixels[0].y, pixels[0].colour});
  }
  return points;
}

TEST(Motion, FirstPointsOfTheWorkedExample) {
  const auto points = FirstPoints(static_cast<float>(5.0 / 10000.0), 3);
  EXPECT_EQ(points[0].x, 301);
  EXPECT_EQ(points[0].y, 249);
  EXPECT_EQ(points[1].x, 305);
  EXPECT_EQ(points[1].y, 249);
  EXPECT_EQ(points[2].x, 309);
  EXPECT_EQ(points[2].y, 248);
}

TEST(Motion, ReversedDirectionGrowsOutOfTheStartPoint) {
  const auto points = FirstPoints(static_cast<float>(-5.0 / 10000.0), 2);
  for (const auto& p : points) {
    EXPECT_EQ(p.x, 103);
    EXPECT_EQ(p.y, 102);
  }
}

TEST(Motion, StepCountsEvenWhenThePointLiesOffTheScreen) {
  EngineHarness h(50, 50);
  SwirlSpec kind = testing::Kind(50, 50);
  kind.a = 1e30f;  // far outside: the coordinate does not even fit 32 bits
  kind.dt = 3;
  h.AddKind(kind);
  h.engine->SpawnAll();
  const Swirl& swirl = h.engine->SlotAt(0);
  const float angleBefore = swirl.angle;
  EXPECT_TRUE(h.Pass().empty()) << "nothing drawn";
  EXPECT_EQ(swirl.pointsLeft, kind.nv - 1);
  EXPECT_EQ(swirl.trailRoom, kind.bs - 1);
  EXPECT_EQ(swirl.waitTicks, 3) << "the countdown is reloaded with dt";
  EXPECT_EQ(h.engine->ActiveCursor(), -1) << "the turn has ended";
  EXPECT_NE(swirl.angle, angleBefore);
  EXPECT_EQ(swirl.newest, -1);
  EXPECT_EQ(h.store->StoredPoints(), 0u);
}

TEST(Motion, InfiniteAngleStepIsRefusedNotUndefined) {
  EngineHarness h(50, 50);
  SwirlSpec kind = testing::Kind(50, 50);
  kind.nw = std::numeric_limits<float>::infinity();  // nw=0 in a file
  kind.nn = std::numeric_limits<float>::infinity();
  h.AddKind(kind);
  EXPECT_TRUE(h.Pass().empty());
  EXPECT_EQ(h.engine->SlotAt(0).pointsLeft, kind.nv - 1) << "the step counts";
  EXPECT_EQ(h.store->StoredPoints(), 0u);
}

TEST(Motion, PerPointColoursAreRandomPaletteEntriesNeverBlack) {
  EngineHarness h(50, 50);
  SwirlSpec kind = testing::Kind(50, 50);
  kind.a = kind.b = 0.0f;
  kind.colourMode = -1;
  kind.dt = 0;
  h.AddKind(kind);
  std::set<COLORREF> seen;
  for (int i = 0; i < 300; ++i) {
    const auto pixels = h.Pass();
    ASSERT_EQ(pixels.size(), 1u);
    ASSERT_NE(pixels[0].colour, kBlack);
    seen.insert(pixels[0].colour);
  }
  EXPECT_EQ(seen.size(), 15u);
}

// A point computed ahead is the point MotionStep gives at the swirl's turn,
// whatever changed in between: each motion input, or none.
TEST(Motion, PointComputedAheadIsTheStepOfTheSwirlAsItIsAtItsTurn) {
  SwirlSpec kind = testing::Kind();
  kind.a = 180.0f;
  kind.b = 70.0f;
  Swirl base;
  base.spec = 0;
  base.pointsLeft = kind.nv;  // the first point: the figure at full size
  base.startX = 120;
  base.startY = 80;
  base.spanX = 300;
  base.spanY = -40;
  base.tilt = 0.4f;
  base.angle = 1.25f;
  const std::vector<void (*)(Swirl&)> changes = {
      [](Swirl&) {},
      [](Swirl& s) { s.spec = 1; },  // the slot now holds another swirl
      [](Swirl& s) { s.pointsLeft -= 1; },
      [](Swirl& s) { s.startX += 1; },
      [](Swirl& s) { s.startY -= 1; },
      [](Swirl& s) { s.spanX += 1; },
      [](Swirl& s) { s.spanY += 1; },
      [](Swirl& s) { s.tilt += 0.5f; },
      [](Swirl& s) { s.angle += 0.5f; },
      [](Swirl& s) { s.angle = -0.0f; },
  };
  for (std::size_t c = 0; c < changes.size(); ++c) {
    MotionAhead ahead;
    Swirl prepared = base;
    prepared.angle = 0.0f;  // +0 then -0: the bits count
    ASSERT_NE(ahead.Prepare(kind, prepared), nullptr);
    Swirl atTurn = prepared;
    changes[c](atTurn);
    Swirl direct = atTurn;
    const ScreenPoint expected = MotionStep(kind, direct);
    const ScreenPoint taken = ahead.Take(kind, atTurn);
    EXPECT_EQ(taken.x, expected.x) << "change " << c;
    EXPECT_EQ(taken.y, expected.y) << "change " << c;
    EXPECT_EQ(std::bit_cast<std::uint32_t>(atTurn.angle),
              std::bit_cast<std::uint32_t>(direct.angle))
        << "change " << c;
  }
  // A swirl with no step left gets nothing computed.
  MotionAhead ahead;
  Swirl fading = base;
  fading.pointsLeft = 0;
  EXPECT_EQ(ahead.Prepare(kind, fading), nullptr);
}

}  // namespace
}  // namespace zirvo
