// The saver core, headless: zirvo's clock rule at every speed, a show per
// area with its own seed, areas that change, what the keys do, the --fps and
// --stats texts, the settings' wait, and where screenshots go.
#include "app/SaverCore.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/Pacing.h"
#include "support/ClockRule.h"
#include "support/SceneDirectoryLoader.h"
#include "support/ShowRunner.h"
#include "support/TempDir.h"

namespace zirvo {
namespace {

using testing::DirectoryLoader;
using testing::FakeNanosecondClock;
using testing::TimedPixel;
using testing::TimedRun;

constexpr std::uint64_t kFrameNs = 16'666'667;
const char* const kEndless = "nv=30000\nbs=1500\ndt=0\nn=4\nc=12\n";

using RecordingSurface = testing::TimedSurface;

SaverChoices Choices(std::vector<std::string> scenes, std::uint32_t seed, double speed = 1.0) {
  SaverChoices choices;
  choices.scenes = std::move(scenes);
  choices.seed = seed;
  choices.speed = speed;
  choices.frameNs = kFrameNs;
  return choices;
}

// The saver core showing the clock-rule scene on one area at `speed`, frame
// after frame until its show has ended by itself.
TimedRun RunSaver(const testing::TempDir& dir, double speed) {
  DirectoryLoader loader(dir, testing::kClockRuleSettings);
  FakeNanosecondClock clock;
  TimedRun run;
  RecordingSurface surface(clock.now, run);
  SaverCore core(loader, Choices({"scene.zrv"}, 31, speed), clock);
  core.SetAreas({{&surface, Rect{0, 0, 320, 200}}});
  testing::RunUntilTheShowEnds(core, clock, kFrameNs, run);
  EXPECT_EQ(surface.banners, 0);
  return run;
}

// An endless scene and its settings in a temporary directory, a clock the
// test moves, and a window whose pixels are kept.
class SaverCoreTest : public ::testing::Test {
 protected:
  SaverCoreTest() { dir.Write("a.zrv", kEndless); }
  // `count` frames, 1/60 s apart.
  static void Frames(SaverCore& core, FakeNanosecondClock& clock, int count) {
    for (int i = 0; i < count; ++i, clock.now += kFrameNs)
      core.Frame();
  }

