// The frame-paced show: a frame runs the turns that real time allows and stops
// between any two of them without changing the picture; a show that ends gives
// way to the next scene, a scene that does not load shows the banner for a
// while; a slow show is cut at half a frame and says it runs behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "app/FrameLoop.h"
#include "app/FramePacing.h"
#include "app/FrameRate.h"
#include "app/SaverShow.h"
#include "engine/Show.h"
#include "engine/SimulatedClock.h"
#include "support/TempDir.h"

namespace zirvo {
namespace {

constexpr COLORREF kRed = 0x0000FF;   // palette 12
constexpr COLORREF kCyan = 0xFFFF00;  // palette 11

const char* const kSettings = "screen=640x480\n";
const char* const kEndlessRed = "nv=30000\nbs=1500\ndt=0\nn=4\nnw=600\nc=12\n";
const char* const kShortRed = "stop=1\nnv=300\nbs=100\ndt=0\nn=2\nc=12\n";
const char* const kShortCyan = "stop=1\nnv=200\nbs=50\ndt=0\nn=3\nc=11\n";

class FakeClock final : public MicrosecondClock {
 public:
  std::uint64_t NowUs() override { return now += perLook; }
  std::uint64_t now = 0;
  std::uint64_t perLook = 0;
};

struct Pixel {
  std::int32_t x, y;
  COLORREF colour;
  bool operator==(const Pixel&) const = default;
};

// Records what a show does to its area; a pixel can be made to cost real time.
class RecordingCanvas final : public ShowCanvas {
 public:
  explicit RecordingCanvas(FakeClock* clock = nullptr, std::uint64_t pixelUs = 0)
      : clock_(clock), pixelUs_(pixelUs) {}
  void SetPixel(std::int32_t x, std::int32_t y, COLORREF colour) override {
    pixels.push_back({x, y, colour});
    colours.back().insert(colour);
    if (clock_ != nullptr)
      clock_->now += pixelUs_;
  }
  ScreenSize Size() const override { return size; }
  void Clear() override {
    ++clears;
    colours.emplace_back();
  }
  void PaintBanner() override { ++banners; }

  ScreenSize size{640, 480};
  std::vector<Pixel> pixels;
  // The colours drawn after each Clear.
  std::vector<std::set<COLORREF>> colours{1};
  int clears = 0;
  int banners = 0;

 private:
  FakeClock* clock_;
  std::uint64_t pixelUs_;
};

// Scenes from a temporary directory, with zirvo.ini beside a program there.
class DirectoryLoader final : public SceneLoader {
 public:
  explicit DirectoryLoader(const testing::TempDir& dir) : dir_(dir) {
    dir_.Write("prog/zirvo.ini", kSettings);
  }
  bool Load(const std::string& scene, const ScreenSize& size, Show& show, ShowTime& time) override {
    ProgramArgs args;
    args.hasProgram = true;
    args.program = dir_.PathOf("prog/zirvo");
    args.hasScene = true;
    args.scene = dir_.PathOf(scene);
    LoadEnvironment env;
    env.screen = size;
    env.currentDirectory = dir_.path().string();
    env.style = PathStyle::kPosix;
    ++loads;
    return LoadScene(show, args, env, time) == 1;
  }
  int loads = 0;

