// The indexed store against the row-walk store: the same long operation
// sequences must give the same results, repaints, node numbering and node
// points and links, and whole shows must draw the very same pixels with either store.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "EngineHarness.h"
#include "engine/Delayer.h"
#include "engine/IndexedPointStore.h"
#include "engine/PixelSink.h"
#include "engine/RowWalkPointStore.h"
#include "engine/Show.h"
#include "support/TempDir.h"

namespace zirvo {
namespace {

// Pool memory whose fresh bytes are a fixed pattern, so that never-used node
// fields compare equal between stores, and whose growth can be refused.
class PatternedMemory : public PoolMemory {
 public:
  bool refuseGrowth = false;

  void* Allocate(std::size_t bytes) override {
    void* block = PoolMemory::Allocate(bytes);
    if (block != nullptr)
      std::memset(block, 0x5A, bytes);
    sizes_[block] = bytes;
    return block;
  }
  void* Resize(void* block, std::size_t bytes) override {
    if (refuseGrowth)
      return nullptr;
    const std::size_t old = sizes_[block];
    void* grown = PoolMemory::Resize(block, bytes);
    if (grown == nullptr)
      return nullptr;
    sizes_.erase(block);
    sizes_[grown] = bytes;
    if (bytes > old)
      std::memset(static_cast<char*>(grown) + old, 0x5A, bytes - old);
    return grown;
  }
  void Release(void* block) override {
    sizes_.erase(block);
    PoolMemory::Release(block);
  }

 private:
  std::map<void*, std::size_t> sizes_;
};

template <typename Indexed>
struct StorePair {
  StorePair(std::int32_t width, std::int32_t height, std::uint32_t capacity, PixelIndexKind kind)
      : reference(width, height, capacity, referenceMemory),
        indexed(width, height, capacity, indexedMemory, kind) {}

  void RefuseGrowth(bool refuse) {
    referenceMemory.refuseGrowth = refuse;
    indexedMemory.refuseGrowth = refuse;
  }

  std::int32_t Insert(std::int32_t previous, ScreenPoint point) {
    ScreenPoint other = point;
    const std::int32_t expected = reference.InsertPoint(previous, point);
    const std::int32_t actual = indexed.InsertPoint(previous, other);
    EXPECT_EQ(actual, expected);
    ExpectSamePoint(other, point);
    ExpectSameCounts();
    return expected;
  }

  std::int32_t Remove(std::int32_t index, ScreenPoint garbage) {
    ScreenPoint out = garbage;
    ScreenPoint other = garbage;
    const std::int32_t expected = reference.RemovePoint(index, out);
    const std::int32_t actual = indexed.RemovePoint(index, other);
    EXPECT_EQ(actual, expected) << "removing " << index;
    ExpectSamePoint(other, out);
    ExpectSameCounts();
    return expected;
  }

  void ExpectSameCounts() const {
    EXPECT_EQ(indexed.Capacity(), reference.Capacity());
    EXPECT_EQ(indexed.FreeCount(), reference.FreeCount());
    EXPECT_EQ(indexed.IsInert(), reference.IsInert());
  }

  // Every node as anything outside the store can see it: its point (GetPoint
  // shows it, in use or not) and its trail or free-list link (RemovePoint
  // returns the one, the numbering of later nodes follows the other); and GetPoint at and beyond
  // the pool. The row links are the stores' own business: they differ by design.
  void ExpectSamePools() const {
    ASSERT_EQ(indexed.Capacity(), reference.Capacity());
    if (reference.IsInert()) {
      EXPECT_TRUE(indexed.IsInert());
      return;
    }
    for (std::uint32_t i = 0; i < reference.Capacity(); ++i) {
      ScreenPoint a{7, 7, 7}, b{7, 7, 7};
      ASSERT_EQ(indexed.GetPoint(static_cast<std::int32_t>(i), a), 1);
      ASSERT_EQ(reference.GetPoint(static_cast<std::int32_t>(i), b), 1);
      ASSERT_EQ(a.x, b.x) << "node " << i;
      ASSERT_EQ(a.y, b.y) << "node " << i;
      ASSERT_EQ(a.colour, b.colour) << "node " << i;
      ASSERT_EQ(indexed.Nodes()[i].chainNext, reference.Nodes()[i].chainNext) << "node " << i;
    }
    for (std::int64_t i : {std::int64_t{0}, std::int64_t{reference.Capacity()} - 1,
                           std::int64_t{reference.Capacity()}, std::int64_t{-1}}) {
      ScreenPoint a{7, 7, 7}, b{7, 7, 7};
      EXPECT_EQ(indexed.GetPoint(static_cast<std::int32_t>(i), a),
                reference.GetPoint(static_cast<std::int32_t>(i), b));
      ExpectSamePoint(a, b);
    }
  }

