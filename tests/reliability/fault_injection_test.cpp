// Faults the machine can throw at a running show: pool growth that fails at
// chosen moments, a store that never gets its memory, and files that vanish or
// cannot be read between being found and being read.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "engine/PointStore.h"
#include "engine/RowWalkPointStore.h"
#include "scene/LoadFiles.h"
#include "scene/SceneFile.h"
#include "scene/Settings.h"
#include "support/ShowRunner.h"
#include "support/StoreParams.h"
#include "support/TempDir.h"

namespace zirvo::testing {
namespace {

// Pool memory whose resizes fail on the call numbers given (1 = the first).
class FailingResizes final : public PoolMemory {
 public:
  explicit FailingResizes(std::set<int> failing) : failing_(std::move(failing)) {}
  void* Resize(void* block, std::size_t bytes) override {
    ++calls;
    if (refuseAll || failing_.count(calls) != 0)
      return nullptr;
    return PoolMemory::Resize(block, bytes);
  }
  int calls = 0;
  bool refuseAll = false;

 private:
  std::set<int> failing_;
};

class RefuseEverything final : public PoolMemory {
 public:
  void* Allocate(std::size_t) override { return nullptr; }
  void* Resize(void*, std::size_t) override { return nullptr; }
};

class StoreFaults : public ::testing::TestWithParam<StoreMaker> {};

TEST_P(StoreFaults, RefusedGrowthKeepsEveryPointAndLaterGrowthWorks) {
  FailingResizes memory({});
  auto store = GetParam()(16, 16, 4, memory);
  ScreenPoint point;
  std::int32_t newest = -1;
  for (std::int32_t x = 0; x < 4; ++x) {
    point = {x, 3, Palette16[static_cast<std::size_t>(x + 1)]};
    newest = store->InsertPoint(newest, point);
    ASSERT_EQ(newest, x);
  }

  memory.refuseAll = true;
  point = {9, 3, Palette16[9]};
  EXPECT_EQ(store->InsertPoint(newest, point), -1);
  EXPECT_EQ(point.x, -1);
  EXPECT_EQ(store->Capacity(), 4u);
  EXPECT_EQ(store->FreeCount(), 0u);
  for (std::int32_t i = 0; i < 4; ++i) {
    ScreenPoint stored;
    ASSERT_EQ(store->GetPoint(i, stored), 1);
    EXPECT_EQ(stored.x, i);
    EXPECT_EQ(stored.colour, Palette16[static_cast<std::size_t>(i + 1)]);
  }

  // The oldest point still leaves, with its pixel going back to black, and its
  // node is reused without any growth.
  ScreenPoint repaint;
  EXPECT_EQ(store->RemovePoint(0, repaint), 1);
  EXPECT_EQ(repaint.x, 0);
  EXPECT_EQ(repaint.colour, kBlack);
  point = {9, 3, Palette16[9]};
  EXPECT_EQ(store->InsertPoint(newest, point), 0);
  newest = 0;

  // Full again; once memory comes back, the next insert grows the pool and
  // takes the first node of the new block.
  point = {10, 3, Palette16[10]};
  EXPECT_EQ(store->InsertPoint(newest, point), -1);
  memory.refuseAll = false;
  point = {10, 3, Palette16[10]};
  EXPECT_EQ(store->InsertPoint(newest, point), 4);
  EXPECT_EQ(store->Capacity(), 4u + PointStore::kGrowBy);

  // The whole trail comes back out in order: 1, 2, 3, 0, 4.
  std::int32_t oldest = 1;
  for (std::int32_t expected : {1, 2, 3, 0, 4}) {
    ASSERT_EQ(oldest, expected);
    oldest = store->RemovePoint(oldest, repaint);
    EXPECT_EQ(repaint.colour, kBlack);
  }
  EXPECT_EQ(oldest, -1);
  EXPECT_EQ(store->StoredPoints(), 0u);
}

TEST_P(StoreFaults, GrowthFailingAtChosenCallsLosesOnlyThoseInserts) {
  for (const std::set<int>& failing :
       {std::set<int>{1}, std::set<int>{2}, std::set<int>{1, 2, 3}, std::set<int>{2, 4}}) {
    FailingResizes memory(failing);
    auto store = GetParam()(256, 64, 1000, memory);
    std::vector<std::int32_t> trail;
    std::vector<ScreenPoint> kept;
    int refused = 0;
    for (int i = 0; i < 9000; ++i) {
      ScreenPoint point{i % 256, (i / 256) % 64, Palette16[static_cast<std::size_t>(1 + i % 15)]};
      const ScreenPoint asGiven = point;
      const std::int32_t index = store->InsertPoint(trail.empty() ? -1 : trail.back(), point);
      if (index < 0) {
        ++refused;
        EXPECT_EQ(point.x, -1);
        continue;
      }
      trail.push_back(index);
      kept.push_back(asGiven);
    }
    // One lost insert per failed resize, no more.
    EXPECT_EQ(refused, static_cast<int>(failing.size()));
    EXPECT_EQ(store->StoredPoints(), trail.size());
    EXPECT_EQ(store->Capacity(), 1000u + 4 * PointStore::kGrowBy);

    // Every stored point is intact, and the trail unwinds oldest first.
    std::int32_t oldest = trail.front();
    for (std::size_t i = 0; i < trail.size(); ++i) {
      ASSERT_EQ(oldest, trail[i]);
      ScreenPoint stored;
      ASSERT_EQ(store->GetPoint(oldest, stored), 1);
      EXPECT_EQ(stored.x, kept[i].x);
      EXPECT_EQ(stored.y, kept[i].y);
      EXPECT_EQ(stored.colour, kept[i].colour);
      ScreenPoint repaint;
      oldest = store->RemovePoint(oldest, repaint);
    }
    EXPECT_EQ(oldest, -1);
    EXPECT_EQ(store->StoredPoints(), 0u);
  }
}

TEST_P(StoreFaults, AStoreWithoutMemoryRefusesEverything) {
  RefuseEverything memory;
  auto store = GetParam()(64, 64, 0, memory);
  EXPECT_TRUE(store->IsInert());
  ScreenPoint point{1, 1, Palette16[15]};
  EXPECT_EQ(store->InsertPoint(-1, point), -1);
  EXPECT_EQ(point.x, -1);
  ScreenPoint repaint{5, 5, Palette16[3]};
  EXPECT_EQ(store->RemovePoint(0, repaint), -1);
  EXPECT_EQ(repaint.x, -1);
  EXPECT_EQ(store->StoredPoints(), 0u);
}

INSTANTIATE_TEST_SUITE_P(BothStores, StoreFaults,
                         ::testing::Values(&MakePointStore, &MakeRowWalkPointStore),
                         testing::StoreName);

// About a hundred swirls launched within five seconds (one per pass), more
// points live at once than the default pool of 65536 nodes holds.
const char* const kCrowdedScene = "nv=1200\nbs=900\nn=120\np=1\ndt=0\nstop=5\na=60\nb=30\nv=1\n";

TEST(ShowFaults, AShowWhoseGrowthKeepsFailingStillEndsWithEveryTrailErased) {
  testing::TempDir dir;
  SceneFiles files(dir, "screen=640x480\nbuffer=1\n", kCrowdedScene);
  FailingResizes memory({2, 3, 5, 8, 9, 13});
  SimulatedClock clock(1000);
  ShadowedShow run;
  ASSERT_EQ(run.Load(files, clock, memory), 1);
  CountingSink sink;
  const RunSummary summary = RunPasses(run, clock, sink, 20000, false);
  EXPECT_EQ(summary.broken, "");
  EXPECT_TRUE(summary.finished);
  EXPECT_GE(memory.calls, 10);  // the pool tried to grow past the failures
  EXPECT_GT(summary.peakStored, 65536u);
  EXPECT_EQ(run.engine->FreeSlots(), kMaxLiveSwirls);
  EXPECT_EQ(run.show.TrailStore->StoredPoints(), 0u);
}

TEST(ShowFaults, AnInertStoreRunsTheShowWithNothingDrawnAndEndsAsUsual) {
  testing::TempDir dir;
  SceneFiles files(dir, "screen=640x480\n", kCrowdedScene);
  RefuseEverything memory;
  SimulatedClock clock(1000);
  ShadowedShow run;
  ASSERT_EQ(run.Load(files, clock, memory), 1);
  ASSERT_TRUE(run.show.TrailStore->IsInert());
  CountingSink sink;
  const RunSummary summary = RunPasses(run, clock, sink, 20000, false);
  EXPECT_EQ(summary.broken, "");
  EXPECT_TRUE(summary.finished);
  EXPECT_EQ(sink.pixels, 0u);
  EXPECT_GE(run.shadow->Refused(), 50u * 1200u);  // every step of every swirl
  EXPECT_EQ(run.show.TrailStore->StoredPoints(), 0u);
}

// Opens files through the real file system, with a hook that runs before each
// open, and optionally hands back a stream that cannot be read.
class HookedOpener final : public FileOpener {
 public:
  std::FILE* Open(const std::string& path) override {
    opened.push_back(path);
    if (beforeOpen)
      beforeOpen(path);
    if (unreadable.count(path) != 0) {
      // Open for appending only: the stream exists, every read of it fails.
      return std::fopen(path.c_str(), "a");
    }
    return std::fopen(path.c_str(), "r");
  }
  std::function<void(const std::string&)> beforeOpen;
  std::set<std::string> unreadable;
  std::vector<std::string> opened;
};

TEST(FileFaults, ASceneThatVanishesBetweenTheTwoOpenAttemptsFailsTheLoad) {
  testing::TempDir dir;
  SceneFiles files(dir, "wait=77\n", kCrowdedScene);
  const std::string withExtension = dir.PathOf("scene.zrv");
  HookedOpener opener;
  // The scene is there when the load starts and gone by the second attempt.
  opener.beforeOpen = [&](const std::string& path) {
    if (path == files.args.scene)
      std::filesystem::remove(withExtension);
  };
  files.env.opener = &opener;
  LoadedScene loaded;
  Diagnostics diag;
  EXPECT_EQ(LoadFiles(files.args, files.env, loaded, &diag), 0);
  EXPECT_EQ(loaded.settings.WaitCount, 77u);  // the settings file stays read
  ASSERT_EQ(opener.opened.size(), 3u);
  EXPECT_EQ(opener.opened[2], withExtension);
  ASSERT_TRUE(diag.HasErrors());
  EXPECT_EQ(diag.notes.back().code, NoteCode::kCannotOpen);
}

TEST(FileFaults, ASettingsFileThatCannotBeReadFailsTheLoad) {
  testing::TempDir dir;
  SceneFiles files(dir, "screen=320x200\nwait=5\n", kCrowdedScene);
  HookedOpener opener;
  opener.unreadable.insert(dir.PathOf("prog/zirvo.ini"));
  files.env.opener = &opener;
  LoadedScene loaded;
  EXPECT_EQ(LoadFiles(files.args, files.env, loaded), 0);
  EXPECT_EQ(opener.opened.size(), 1u);  // the scene is not even looked for
}

TEST(FileFaults, ASceneFileThatCannotBeReadIsNotTakenForAnEmptyScene) {
  testing::TempDir dir;
  SceneFiles files(dir, "screen=320x200\n", kCrowdedScene);
  HookedOpener opener;
  opener.unreadable.insert(dir.PathOf("scene.zrv"));
  std::string path = files.args.scene;
  Settings settings;
  SpecTable specs;
  EXPECT_EQ(ReadSceneFile(path, settings, specs, nullptr, opener), 0);
  EXPECT_EQ(specs.SpecCount, 0);
}

TEST(FileFaults, ASceneNameThatIsADirectoryFailsTheLoad) {
  testing::TempDir dir;
  SceneFiles files(dir, "screen=320x200\n", kCrowdedScene);
  std::filesystem::create_directory(dir.PathOf("scenes"));
  files.args.scene = dir.PathOf("scenes");
  LoadedScene loaded;
  EXPECT_EQ(LoadFiles(files.args, files.env, loaded), 0);
}

}  // namespace
}  // namespace zirvo::testing