 private:
  const testing::TempDir& dir_;
};

class PixelList final : public PixelSink {
 public:
  void SetPixel(std::int32_t x, std::int32_t y, COLORREF colour) override {
    pixels.push_back({x, y, colour});
  }
  std::vector<Pixel> pixels;
};

TEST(SaverShow, FramesOfAnySizeDrawWhatTheDrawingLoopDraws) {
  testing::TempDir dir;
  // Kinds that take over from each other on the show's clock: a Delay paid in
  // the wrong place moves a launch across a second and changes the picture.
  dir.Write("red.zrv", std::string("stop=1\n") + kEndlessRed + "\nstart=1\nstop=2\n" + kShortCyan +
                           "\nstart=2\nnv=30000\nbs=1500\ndt=0\nn=4\nc=9\n");
  DirectoryLoader loader(dir);

  // The drawing thread's loop on the simulated clock, three show seconds.
  Show reference;
  SimulatedClock referenceClock(kCalibratedTurnUs);
  ASSERT_TRUE(loader.Load("red.zrv", {640, 480}, reference, referenceClock));
  reference.random.Seed(7);
  PixelList expected;
  RunOnClock(*reference.engine, referenceClock, expected, 3'000'000);
  ASSERT_GT(expected.pixels.size(), 20000u);

  // The same scene and seed in frames of uneven, often tiny, lengths.
  RecordingCanvas canvas;
  FakeClock clock;
  SaverShow show(canvas, loader, SceneRotation({"red.zrv"}, 0), ShowTiming{}, 7);
  show.Start(0);
  std::uint32_t lengths = 12345;
  while (show.ShowSeconds() < 3.5) {
    lengths = lengths * 1103515245u + 12345u;
    show.Run(static_cast<double>((lengths >> 8) % 20000), UINT64_MAX, clock);
  }
  ASSERT_GE(canvas.pixels.size(), expected.pixels.size());
  canvas.pixels.resize(expected.pixels.size());
  EXPECT_TRUE(canvas.pixels == expected.pixels);
}

TEST(SaverShow, AShowThatEndsClearsItsAreaAndTheOtherSceneFollows) {
  testing::TempDir dir;
  dir.Write("red.zrv", kShortRed);
  dir.Write("cyan.zrv", kShortCyan);
  DirectoryLoader loader(dir);
  RecordingCanvas canvas;
  FakeClock clock;
  SaverShow show(canvas, loader, SceneRotation({"red.zrv", "cyan.zrv"}, 5), ShowTiming{}, 1);
  FrameLoop loop(clock, 16667, 4.0);
  loop.SetShows({&show});
  show.Start(clock.now);

  std::vector<std::string> scenes = {show.Scene()};
  for (int frame = 0; frame < 60 * 12; ++frame) {
    loop.RunFrame();
    clock.now += 16667;
    if (show.Scene() != scenes.back())
      scenes.push_back(show.Scene());
  }
  ASSERT_GE(scenes.size(), 4u) << "a show of about a second at speed 4, for 12 s";
  for (std::size_t i = 1; i < scenes.size(); ++i)
    EXPECT_NE(scenes[i], scenes[i - 1]);
  EXPECT_TRUE(show.Running());
  // Every scene's pixels begin on a cleared area and are of its one colour
  // (or black, where its trails are erased).
  EXPECT_EQ(canvas.clears, static_cast<int>(scenes.size()));
  for (std::size_t i = 1; i + 1 < canvas.colours.size(); ++i) {
    const std::set<COLORREF> want = {kBlack, scenes[i - 1] == "red.zrv" ? kRed : kCyan};
    EXPECT_EQ(canvas.colours[i], want) << "scene " << i;
  }
}

TEST(SaverShow, InARotationAShowThatRunsForeverGivesWayAfterItsTime) {
  testing::TempDir dir;
  dir.Write("red.zrv", kEndlessRed);
  dir.Write("cyan.zrv", "nv=30000\nbs=1500\ndt=0\nn=4\nc=11\n");
  DirectoryLoader loader(dir);
  RecordingCanvas canvas;
  FakeClock clock;
  ShowTiming timing;
  timing.sceneUs = 2'000'000;
  SaverShow show(canvas, loader, SceneRotation({"red.zrv", "cyan.zrv"}, 5), timing, 1);
  show.Start(0);
  std::vector<std::string> scenes = {show.Scene()};
  double longest = 0;
  for (int frame = 0; frame < 1100; ++frame) {
    longest = std::max(longest, show.ShowSeconds());
    show.Run(10'000, UINT64_MAX, clock);
    if (show.Scene() != scenes.back())
      scenes.push_back(show.Scene());
  }
  // 11 show seconds: a new scene every 2.
  ASSERT_EQ(scenes.size(), 6u);
  for (std::size_t i = 1; i < scenes.size(); ++i)
    EXPECT_NE(scenes[i], scenes[i - 1]);
  EXPECT_LE(longest, 2.0);
  EXPECT_GT(longest, 1.9);
  EXPECT_EQ(canvas.clears, 6);

  // A scene on its own goes on.
  RecordingCanvas alone;
  SaverShow one(alone, loader, SceneRotation({"red.zrv"}, 5), timing, 1);
  one.Start(0);
  for (int frame = 0; frame < 500; ++frame)
    one.Run(10'000, UINT64_MAX, clock);
  EXPECT_GT(one.ShowSeconds(), 4.9);
  EXPECT_EQ(alone.clears, 1);
}

TEST(SaverShow, ASceneThatDoesNotLoadShowsTheBannerThenIsTriedAgain) {
  testing::TempDir dir;
  DirectoryLoader loader(dir);
  RecordingCanvas canvas;
  FakeClock clock;
  SaverShow show(canvas, loader, SceneRotation({"late.zrv"}, 0), ShowTiming{98, 5'000'000}, 0);
  show.Start(0);
  EXPECT_FALSE(show.Running());
  EXPECT_EQ(canvas.banners, 1);

  clock.now = 4'900'000;
  EXPECT_EQ(show.Run(1e6, UINT64_MAX, clock).turns, 0u);
  EXPECT_EQ(loader.loads, 1) << "still the banner's few seconds";

  // Written meanwhile: the next try loads it.
  dir.Write("late.zrv", kEndlessRed);
  clock.now = 5'000'000;
  show.Run(1e6, UINT64_MAX, clock);
  EXPECT_EQ(loader.loads, 2);
  EXPECT_TRUE(show.Running());
  EXPECT_EQ(canvas.clears, 2);
  EXPECT_GT(show.Run(1e6, UINT64_MAX, clock).turns, 10000u);
}

TEST(SaverShow, ARestartBeginsTheSceneAgainWithItsSeed) {
  testing::TempDir dir;
  dir.Write("red.zrv", kEndlessRed);
  DirectoryLoader loader(dir);
  RecordingCanvas canvas;
  FakeClock clock;
  SaverShow show(canvas, loader, SceneRotation({"red.zrv"}, 0), ShowTiming{}, 99);
  show.Start(0);
  show.Run(500'000, UINT64_MAX, clock);
  const std::vector<Pixel> first = canvas.pixels;
  canvas.pixels.clear();
  show.Start(0);
  EXPECT_DOUBLE_EQ(show.ShowSeconds(), 0.0);
  show.Run(500'000, UINT64_MAX, clock);
  EXPECT_TRUE(canvas.pixels == first);
}

// A frame loop over one show of the endless scene, frames of 1/60 s.
struct PacedRun {
  testing::TempDir dir;
  DirectoryLoader loader{dir};
  FakeClock clock;
  RecordingCanvas canvas;
  SaverShow show{canvas, loader, SceneRotation({"red.zrv"}, 0), ShowTiming{}, 3};

  explicit PacedRun(std::uint64_t pixelUs = 0) : canvas(&clock, pixelUs) {
    dir.Write("red.zrv", kEndlessRed);
    show.Start(0);
  }
  // `frames` frames 1/60 s apart, real time also spent inside them.
  std::uint64_t Frames(FrameLoop& loop, int frames) {
    std::uint64_t turns = 0;
    for (int i = 0; i < frames; ++i) {
      turns += loop.RunFrame().turns;
      clock.now += 16667;
    }
    return turns;
  }
};

TEST(FrameLoop, EachFrameRunsTheTurnsTheElapsedTimeAllowsAtTheSpeed) {
  for (double speed : {1.0, 2.5}) {
    PacedRun run;
    FrameLoop loop(run.clock, 16667, speed);
    loop.SetShows({&run.show});
    const std::uint64_t turns = run.Frames(loop, 61);  // the first frame only takes the time
    const double seconds = 60 * 16667 / 1e6;
    EXPECT_NEAR(run.show.ShowSeconds(), seconds * speed, 1e-4) << "speed " << speed;
    EXPECT_NEAR(static_cast<double>(turns), seconds * speed * 1e6 / kCalibratedTurnUs, 1.0);
    EXPECT_EQ(loop.Turns(), turns);
  }
}

TEST(FrameLoop, ASlowShowIsCutAtHalfAFrameAndDoesNotPileUpDebt) {
  PacedRun run(40);  // every pixel costs 40 us: a very large, very busy screen
  FrameLoop loop(run.clock, 16667, FrameLoop::kMaxSpeed);
  loop.SetShows({&run.show});
  loop.RunFrame();
  run.clock.now += 16667;
  std::vector<std::uint64_t> turns;
  for (int i = 0; i < 10; ++i) {
    const std::uint64_t start = run.clock.now;
    const FrameWork work = loop.RunFrame();
    const std::uint64_t took = run.clock.now - start;
    EXPECT_TRUE(work.behind);
    // At most one look at the clock late: 32 turns of a few pixels each.
    EXPECT_LE(took, 16667 / 2 + 32 * 3 * 40) << "frame " << i;
    turns.push_back(work.turns);
    run.clock.now += 16667;
  }
  // What a frame could not do is not carried into the next one.
  EXPECT_LE(turns.back(), turns.front() * 3 / 2 + 64);
  EXPECT_GT(turns.back(), 32u);
}

TEST(FrameLoop, ShowsShareTheFrameSoALaterOneStillRuns) {
  PacedRun slow(40);
  PacedRun other;
  FrameLoop loop(slow.clock, 16667, FrameLoop::kMaxSpeed);
  loop.SetShows({&slow.show, &other.show});
  loop.RunFrame();
  for (int i = 0; i < 5; ++i) {
    slow.clock.now += 16667;
    const double before = other.show.ShowSeconds();
    loop.RunFrame();
    EXPECT_GT(other.show.ShowSeconds(), before) << "frame " << i;
  }
}

TEST(FrameLoop, APauseStopsTheShowAndOnlyTimeAfterItCounts) {
  PacedRun run;
  FrameLoop loop(run.clock, 16667, 1.0);
  loop.SetShows({&run.show});
  run.Frames(loop, 30);
  const double before = run.show.ShowSeconds();
  loop.TogglePause();
  EXPECT_EQ(run.Frames(loop, 300), 0u);  // five seconds
  EXPECT_DOUBLE_EQ(run.show.ShowSeconds(), before);
  loop.TogglePause();
  run.Frames(loop, 1);
  EXPECT_NEAR(run.show.ShowSeconds() - before, 0.016667, 1e-4);
}

TEST(FrameLoop, SpeedKeysUseZirvosFactorWithinLimits) {
  FakeClock clock;
  FrameLoop loop(clock, 16667, 1.0);
  loop.SpeedUp();
  EXPECT_NEAR(loop.Speed(), 1.44, 1e-6);
  loop.SlowDown();
  loop.SlowDown();
  EXPECT_NEAR(loop.Speed(), 1 / 1.44, 1e-6);
  for (int i = 0; i < 40; ++i)
    loop.SlowDown();
  EXPECT_DOUBLE_EQ(loop.Speed(), FrameLoop::kMinSpeed);
  for (int i = 0; i < 80; ++i)
    loop.SpeedUp();
  EXPECT_DOUBLE_EQ(loop.Speed(), FrameLoop::kMaxSpeed);
}

TEST(FrameLoop, FramesAreDueAtAFixedCadenceUntilTheLoopFallsBehind) {
  FakeClock clock;
  clock.now = 1000;
  FrameLoop loop(clock, 10000, 1.0);
  EXPECT_EQ(loop.NextFrameUs(), 11000u);
  clock.now = 12500;  // a late frame: the next one is still due on the cadence
  EXPECT_EQ(loop.NextFrameUs(), 21000u);
  clock.now = 45000;  // more than an interval late: start over from now
  EXPECT_EQ(loop.NextFrameUs(), 55000u);
}

TEST(FrameRate, ReadsFramesAndTurnsOnceASecondAndTellsWhenBehind) {
  FrameRate rate;
  EXPECT_FALSE(rate.Add(0, 0, false));
  bool ready = false;
  for (int i = 1; i <= 60; ++i)
    ready = rate.Add(static_cast<std::uint64_t>(i) * 16667, 170, i == 30);
  ASSERT_TRUE(ready);
  EXPECT_NEAR(rate.FramesPerSecond(), 60 / 1.00002, 0.01);
  EXPECT_NEAR(rate.TurnsPerSecond(), 10200, 1);
  EXPECT_EQ(rate.Text(), "60 fps, 10200 turns/s, behind");
  for (int i = 61; i <= 120; ++i)
    ready = rate.Add(static_cast<std::uint64_t>(i) * 16667, 100, false);
  ASSERT_TRUE(ready);
  EXPECT_EQ(rate.Text(), "60 fps, 6000 turns/s");
}

TEST(FramePacing, ATurnIsWorthTheCalibratedDelayOrTheSettingsWait) {
  EXPECT_EQ(TurnWorthUs(0, 12.5), kCalibratedTurnUs);
  EXPECT_EQ(TurnWorthUs(1000, 12.5), 13u);
  EXPECT_EQ(TurnWorthUs(1, 12.5), 1u) << "never less than a microsecond";
  EXPECT_EQ(TurnWorthUs(300, std::nan("")), 1u);
  FakeClock clock;
  clock.perLook = 2000;  // each trial seems to take 2 ms
  EXPECT_DOUBLE_EQ(MeasureRepetitionNs(clock), 2000.0 * 1000 / 200000);
}

}  // namespace
}  // namespace zirvo
