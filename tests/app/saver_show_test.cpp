// A saver's show on one area: frames of any length draw the drawing loop's
// pixels; a show that ends gives way to the next scene of its rotation; a
// scene that does not load shows the banner for a while; a restart begins the
// scene again with its seed.
#include "app/SaverShow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "app/FramePacer.h"
#include "app/Pacing.h"
#include "engine/Show.h"
#include "engine/SimulatedClock.h"
#include "support/ClockRule.h"
#include "support/SceneDirectoryLoader.h"
#include "support/TempDir.h"

namespace zirvo {
namespace {

using testing::DirectoryLoader;
using testing::FakeNanosecondClock;

constexpr COLORREF kRed = 0x0000FF;   // palette 12
constexpr COLORREF kCyan = 0xFFFF00;  // palette 11
constexpr std::uint64_t kFrameNs = 16'666'667;

const char* const kSettings = "screen=640x480\n";
const char* const kEndlessRed = "nv=30000\nbs=1500\ndt=0\nn=4\nnw=600\nc=12\n";
const char* const kShortRed = "stop=1\nnv=300\nbs=100\ndt=0\nn=2\nc=12\n";
const char* const kShortCyan = "stop=1\nnv=200\nbs=50\ndt=0\nn=3\nc=11\n";

struct Pixel {
  std::int32_t x, y;
  COLORREF colour;
  bool operator==(const Pixel&) const = default;
};

// Records what a show does to its area.
class RecordingCanvas final : public ShowCanvas {
 public:
  void SetPixel(std::int32_t x, std::int32_t y, COLORREF colour) override {
    pixels.push_back({x, y, colour});
    colours.back().insert(colour);
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
  DirectoryLoader loader(dir, kSettings);

  // The drawing thread's loop on the simulated clock, three show seconds.
  Show reference;
  SimulatedClock referenceClock = SimulatedClock::WithStepNs(kCalibratedDelayNs);
  ASSERT_TRUE(loader.Load("red.zrv", {640, 480}, reference, referenceClock));
  reference.random.Seed(7);
  PixelList expected;
  RunOnClock(*reference.engine, referenceClock, expected, 3'000'000);
  ASSERT_GT(expected.pixels.size(), 20000u);

  // The same scene and seed in frames of uneven, often tiny, lengths.
  RecordingCanvas canvas;
  FakeNanosecondClock clock;
  SaverShow show(canvas, loader, SceneRotation({"red.zrv"}, 0), 7);
  show.Restart(0);
  std::uint32_t lengths = 12345;
  while (show.ShowSeconds() < 3.5) {
    lengths = lengths * 1103515245u + 12345u;
    show.RunFrame((lengths >> 8) % 20'000'000, kCalibratedDelayNs, {}, clock);
  }
  ASSERT_GE(canvas.pixels.size(), expected.pixels.size());
  canvas.pixels.resize(expected.pixels.size());
  EXPECT_TRUE(canvas.pixels == expected.pixels);
}

TEST(SaverShow, AShowThatEndsClearsItsAreaAndTheOtherSceneFollows) {
  testing::TempDir dir;
  dir.Write("red.zrv", kShortRed);
  dir.Write("cyan.zrv", kShortCyan);
  DirectoryLoader loader(dir, kSettings);
  RecordingCanvas canvas;
  FakeNanosecondClock clock;
  SaverShow show(canvas, loader, SceneRotation({"red.zrv", "cyan.zrv"}, 5), 1);
  FramePacer pacer(clock, kFrameNs, kCalibratedDelayNs, 4.0);
  pacer.SetShows({&show});
  show.Restart(clock.now);

  std::vector<std::string> scenes = {show.Scene()};
  for (int frame = 0; frame < 60 * 20; ++frame) {
    pacer.RunFrame();
    clock.now += kFrameNs;
    if (show.Scene() != scenes.back())
      scenes.push_back(show.Scene());
  }
  // A scene that stops at second 1 ends two real seconds in, whatever the
  // speed: twenty seconds hold no more than ten of them.
  ASSERT_GE(scenes.size(), 4u);
  EXPECT_LE(scenes.size(), 11u);
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
  DirectoryLoader loader(dir, kSettings);
  RecordingCanvas canvas;
  FakeNanosecondClock clock;
  constexpr std::uint64_t kSceneNs = 2'000'000'000;
  constexpr std::uint64_t kStepNs = 10'000'000;
  SaverShow show(canvas, loader, SceneRotation({"red.zrv", "cyan.zrv"}, 5), 1, kSceneNs);
  show.Restart(0);
  std::vector<std::string> scenes = {show.Scene()};
  double longest = 0;
  for (int frame = 0; frame < 1100; ++frame) {
    longest = std::max(longest, show.ShowSeconds());
    show.RunFrame(kStepNs, kCalibratedDelayNs, {}, clock);
    clock.now += kStepNs;
    if (show.Scene() != scenes.back())
      scenes.push_back(show.Scene());
  }
  // 11 seconds: a new scene every 2, each of them another.
  ASSERT_EQ(scenes.size(), 6u);
  for (std::size_t i = 1; i < scenes.size(); ++i)
    EXPECT_NE(scenes[i], scenes[i - 1]);
  EXPECT_LE(longest, 2.01);
  EXPECT_GT(longest, 1.9);
  EXPECT_EQ(canvas.clears, 6);

  // A scene on its own goes on.
  RecordingCanvas alone;
  SaverShow one(alone, loader, SceneRotation({"red.zrv"}, 5), 1, kSceneNs);
  one.Restart(0);
  for (int frame = 0; frame < 500; ++frame)
    one.RunFrame(kStepNs, kCalibratedDelayNs, {}, clock);
  EXPECT_GT(one.ShowSeconds(), 4.9);
  EXPECT_EQ(alone.clears, 1);
}

TEST(SaverShow, ASceneThatDoesNotLoadShowsTheBannerThenIsTriedAgain) {
  testing::TempDir dir;
  DirectoryLoader loader(dir, kSettings);
  RecordingCanvas canvas;
  FakeNanosecondClock clock;
  SaverShow show(canvas, loader, SceneRotation({"late.zrv"}, 0), 0);
  show.Restart(0);
  EXPECT_FALSE(show.Running());
  EXPECT_EQ(canvas.banners, 1);

  clock.now = SaverShow::kBannerNs - 100'000'000;
  EXPECT_EQ(show.RunFrame(1'000'000'000, kCalibratedDelayNs, {}, clock).turns, 0u);
  EXPECT_EQ(loader.loads, 1) << "still the banner's few seconds";

  // Written meanwhile: the next try loads it.
  dir.Write("late.zrv", kEndlessRed);
  clock.now = SaverShow::kBannerNs;
  show.RunFrame(1'000'000'000, kCalibratedDelayNs, {}, clock);
  EXPECT_EQ(loader.loads, 2);
  EXPECT_TRUE(show.Running());
  EXPECT_EQ(canvas.clears, 2);
  EXPECT_GT(show.RunFrame(1'000'000'000, kCalibratedDelayNs, {}, clock).turns, 5000u);
}

TEST(SaverShow, ARestartBeginsTheSceneAgainWithItsSeed) {
  testing::TempDir dir;
  dir.Write("red.zrv", kEndlessRed);
  DirectoryLoader loader(dir, kSettings);
  RecordingCanvas canvas;
  FakeNanosecondClock clock;
  SaverShow show(canvas, loader, SceneRotation({"red.zrv"}, 0), 99);
  show.Restart(0);
  show.RunFrame(500'000'000, kCalibratedDelayNs, {}, clock);
  const std::vector<Pixel> first = canvas.pixels;
  canvas.pixels.clear();
  show.Restart(0);
  EXPECT_DOUBLE_EQ(show.ShowSeconds(), 0.0);
  show.RunFrame(500'000'000, kCalibratedDelayNs, {}, clock);
  EXPECT_TRUE(canvas.pixels == first);
}

}  // namespace
}  // namespace zirvo
