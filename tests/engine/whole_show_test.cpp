// Whole shows loaded from real files and run pass by pass with a simulated
// clock until they end by themselves, checking the engine's bookkeeping after
// every pass.
#include <gtest/gtest.h>

#include <map>

#include "EngineHarness.h"
#include "engine/RowWalkPointStore.h"
#include "engine/Show.h"
#include "support/TempDir.h"

namespace zirvo {
namespace {

// time() is whole seconds of a microsecond clock that each Delay advances.
class SimulatedClock : public ShowTime, public Delayer {
 public:
  std::uint64_t micros = 0;
  std::uint64_t step = 100;
  std::uint32_t Elapsed() override { return static_cast<std::uint32_t>(micros / 1000000); }
  void Delay() override { micros += step; }
};

// Points of a swirl's trail, following the chain from its oldest point.
std::uint32_t TrailLength(const RowWalkPointStore& store, const Swirl& swirl) {
  std::uint32_t length = 0;
  for (std::int32_t i = swirl.oldest; i != -1; i = store.Nodes()[i].chainNext) {
    ++length;
    if (i == swirl.newest)
      break;
  }
  return length;
}

void CheckInvariants(const Show& show) {
  const Engine& e = *show.engine;
  const auto& store = dynamic_cast<const RowWalkPointStore&>(*show.TrailStore);
  int free = 0;
  std::map<int, int> liveOfKind;
  std::uint64_t trailPoints = 0;
  for (const Swirl& s : e.SwirlTable) {
    if (s.spec < 0) {
      ++free;
      continue;
    }
    ++liveOfKind[s.spec];
    const SwirlSpec& kind = show.scene.specs[s.spec];
    // Every point of these scenes lies on the virtual screen, so the trail holds
    // exactly the steps not yet erased.
    ASSERT_LE(s.trailRoom, kind.bs);
    ASSERT_EQ(TrailLength(store, s), kind.bs - s.trailRoom);
    trailPoints += kind.bs - s.trailRoom;
  }
  ASSERT_EQ(e.FreeSlots, free);
  for (int k = 0; k < show.scene.specs.SpecCount; ++k) {
    const SwirlSpec& kind = show.scene.specs[k];
    if (kind.launchesLeft >= 0) {
      ASSERT_EQ(kind.launchesLeft, kind.n - liveOfKind[k]);
    }
  }
  // The active list holds exactly the live slots, linked both ways.
  int listed = 0;
  for (std::int32_t i = e.ActiveHead, prev = -1; i != -1; prev = i, i = e.SwirlTable[i].next) {
    ASSERT_GE(e.SwirlTable[i].spec, 0);
    ASSERT_EQ(e.SwirlTable[i].prev, prev);
    ++listed;
  }
  ASSERT_EQ(listed, kMaxLiveSwirls - free);
  ASSERT_EQ(store.StoredPoints(), trailPoints);
  ASSERT_EQ(store.FreeCount() + store.StoredPoints(), store.Capacity());
}

TEST(WholeShow, SmallSceneRunsToItsEndWithConsistentBookkeeping) {
  testing::TempDir dir;
  dir.Write("zirvo.ini", "screen=320x200\nscale=y\nwait=1\n");
  // Small figures around the centre that contract inwards: every point stays on
  // the virtual screen. Several kinds share pixels, so erases restore colours.
  dir.Write("small.zrv",
            "a=40\nb=20\nnv=400\nbs=120\nn=6\ndt=0\npx=160\npy=100\nfx=160\nfy=100\n"
            "c=a\nstop=2\n\n"
            "a=30\nb=30\nnv=300\nbs=300\nn=4\ndt=1\nm=1\npx=150\npy=90\nfx=170\nfy=110\n"
            "c=r\nstop=1\n\n"
            "a=10\nb=50\nnv=50\nbs=7\nn=3\nm=1\npx=100\nfx=200\npy=100\nfy=100\nc=12\n"
            "start=1\nstop=3\n");
  Show show;
  show.storeKind = StoreKind::kRowWalk;
  SimulatedClock clock;
  LoadEnvironment env;
  env.screen = {1024, 768};
  env.style = PathStyle::kPosix;
  env.currentDirectory = dir.path().string();
  ProgramArgs args;
  args.hasProgram = args.hasScene = true;
  args.program = dir.PathOf("zirvo");
  args.scene = dir.PathOf("small.zrv");
  ASSERT_EQ(LoadScene(show, args, env, clock), 1);
  show.random.Seed(77);

  testing::PixelRecorder pixels;
  int passes = 0;
  std::size_t launched = 0;
  bool finished = false;
  while (!finished && passes < 2000000) {
    clock.Delay();
    finished = DrawingPass(*show.engine, pixels, clock) != 0;
    ++passes;
    launched = std::max<std::size_t>(launched, kMaxLiveSwirls - show.engine->FreeSlots);
    CheckInvariants(show);
  }
  EXPECT_TRUE(finished);
  RecordProperty("passes", passes);
  RecordProperty("pixels", static_cast<int>(pixels.pixels.size()));
  EXPECT_GT(launched, 5u);
  EXPECT_EQ(show.TrailStore->StoredPoints(), 0u) << "every trail was erased";
  EXPECT_EQ(show.engine->FreeSlots, kMaxLiveSwirls);
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