  testing::TempDir dir;
  DirectoryLoader loader{dir, "screen=640x480\n"};
  FakeNanosecondClock clock;
  TimedRun run;
  RecordingSurface surface{clock.now, run};
};

TEST(SaverCore, KeepsZirvosClockAtEverySpeed) {
  testing::ExpectZirvosClockAtEverySpeed(31, kFrameNs, RunSaver);
}

TEST_F(SaverCoreTest, EachAreaGetsAShowSeededOnFromTheFirst) {
  TimedRun left, right, alone;
  RecordingSurface leftSurface(clock.now, left), rightSurface(clock.now, right);
  SaverCore core(loader, Choices({"a.zrv"}, 100), clock);
  core.SetAreas({{&leftSurface, Rect{0, 0, 320, 240}}, {&rightSurface, Rect{320, 0, 320, 240}}});
  ASSERT_EQ(core.ShowCount(), 2u);
  Frames(core, clock, 30);

  // A core with seed 101 puts on its one area what the second area showed.
  FakeNanosecondClock clock2;
  RecordingSurface aloneSurface(clock2.now, alone);
  SaverCore second(loader, Choices({"a.zrv"}, 101), clock2);
  second.SetAreas({{&aloneSurface, Rect{320, 0, 320, 240}}});
  Frames(second, clock2, 30);
  ASSERT_GT(right.pixels.size(), 1000u);
  ASSERT_EQ(right.pixels.size(), alone.pixels.size());
  for (std::size_t i = 0; i < right.pixels.size(); ++i)
    ASSERT_EQ(right.pixels[i].x, alone.pixels[i].x) << i;
  // The two areas' shows differ, and each keeps to its own area.
  std::size_t same = 0;
  for (std::size_t i = 0; i < std::min(left.pixels.size(), right.pixels.size()); ++i)
    same += left.pixels[i].y == right.pixels[i].y ? 1 : 0;
  EXPECT_LT(same, left.pixels.size() / 2);
  for (const TimedPixel& p : left.pixels)
    ASSERT_LT(p.x, 320);
  for (const TimedPixel& p : right.pixels)
    ASSERT_GE(p.x, 320);
}

TEST_F(SaverCoreTest, ChangedAreasStartOverThereUnchangedOnesRunOn) {
  RecordingSurface& one = surface;
  RecordingSurface two(clock.now, run);
  SaverCore core(loader, Choices({"a.zrv"}, 5), clock);
  core.SetAreas({{&one, Rect{0, 0, 320, 240}}, {&two, Rect{0, 0, 320, 240}}});
  Frames(core, clock, 60);
  const double firstAt = core.ShowOn(0).ShowSeconds();
  ASSERT_GT(firstAt, 0.9);
  EXPECT_EQ(loader.loads, 2);

  // The second window grew: its show starts over; the first runs on.
  core.SetAreas({{&one, Rect{0, 0, 320, 240}}, {&two, Rect{0, 0, 640, 480}}});
  EXPECT_EQ(loader.loads, 3);
  EXPECT_DOUBLE_EQ(core.ShowOn(0).ShowSeconds(), firstAt);
  EXPECT_DOUBLE_EQ(core.ShowOn(1).ShowSeconds(), 0.0);

  // A monitor more: new shows all round.
  RecordingSurface three(clock.now, run);
  core.SetAreas(
      {{&one, Rect{0, 0, 320, 240}}, {&two, Rect{0, 0, 640, 480}}, {&three, Rect{0, 0, 100, 100}}});
  EXPECT_EQ(core.ShowCount(), 3u);
  EXPECT_EQ(loader.loads, 6);
}

TEST_F(SaverCoreTest, KeysPauseChangeTheSpeedRestartAndAskForTheRest) {
  SaverCore core(loader, Choices({"a.zrv"}, 5), clock);
  core.SetAreas({{&surface, Rect{0, 0, 320, 240}}});
  Frames(core, clock, 2);

  EXPECT_EQ(core.OnKey(SaverKey::kSpace), SaverRequest::kNothing);
  EXPECT_TRUE(core.Pacer().Paused());
  const double pausedAt = core.ShowOn(0).ShowSeconds();
  ASSERT_GT(pausedAt, 0.0);
  clock.now += 10 * kFrameNs;
  EXPECT_EQ(core.Frame().turns, 0u);
  EXPECT_DOUBLE_EQ(core.ShowOn(0).ShowSeconds(), pausedAt);
  core.OnKey(SaverKey::kSpace);
  EXPECT_FALSE(core.Pacer().Paused());

  core.OnKey(SaverKey::kUp);
  EXPECT_NEAR(core.Pacer().Speed(), 1.44, 1e-6);
  core.OnKey(SaverKey::kDown);
  core.OnKey(SaverKey::kDown);
  EXPECT_NEAR(core.Pacer().Speed(), 1 / 1.44, 1e-6);

  EXPECT_EQ(core.OnKey(SaverKey::kR), SaverRequest::kNothing);
  EXPECT_DOUBLE_EQ(core.ShowOn(0).ShowSeconds(), 0.0);
  EXPECT_EQ(loader.loads, 2);
  EXPECT_EQ(core.OnKey(SaverKey::kS), SaverRequest::kScreenshot);
  EXPECT_EQ(core.OnKey(SaverKey::kEscape), SaverRequest::kQuit);
  EXPECT_EQ(core.OnKey(SaverKey::kQ), SaverRequest::kQuit);
  EXPECT_EQ(core.OnKey(SaverKey::kOther), SaverRequest::kNothing);
}

TEST_F(SaverCoreTest, StatusOnceASecondWithTheSpeedAndThePause) {
  SaverCore core(loader, Choices({"a.zrv"}, 5, 2.0), clock);
  core.SetAreas({{&surface, Rect{0, 0, 320, 240}}});
  std::vector<std::string> texts;
  std::vector<std::string> stats;
  for (int i = 0; i < 200; ++i, clock.now += kFrameNs) {
    core.Frame();
    if (std::string text = core.TakeStatus(); !text.empty())
      texts.push_back(text);
    if (std::string line = core.TakeStats(); !line.empty())
      stats.push_back(line);
    if (i == 150)
      core.OnKey(SaverKey::kSpace);
  }
  ASSERT_EQ(texts.size(), 3u) << "a text a second";
  EXPECT_EQ(texts[0].substr(0, 7), "60 fps,");
  EXPECT_NE(texts[0].find(" turns/s, speed 2.00"), std::string::npos) << texts[0];
  EXPECT_NE(texts[2].find(", paused"), std::string::npos) << texts[2];
  ASSERT_EQ(stats.size(), 4u);
  EXPECT_EQ(stats[0].substr(0, 5), "ms=0 ");
  EXPECT_NE(stats[1].find(" speed=2.0000 delay_ns=48828"), std::string::npos) << stats[1];
  EXPECT_NE(stats[1].find(" behind=0 "), std::string::npos) << stats[1];
}

TEST_F(SaverCoreTest, TheSettingsWaitSetsTheDelayAsItSetsZirvos) {
  {
    SaverCore core(loader, Choices({"a.zrv"}, 5), clock);
    EXPECT_EQ(core.Pacer().DelayNs(), kCalibratedDelayNs) << "no wait: the calibrated Delay";
  }
  // A wait of 100 repetitions, each measured here: the fake clock says every
  // trial of the measurement takes 2 ms for its 200000 repetitions.
  class TrialClock final : public NanosecondClock {
   public:
    std::uint64_t NowNs() override { return (reads_++ % 2) * 2'000'000; }

   private:
    std::uint64_t reads_ = 0;
  } trials;
  DirectoryLoader waiting(dir, "screen=640x480\nwait=100\n");
  SaverCore core(waiting, Choices({"a.zrv"}, 5), trials);
  EXPECT_EQ(core.Pacer().DelayNs(), 1000u) << "100 repetitions of 10 ns";
}

TEST_F(SaverCoreTest, ScreenshotsGoBesideTheSceneWithTheFirstFreeNumber) {
  RecordingSurface other(clock.now, run);
  SaverCore core(loader, Choices({"a.zrv"}, 5), clock);
  core.SetAreas({{&surface, Rect{0, 0, 320, 240}}});
  const std::set<std::string> taken = {dir.PathOf("a-1.png"), dir.PathOf("a-2.png")};
  // The show's scene is named as the loader was given it.
  EXPECT_EQ(
      core.ScreenshotPath(
          surface, [&](const std::string& path) { return taken.count(dir.PathOf(path)) != 0; }),
      "a-3.png");
  EXPECT_EQ(core.ScreenshotPath(other, [](const std::string&) { return false; }), "")
      << "no show on that surface";

  SaverCore nested(loader, Choices({"shows/b.c.zrv"}, 5), clock);
  nested.SetAreas({{&surface, Rect{0, 0, 320, 240}}});
  EXPECT_EQ(nested.ScreenshotPath(surface, [](const std::string&) { return false; }),
            "shows/b.c-1.png");
  SaverCore hidden(loader, Choices({"/x/.zrv"}, 5), clock);
  hidden.SetAreas({{&surface, Rect{0, 0, 320, 240}}});
  EXPECT_EQ(hidden.ScreenshotPath(surface, [](const std::string&) { return false; }),
            "/x/.zrv-1.png");
}

}  // namespace
}  // namespace zirvo
