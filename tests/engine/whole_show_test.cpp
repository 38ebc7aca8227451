// Whole shows loaded from real files and run pass by pass with a simulated
// clock until they end by themselves, checking the engine's bookkeeping after
// every pass.
#include <gtest/gtest.h>

#include <algorithm>

#include "EngineHarness.h"
#include "engine/RowWalkPointStore.h"
#include "support/ShowRunner.h"

namespace zirvo {
namespace {

TEST(WholeShow, SmallSceneRunsToItsEndWithConsistentBookkeeping) {
  testing::TempDir dir;
  // Small figures around the centre that contract inwards: every point stays on
  // the virtual screen, so every trail holds exactly the steps not yet erased.
  // Several kinds share pixels, so erases restore colours.
  const testing::SceneFiles files(
      dir, "screen=320x200\nscale=y\nwait=1\n",
      "a=40\nb=20\nnv=400\nbs=120\nn=6\ndt=0\npx=160\npy=100\nfx=160\nfy=100\n"
      "c=a\nstop=2\n\n"
      "a=30\nb=30\nnv=300\nbs=300\nn=4\ndt=1\nm=1\npx=150\npy=90\nfx=170\nfy=110\n"
      "c=r\nstop=1\n\n"
      "a=10\nb=50\nnv=50\nbs=7\nn=3\nm=1\npx=100\nfx=200\npy=100\nfy=100\nc=12\n"
      "start=1\nstop=3\n",
      ScreenSize{1024, 768});
  SimulatedClock clock(100);
  testing::ShadowedShow run;
  run.makeStore = &MakeRowWalkPointStore;
  ASSERT_EQ(run.Load(files, clock), 1);
  run.show.random.Seed(77);

  testing::PixelRecorder pixels;
  int passes = 0;
  std::size_t launched = 0;
  bool finished = false;
  while (!finished && passes < 2000000) {
    clock.Delay();
    finished = run.engine->DrawingPass(pixels, clock) != 0;
    ++passes;
    launched = std::max<std::size_t>(launched, kMaxLiveSwirls - run.engine->FreeSlots());
    const std::string broken = testing::CheckEngine(*run.engine, run.shadow.get(), true);
    ASSERT_EQ(broken, "") << "after pass " << passes;
  }
  EXPECT_TRUE(finished);
  RecordProperty("passes", passes);
  RecordProperty("pixels", static_cast<int>(pixels.pixels.size()));
  EXPECT_GT(launched, 5u);
  EXPECT_EQ(run.show.TrailStore->StoredPoints(), 0u) << "every trail was erased";
  EXPECT_EQ(run.engine->FreeSlots(), kMaxLiveSwirls);
  EXPECT_GT(pixels.pixels.size(), 1000u);
  for (const auto& p : pixels.pixels) {
    ASSERT_GE(p.x, 0);
    ASSERT_LT(p.x, 1024);
    ASSERT_GE(p.y, 0);
    ASSERT_LT(p.y, 768);
  }
}

}  // namespace
}  // namespace zirvo
