// The frame loop: however frames cut the show, it is the drawing thread's show,
// paced by real time at the calibrated Delay and the chosen speed.
#include "app/PacedShow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/Pacing.h"
#include "engine/EngineHarness.h"
#include "support/ShowRunner.h"

namespace zirvo {
namespace {

constexpr std::uint64_t kFrameNs = 16'666'667;  // 60 frames a second

// A small show that ends by itself after a few seconds: shrinking loops of
// two kinds, one fading its trail a point a turn, one waiting between steps.
const char* const kScene =
    "a=40\nb=20\nnv=300\nbs=100\nn=5\ndt=0\np=2\nc=a\nstop=2\n\n"
    "a=60\nb=30\nnv=200\nbs=200\nn=3\ndt=2\nm=1\nc=r\nstart=1\nstop=3\n";

struct LoadedShow {
  explicit LoadedShow(const testing::TempDir& dir)
      : files(dir, "screen=320x200\nscale=y\nbuffer=1\n", kScene),
        clock(SimulatedClock::WithStepNs(kCalibratedDelayNs)) {
    loaded = LoadScene(show, files.args, files.env, clock) == 1;
    show.random.Seed(5);
  }
  testing::SceneFiles files;
  SimulatedClock clock;
  Show show;
  bool loaded = false;
};

TEST(PacedShow, FramesOfAnyLengthSetThePixelsOfTheDrawingThreadsLoop) {
  testing::TempDir dir;
  LoadedShow whole(dir);
  LoadedShow framed(dir);
  ASSERT_TRUE(whole.loaded && framed.loaded);

  testing::PixelRecorder expected;
  const SimulatedRun run = RunOnClock(*whole.show.engine, whole.clock, expected,
                                      std::numeric_limits<std::uint64_t>::max());
  ASSERT_TRUE(run.endedByItself);
  ASSERT_GT(expected.pixels.size(), 1000u);

  // Frames that cut passes anywhere: some short, some long, some stopped by
  // their bound on Delays.
  PacedShow loop(*framed.show.engine, framed.clock);
  testing::PixelRecorder got;
  std::uint64_t turns = 0;
  std::uint64_t delays = 0;
  for (std::uint64_t i = 0; i < 100000 && !loop.Finished(); ++i) {
    const PacedShow::FrameResult frame =
        loop.RunFrame(got, (i % 7 + 1) * 1'300'000, i % 3 == 0 ? i % 50 + 1 : 1000000);
    turns += frame.turns;
    delays += frame.delays;
  }
  ASSERT_TRUE(loop.Finished());
  EXPECT_EQ(got.pixels, expected.pixels);
  EXPECT_EQ(delays, whole.clock.Delays());
  EXPECT_EQ(turns, whole.clock.Delays() - run.passes) << "every Delay but a pass top is a turn";
  EXPECT_EQ(framed.clock.NowNs(), whole.clock.NowNs());

  // An ended show stays ended and runs nothing more.
  const PacedShow::FrameResult after = loop.RunFrame(got, kFrameNs, 1000);
  EXPECT_TRUE(after.finished);
  EXPECT_EQ(after.delays, 0u);
}

TEST(PacedShow, RealTimeBuysCalibratedDelaysAtTheChosenSpeed) {
  testing::TempDir dir;
  LoadedShow show(dir);
  ASSERT_TRUE(show.loaded);
  PacedShow loop(*show.show.engine, show.clock);
  testing::CountingSink pixels;

  // A second of frames at speed 1: the show's clock follows real time to
  // within one Delay, 1024 Delays per 100 ms.
  std::uint64_t delays = 0;
  for (int i = 0; i < 60; ++i)
    delays += loop.RunFrame(pixels, kFrameNs, 1000000).delays;
  EXPECT_NEAR(static_cast<double>(show.clock.NowNs()), 60.0 * kFrameNs, kCalibratedDelayNs);
  EXPECT_NEAR(static_cast<double>(delays), 1e9 / 97656.25, 2.0);
  EXPECT_EQ(show.clock.Elapsed(), 1u) << "the show's seconds are its clock's";

  // Two presses of Up: 1.44 squared as many Delays for the same real time.
  loop.SetSpeed(1.44 * 1.44);
  delays = 0;
  for (int i = 0; i < 60; ++i)
    delays += loop.RunFrame(pixels, kFrameNs, 1000000).delays;
  EXPECT_NEAR(static_cast<double>(delays), 1.44 * 1.44 * 1e9 / 97656.25, 3.0);

  // No speed that is not a positive number: the calibrated one.
  loop.SetSpeed(0.0);
  EXPECT_EQ(show.clock.StepNs(), kCalibratedDelayNs);
  loop.SetSpeed(std::nan(""));
  EXPECT_EQ(show.clock.StepNs(), kCalibratedDelayNs);
  loop.SetSpeed(1e30);
  EXPECT_EQ(show.clock.StepNs(), 1u);
}

TEST(PacedShow, AFrameThatCannotKeepUpDropsTheTimeItDidNotRun) {
  testing::TempDir dir;
  LoadedShow show(dir);
  ASSERT_TRUE(show.loaded);
  PacedShow loop(*show.show.engine, show.clock);
  testing::CountingSink pixels;

  const PacedShow::FrameResult bounded = loop.RunFrame(pixels, kFrameNs, 10);
  EXPECT_TRUE(bounded.behind);
  EXPECT_EQ(bounded.delays, 10u);
  EXPECT_EQ(show.clock.NowNs(), 10 * kCalibratedDelayNs);

  // The next frame runs its own time only, not the backlog.
  const PacedShow::FrameResult next = loop.RunFrame(pixels, 10 * kCalibratedDelayNs, 1000000);
  EXPECT_FALSE(next.behind);
  EXPECT_EQ(next.delays, 10u);

  // After a long stall (a hidden page), a frame makes up a quarter second at most.
  const std::uint64_t before = show.clock.NowNs();
  loop.RunFrame(pixels, 60'000'000'000, std::numeric_limits<std::uint64_t>::max());
  EXPECT_LE(show.clock.NowNs() - before, PacedShow::kMaxFrameNs + kCalibratedDelayNs);
  EXPECT_GE(show.clock.NowNs() - before, PacedShow::kMaxFrameNs - kCalibratedDelayNs);
}

}  // namespace
}  // namespace zirvo
