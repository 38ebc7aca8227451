// One show paced by real time: however frames cut it, it is the drawing
// thread's show; its clock follows the real time it is given at any step; a
// frame's limit (Delays or a deadline) cuts it and the time not run is dropped.
#include "app/PacedShow.h"

#include <gtest/gtest.h>

#include <limits>

#include "app/Pacing.h"
#include "engine/EngineHarness.h"
#include "support/ClockRule.h"
#include "support/ShowRunner.h"

namespace zirvo {
namespace {

using testing::FakeNanosecondClock;

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
  PacedShow paced(*framed.show.engine, framed.clock);
  FakeNanosecondClock real;
  testing::PixelRecorder got;
  std::uint64_t turns = 0;
  std::uint64_t delays = 0;
  for (std::uint64_t i = 0; i < 100000 && !paced.Finished(); ++i) {
    FrameLimit limit;
    limit.delays = i % 3 == 0 ? i % 50 + 1 : 1000000;
    const FrameProgress frame =
        paced.Run(got, (i % 7 + 1) * 1'300'000, kCalibratedDelayNs, limit, real);
    turns += frame.turns;
    delays += frame.delays;
  }
  ASSERT_TRUE(paced.Finished());
  EXPECT_EQ(got.pixels, expected.pixels);
  EXPECT_EQ(delays, whole.clock.Delays());
  EXPECT_EQ(turns, whole.clock.Delays() - run.passes) << "every Delay but a pass top is a turn";
  EXPECT_EQ(framed.clock.NowNs(), whole.clock.NowNs());

  // An ended show stays ended and runs nothing more.
  const FrameProgress after = paced.Run(got, kFrameNs, kCalibratedDelayNs, {}, real);
  EXPECT_EQ(after.delays, 0u);
}

TEST(PacedShow, ItsSecondsAreTheRealSecondsGivenAtAnyStep) {
  testing::TempDir dir;
  for (const std::uint64_t step :
       {kCalibratedDelayNs / 4, kCalibratedDelayNs, kCalibratedDelayNs * 4}) {
    LoadedShow show(dir);
    ASSERT_TRUE(show.loaded);
    PacedShow paced(*show.show.engine, show.clock);
    FakeNanosecondClock real;
    testing::CountingSink pixels;
    std::uint64_t delays = 0;
    for (int i = 0; i < 90; ++i) {
      delays += paced.Run(pixels, kFrameNs, step, {}, real).delays;
      // The clock is where the real time puts it, to within the last Delay.
      const double realNs = (i + 1) * static_cast<double>(kFrameNs);
      EXPECT_GE(static_cast<double>(show.clock.NowNs()), realNs);
      EXPECT_LT(static_cast<double>(show.clock.NowNs()), realNs + static_cast<double>(step));
    }
    EXPECT_EQ(show.clock.Elapsed(), 1u) << "a second and a half: the show's second is real";
    EXPECT_NEAR(static_cast<double>(delays), 1.5e9 / static_cast<double>(step), 1.0);
  }
}

TEST(PacedShow, AFrameThatCannotKeepUpDropsTheTimeItDidNotRun) {
  testing::TempDir dir;
  LoadedShow show(dir);
  ASSERT_TRUE(show.loaded);
  PacedShow paced(*show.show.engine, show.clock);
  FakeNanosecondClock real;
  testing::CountingSink pixels;

  FrameLimit tenDelays;
  tenDelays.delays = 10;
  const FrameProgress bounded = paced.Run(pixels, kFrameNs, kCalibratedDelayNs, tenDelays, real);
  EXPECT_TRUE(bounded.behind);
  EXPECT_EQ(bounded.delays, 10u);
  EXPECT_EQ(show.clock.NowNs(), 10 * kCalibratedDelayNs);

  // The next frame runs its own time only, not the backlog.
  const FrameProgress next =
      paced.Run(pixels, 10 * kCalibratedDelayNs, kCalibratedDelayNs, {}, real);
  EXPECT_FALSE(next.behind);
  EXPECT_EQ(next.delays, 10u);
}

// A real clock that moves on at every look: a machine where a look at the
// clock comes every `perLook` nanoseconds of work.
class BusyClock final : public NanosecondClock {
 public:
  explicit BusyClock(std::uint64_t perLook) : perLook_(perLook) {}
  std::uint64_t NowNs() override { return now += perLook_; }
  std::uint64_t now = 0;

 private:
  std::uint64_t perLook_;
};

TEST(PacedShow, ADeadlineStopsTheFrameWithinOneLookAtTheClock) {
  testing::TempDir dir;
  LoadedShow show(dir);
  ASSERT_TRUE(show.loaded);
  PacedShow paced(*show.show.engine, show.clock);
  BusyClock real(1'000'000);  // every look a millisecond later
  testing::CountingSink pixels;
  FrameLimit limit;
  limit.deadlineNs = 5'000'000;
  // Ten seconds asked for in one frame: five looks reach the deadline.
  const FrameProgress frame = paced.Run(pixels, 10'000'000'000, kCalibratedDelayNs, limit, real);
  EXPECT_TRUE(frame.behind);
  EXPECT_EQ(frame.delays, 5 * PacedShow::kDelaysPerClockLook);
  // The time not run is given up: a short frame after it is all its own.
  const FrameProgress next = paced.Run(pixels, kCalibratedDelayNs, kCalibratedDelayNs, {}, real);
  EXPECT_EQ(next.delays, 1u);
}

}  // namespace
}  // namespace zirvo