  static void ExpectSamePoint(const ScreenPoint& actual, const ScreenPoint& expected) {
    EXPECT_EQ(actual.x, expected.x);
    EXPECT_EQ(actual.y, expected.y);
    EXPECT_EQ(actual.colour, expected.colour);
  }

  PatternedMemory referenceMemory;
  PatternedMemory indexedMemory;
  RowWalkPointStore reference;
  Indexed indexed;
};

// Trails drawn by a random mixture of moves: scattered points, clustered runs,
// stacks on a few hot pixels, points off the screen, removals of trail oldest
// points (and of nodes that are not in use), refused growth.
template <typename Indexed>
void Drive(StorePair<Indexed>& stores, std::int32_t width, std::int32_t height, std::uint32_t seed,
           int operations) {
  std::mt19937 rng(seed);
  auto below = [&rng](std::int64_t n) {
    return n <= 0 ? std::int64_t{0} : std::int64_t(rng() % std::uint64_t(n));
  };
  const COLORREF colours[] = {Palette16[12], Palette16[10], Palette16[9], kBlack};
  std::vector<std::deque<std::int32_t>> trails(12);
  std::vector<ScreenPoint> hot;
  for (int i = 0; i < 6; ++i) {
    hot.push_back({static_cast<std::int32_t>(below(width)),
                   static_cast<std::int32_t>(below(std::min(height, 4))), 0});
  }
  ScreenPoint cursor{0, 0, 0};
  for (int op = 0; op < operations && !::testing::Test::HasFailure(); ++op) {
    auto& trail = trails[static_cast<std::size_t>(below(std::int64_t(trails.size())))];
    stores.RefuseGrowth(below(10) == 0);
    const std::int64_t move = below(100);
    if (move < 38 && !trail.empty()) {
      const std::int32_t oldest = trail.front();
      const std::int32_t next = stores.Remove(oldest, {13, 14, 15});
      trail.pop_front();
      EXPECT_EQ(next, trail.empty() ? -1 : trail.front());
      continue;
    }
    if (move < 41) {
      // Nothing to remove: -1, beyond the pool, or a node that is not in use.
      std::int32_t nonsense[] = {-1, static_cast<std::int32_t>(stores.reference.Capacity()), -7,
                                 0x7FFFFFFF, -1};
      ScreenPoint probe;
      const auto someNode = static_cast<std::int32_t>(below(stores.reference.Capacity()));
      if (stores.reference.GetPoint(someNode, probe) == 1 && probe.x < 0)
        nonsense[4] = someNode;
      stores.Remove(nonsense[below(5)], {1, 2, 3});
      continue;
    }
    ScreenPoint point;
    if (move < 60) {  // scattered
      point = {static_cast<std::int32_t>(below(width)), static_cast<std::int32_t>(below(height)),
               0};
    } else if (move < 80) {  // a clustered run near the last point
      cursor.x = static_cast<std::int32_t>(
          std::clamp<std::int64_t>(cursor.x + below(7) - 3, 0, width - 1));
      cursor.y = static_cast<std::int32_t>(
          std::clamp<std::int64_t>(cursor.y + below(3) - 1, 0, height - 1));
      point = cursor;
    } else if (move < 95) {  // stacked on a hot pixel
      point = hot[static_cast<std::size_t>(below(std::int64_t(hot.size())))];
    } else {  // on an edge, or just off the screen
      const std::int32_t xs[] = {-1, 0, width - 1, width, INT32_MIN, INT32_MAX};
      const std::int32_t ys[] = {-1, 0, height - 1, height, INT32_MIN, INT32_MAX};
      point = {xs[below(6)], ys[below(6)], 0};
    }
    point.colour = colours[below(4)];
    const std::int32_t previous = trail.empty() ? -1 : trail.back();
    const std::int32_t index = stores.Insert(previous, point);
    if (index != -1)
      trail.push_back(index);
  }
  stores.RefuseGrowth(false);
  // Empty every trail: every remaining repaint decision is compared too.
  for (auto& trail : trails) {
    for (std::int32_t index : trail)
      stores.Remove(index, {9, 9, 9});
  }
  EXPECT_EQ(stores.indexed.FreeCount(), stores.indexed.Capacity());
}

struct DriveCase {
  const char* name;
  std::int32_t width, height;
  std::uint32_t capacity;
  PixelIndexKind kind;
  int operations;
};

void PrintTo(const DriveCase& c, std::ostream* os) {
  *os << c.name;
}

class StoreDifferential : public ::testing::TestWithParam<DriveCase> {};

template <typename Indexed>
void DriveSeeds(const DriveCase& c) {
  for (std::uint32_t seed = 1; seed <= 4 && !::testing::Test::HasFailure(); ++seed) {
    StorePair<Indexed> stores(c.width, c.height, c.capacity, c.kind);
    Drive(stores, c.width, c.height, seed * 7919u, c.operations);
    stores.ExpectSamePools();
  }
}

// Either node layout, where the screen's pixels can be numbered in a packed node.
TEST_P(StoreDifferential, LongRandomSequencesMatchTheReference) {
  const DriveCase& c = GetParam();
  DriveSeeds<WideIndexedPointStore>(c);
  if (std::uint64_t(c.width) * std::uint64_t(c.height) <= PixelNumbering::kMaxPixels)
    DriveSeeds<IndexedPointStore>(c);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, StoreDifferential,
    ::testing::Values(
        // Small pools grow often (and are refused growth now and then).
        DriveCase{"TinyScreenDense", 5, 3, 1, PixelIndexKind::kDense, 20000},
        DriveCase{"SmallDense", 130, 40, 7, PixelIndexKind::kDense, 30000},
        DriveCase{"SmallHashed", 130, 40, 100, PixelIndexKind::kHashed, 30000},
        DriveCase{"PoolSearchFallback", 70, 20, 3, PixelIndexKind::kNone, 20000},
        // Wide rows, on either index.
        DriveCase{"WideDense", 300000, 2, 0, PixelIndexKind::kDense, 30000},
        DriveCase{"WideHashed", 16777216, 3, 2048, PixelIndexKind::kHashed, 30000},
        // A huge virtual screen picks the hashed index by itself.
        DriveCase{"HugeAuto", 100000, 100000, 0, PixelIndexKind::kAuto, 30000},
        DriveCase{"WidestAuto", 0x7FFFFFFF, 2, 0, PixelIndexKind::kAuto, 20000}),
    [](const ::testing::TestParamInfo<DriveCase>& param) { return param.param.name; });

TEST(StoreDifferentialShapes, DegenerateSizesAndPoolsAreRefusedAlike) {
  struct Shape {
    std::int32_t width, height;
    std::uint32_t capacity;
  };
  for (Shape s : {Shape{0, 10, 5}, Shape{10, 0, 5}, Shape{-3, 4, 5}, Shape{4, -3, 5},
                  Shape{1, 1, 0}, Shape{3, 3, 0x80000000u}, Shape{3, 3, 0xFFFFFFFFu}}) {
    StorePair<IndexedPointStore> stores(s.width, s.height, s.capacity, PixelIndexKind::kAuto);
    stores.ExpectSameCounts();
    const std::int32_t a = stores.Insert(-1, {0, 0, Palette16[12]});
    stores.Insert(a, {0, 0, Palette16[10]});
    stores.Remove(a, {1, 1, 1});
    stores.Remove(0, {1, 1, 1});
    stores.ExpectSamePools();
  }
}

TEST(StoreDifferentialShapes, IndexMemoryCountsAndHugeScreensStayBounded) {
  IndexedPointStore dense(1920, 1080, 0);
  RowWalkPointStore reference(1920, 1080, 0);
  ASSERT_TRUE(dense.IsIndexed());
  // Both hold as many nodes; the reference wide ones and a row table beside
  // them, the indexed store packed ones and a word for every pixel.
  const std::size_t nodes = PointStore::kDefaultCapacity;
  EXPECT_EQ(reference.MemoryBytes(), nodes * 24u + 1080u * 4u);
  EXPECT_EQ(dense.MemoryBytes(), nodes * 20u + 1920u * 1080u * 4u);

  // 10^10 pixels: no packed node can number them; the wide store's index
  // follows the points, not the screen's area.
  EXPECT_TRUE(IndexedPointStore(100000, 100000, 0).IsInert());
  EXPECT_EQ(MakePointStore(100000, 100000, 0)->MemoryBytes(), nodes * 24u)
      << "wide nodes, and an index that starts empty";
  WideIndexedPointStore huge(100000, 100000, 0);
  ASSERT_TRUE(huge.IsIndexed());
  const std::size_t empty = huge.MemoryBytes();
  EXPECT_LT(empty, std::size_t{64} << 20);
  std::int32_t previous = -1;
  for (std::int32_t i = 0; i < 50000; ++i) {
    ScreenPoint p{static_cast<std::int32_t>((std::int64_t{i} * 7919) % 100000),
                  static_cast<std::int32_t>((std::int64_t{i} * 104729) % 100000), Palette16[15]};
    previous = huge.InsertPoint(previous, p);
    ASSERT_NE(previous, -1);
  }
  EXPECT_LT(huge.MemoryBytes() - empty, std::size_t{50000} * 300);
}

// ---------------------------------------------------------------------------
// Whole shows: the pixels drawn must be identical with either store.

class TraceClock : public ShowTime, public Delayer {
 public:
  std::uint64_t micros = 0;
  std::uint32_t Elapsed() override { return static_cast<std::uint32_t>(micros / 1000000); }
  void Delay() override { micros += 100; }
};

struct Trace {
  std::vector<testing::RecordedPixel> pixels;
  std::uint32_t capacity = 0;
  std::uint32_t freeCount = 0;
  int passes = 0;
};

Trace RunShow(const std::string& settingsDir, const std::string& scenePath, ScreenSize screen,
              StoreMaker makeStore, int maxPasses) {
  Trace trace;
  Show show;
  ProgramArgs args;
  args.hasProgram = true;
  args.program = settingsDir + "/zirvo";
  args.hasScene = true;
  args.scene = scenePath;
  LoadEnvironment env;
  env.screen = screen;
  env.currentDirectory = settingsDir;
  env.style = PathStyle::kPosix;
  TraceClock clock;
  if (LoadScene(show, args, env, clock, nullptr, DefaultPoolMemory(), makeStore) == 0) {
    ADD_FAILURE() << "cannot load " << scenePath;
    return trace;
  }
  show.random.Seed(20261209);
  testing::PixelRecorder recorder;
  for (; trace.passes < maxPasses; ++trace.passes) {
    clock.Delay();  // the drawing thread's Delay at the top of a pass
    if (show.engine->DrawingPass(recorder, clock) != 0)
      break;
  }
  trace.pixels = std::move(recorder.pixels);
  trace.capacity = show.TrailStore->Capacity();
  trace.freeCount = show.TrailStore->FreeCount();
  return trace;
}

void ExpectSameTrace(const std::string& settingsDir, const std::string& scenePath,
                     ScreenSize screen, int maxPasses) {
  const Trace reference =
      RunShow(settingsDir, scenePath, screen, &MakeRowWalkPointStore, maxPasses);
  const Trace indexed = RunShow(settingsDir, scenePath, screen, &MakePointStore, maxPasses);
  ASSERT_GT(reference.pixels.size(), 1000u) << scenePath << " drew almost nothing";
  EXPECT_EQ(indexed.passes, reference.passes) << scenePath;
  EXPECT_EQ(indexed.capacity, reference.capacity) << scenePath;
  EXPECT_EQ(indexed.freeCount, reference.freeCount) << scenePath;
  ASSERT_EQ(indexed.pixels.size(), reference.pixels.size()) << scenePath;
  for (std::size_t i = 0; i < reference.pixels.size(); ++i) {
    ASSERT_EQ(indexed.pixels[i], reference.pixels[i]) << scenePath << " pixel " << i;
  }
}

std::string BenchScenes() {
  return (std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "bench" / "scenes")
      .lexically_normal()
      .string();
}

TEST(StoreDifferentialShows, BenchScenesDrawTheSamePixelsWithEitherStore) {
  // Bounded runs of the benchmark scenes as shipped (the dense one fills up
  // with hundreds of live swirls; the crossing one restores colours on erase).
  const std::string dir = BenchScenes();
  ExpectSameTrace(dir, dir + "/dense.zrv", ScreenSize{1920, 1080}, 60);
  ExpectSameTrace(dir, dir + "/default.zrv", ScreenSize{1920, 1080}, 400000);
  ExpectSameTrace(dir, dir + "/crossing.zrv", ScreenSize{1920, 1080}, 600);
}

TEST(StoreDifferentialShows, ShortenedScenesRunToTheirEndIdentically) {
  testing::TempDir dir;
  dir.Write("zirvo.ini", "wait=1\nbuffer=0\n");
  const std::string settingsDir = dir.path().string();
  struct SceneText {
    const char* name;
    const char* text;
    ScreenSize screen;
  };
  const SceneText scenes[] = {
      // The dense scene in small: many kinds, short trails, every step taken.
      {"dense.zrv",
       "screen=480x270\nnv=600\nbs=150\nn=10\ndt=0\nstop=1\n\n"
       "nv=500\nbs=200\nn=10\ndt=0\nc=r\nstop=1\n\n"
       "nv=700\nbs=100\nn=10\ndt=0\nc=a\nd=1\nstop=1\n\n"
       "nv=400\nbs=400\nn=10\ndt=0\nm=1\nstop=1\n",
       {480, 270}},
      // All defaults, shortened.
      {"default.zrv", "nv=900\nbs=300\nstop=1\n", {640, 480}},
      // Trails that overlap pixel for pixel: erases restore other colours.
      {"crossing.zrv",
       "screen=200x200\nscale=y\npx=100\npy=100\nfx=100\nfy=100\na=60\nb=60\nv=0\n"
       "nv=800\nbs=300\nn=8\ndt=0\nc=a\nstop=1\n\n"
       "px=100\npy=100\nfx=100\nfy=100\na=60\nb=20\nv=0\nnn=50\n"
       "nv=600\nbs=250\nn=8\ndt=1\nc=r\nm=1\nstop=1\n",
       {640, 480}},
      // A huge virtual screen: the hashed index.
      {"huge.zrv",
       "screen=100000x100000\nscale=y\na=3000\nb=900\nnv=800\nbs=300\nn=40\ndt=0\nstop=1\n",
       {800, 600}},
  };
  for (const SceneText& scene : scenes) {
    const std::string path = dir.Write(scene.name, scene.text);
    ExpectSameTrace(settingsDir, path, scene.screen, 200000);
  }
}

}  // namespace
}  // namespace zirvo
