// The frame pacer: each frame hands every show the real time since the last
// one at the speed's step (the speed never stretches the time), within half a
// frame shared out among the shows; pauses, stalls, the speed keys with
// zirvo's factor, the frames' cadence, and the --fps figures.
#include "app/FramePacer.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/FrameCadence.h"
#include "app/FrameRate.h"
#include "app/Pacing.h"
#include "support/ClockRule.h"

namespace zirvo {
namespace {

using testing::FakeNanosecondClock;

constexpr std::uint64_t kFrameNs = 16'666'667;

// A show that takes what it is given, spends `workNs` of the real clock and
// pays `delays` Delays per frame.
class ScriptedShow final : public FramedShow {
 public:
  struct Call {
    std::uint64_t realNs;
    std::uint64_t stepNs;
    FrameLimit limit;
  };
  explicit ScriptedShow(FakeNanosecondClock& clock, std::uint64_t workNs = 0,
                        std::uint64_t delays = 10)
      : clock_(clock), workNs_(workNs), delays_(delays) {}

  FrameProgress RunFrame(std::uint64_t realNs, std::uint64_t stepNs, const FrameLimit& limit,
                         NanosecondClock& clock) override {
    EXPECT_EQ(&clock, &clock_);
    calls.push_back({realNs, stepNs, limit});
    clock_.now += workNs_;
    FrameProgress progress;
    progress.delays = std::min(delays_, limit.delays);
    progress.turns = progress.delays / 2;
    progress.behind = progress.delays < delays_ || clock_.now > limit.deadlineNs;
    return progress;
  }
  std::vector<Call> calls;

 private:
  FakeNanosecondClock& clock_;
  std::uint64_t workNs_;
  std::uint64_t delays_;
};

TEST(FramePacer, EachFrameGivesTheRealTimeSinceTheLastAtTheSpeedsStep) {
  for (const double speed : {0.25, 1.0, 2.5}) {
    FakeNanosecondClock clock;
    ScriptedShow show(clock);
    FramePacer pacer(clock, kFrameNs, kCalibratedDelayNs, speed);
    pacer.SetShows({&show});
    for (int i = 0; i < 4; ++i) {
      pacer.RunFrame();
      clock.now += kFrameNs + static_cast<std::uint64_t>(i) * 1000;
    }
    ASSERT_EQ(show.calls.size(), 4u);
    EXPECT_EQ(show.calls[0].realNs, 0u) << "the first frame only takes the time";
    for (int i = 1; i < 4; ++i) {
      // Real time, whatever the speed: the speed is in the step alone.
      EXPECT_EQ(show.calls[static_cast<std::size_t>(i)].realNs,
                kFrameNs + static_cast<std::uint64_t>(i - 1) * 1000);
      EXPECT_EQ(show.calls[static_cast<std::size_t>(i)].stepNs,
                static_cast<std::uint64_t>(std::llround(kCalibratedDelayNs / speed)));
    }
    EXPECT_EQ(pacer.Frames(), 4u);
    EXPECT_EQ(pacer.Turns(), 4u * 5);
  }
}

TEST(FramePacer, ADelayFromTheSettingsIsTheStepAtSpeedOne) {
  FakeNanosecondClock clock;
  FramePacer pacer(clock, kFrameNs, 1234, 1.0);
  EXPECT_EQ(pacer.StepNs(), 1234u);
  pacer.SetSpeed(2.0);
  EXPECT_EQ(pacer.StepNs(), 617u);
  pacer.SetSpeed(FramePacer::kMaxSpeed);
  FramePacer fastest(clock, kFrameNs, 10, FramePacer::kMaxSpeed);
  EXPECT_EQ(fastest.StepNs(), 1u) << "never a step of nothing";
}

TEST(FramePacer, ShowsShareHalfAFrameSoALaterOneStillRuns) {
  FakeNanosecondClock clock;
  ScriptedShow slow(clock, kFrameNs);  // spends a whole frame every time
  ScriptedShow other(clock);
  FramePacer pacer(clock, kFrameNs);
  pacer.SetShows({&slow, &other});
  pacer.RunFrame();
  clock.now += kFrameNs;
  const std::uint64_t start = clock.now;
  const FrameWork work = pacer.RunFrame();
  EXPECT_TRUE(work.behind);
  ASSERT_EQ(other.calls.size(), 2u) << "the show after a slow one still gets its turn";
  EXPECT_EQ(slow.calls[1].limit.deadlineNs, start + kFrameNs / 2 / 2);
  EXPECT_EQ(other.calls[1].limit.deadlineNs, start + kFrameNs / 2);
  EXPECT_EQ(work.delays, 20u);
}

TEST(FramePacer, TheCallersDelayBudgetIsSharedOut) {
  FakeNanosecondClock clock;
  ScriptedShow first(clock, 0, 30);
  ScriptedShow second(clock, 0, 30);
  FramePacer pacer(clock, kFrameNs);
  pacer.SetShows({&first, &second});
  FrameLimit limit;
  limit.delays = 40;
  const FrameWork work = pacer.RunFrame(limit);
  EXPECT_EQ(first.calls[0].limit.delays, 40u);
  EXPECT_EQ(second.calls[0].limit.delays, 10u) << "what the first one left";
  EXPECT_EQ(work.delays, 40u);
  EXPECT_TRUE(work.behind);
}

TEST(FramePacer, APauseStandsStillAndOnlyTimeAfterItCounts) {
  FakeNanosecondClock clock;
  ScriptedShow show(clock);
  FramePacer pacer(clock, kFrameNs);
  pacer.SetShows({&show});
  pacer.RunFrame();
  pacer.SetPaused(true);
  for (int i = 0; i < 300; ++i) {  // five seconds
    clock.now += kFrameNs;
    EXPECT_EQ(pacer.RunFrame().turns, 0u);
  }
  EXPECT_EQ(show.calls.size(), 1u);
  pacer.SetPaused(false);
  clock.now += kFrameNs;
  pacer.RunFrame();
  ASSERT_EQ(show.calls.size(), 2u);
  EXPECT_EQ(show.calls[1].realNs, kFrameNs);
}

TEST(FramePacer, AStallMakesUpAQuarterSecondAtMost) {
  FakeNanosecondClock clock;
  ScriptedShow show(clock);
  FramePacer pacer(clock, kFrameNs);
  pacer.SetShows({&show});
  pacer.RunFrame();
  clock.now += 60'000'000'000;  // a page hidden for a minute
  pacer.RunFrame();
  EXPECT_EQ(show.calls[1].realNs, FramePacer::kLongestFrameNs);
}

TEST(FramePacer, SpeedKeysUseZirvosFactorWithinBounds) {
  FakeNanosecondClock clock;
  FramePacer pacer(clock, kFrameNs);
  pacer.SpeedUp();
  EXPECT_NEAR(pacer.Speed(), 1.44, 1e-6);
  pacer.SlowDown();
  pacer.SlowDown();
  EXPECT_NEAR(pacer.Speed(), 1 / 1.44, 1e-6);
  for (int i = 0; i < 40; ++i)
    pacer.SlowDown();
  EXPECT_DOUBLE_EQ(pacer.Speed(), FramePacer::kMinSpeed);
  for (int i = 0; i < 80; ++i)
    pacer.SpeedUp();
  EXPECT_DOUBLE_EQ(pacer.Speed(), FramePacer::kMaxSpeed);
  // No speed that is not a positive number.
  pacer.SetSpeed(0.0);
  pacer.SetSpeed(-2.0);
  pacer.SetSpeed(std::nan(""));
  EXPECT_DOUBLE_EQ(pacer.Speed(), FramePacer::kMaxSpeed);
  EXPECT_NEAR(FramePacer::SpeedOfSteps(2), 1.44 * 1.44, 1e-6);
  EXPECT_NEAR(FramePacer::SpeedOfSteps(-1), 1 / 1.44, 1e-6);
  EXPECT_DOUBLE_EQ(FramePacer::SpeedOfSteps(20), FramePacer::kMaxSpeed);
  EXPECT_DOUBLE_EQ(FramePacer::SpeedOfSteps(0), 1.0);
}

TEST(FramePacer, ItsSpeedKeysChangeTheTurnRateAsZirvosChangeWaitCount) {
  // zirvo: a calibrated WaitCount, four presses of Up, then four of Down; its
  // turn rate goes as one over WaitCount. The pacer: the same presses; its
  // turn rate goes as one over the step.
  Pacing zirvo;
  zirvo.SetWait(100000);
  FakeNanosecondClock clock;
  FramePacer pacer(clock, kFrameNs);
  for (int i = 0; i < 4; ++i) {
    zirvo.SpeedUp();
    pacer.SpeedUp();
  }
  EXPECT_NEAR(100000.0 / zirvo.Wait(), kCalibratedDelayNs / static_cast<double>(pacer.StepNs()),
              1e-3);
  for (int i = 0; i < 4; ++i) {
    zirvo.SlowDown();
    pacer.SlowDown();
  }
  EXPECT_NEAR(100000.0 / zirvo.Wait(), kCalibratedDelayNs / static_cast<double>(pacer.StepNs()),
              1e-3);
}

TEST(FrameCadence, FramesAreDueAtAFixedCadenceUntilTheyFallBehind) {
  FrameCadence cadence(10000);
  EXPECT_EQ(cadence.Next(1000), 11000u);
  EXPECT_EQ(cadence.Next(12500), 21000u) << "a late frame: the next still on the cadence";
  EXPECT_EQ(cadence.Next(45000), 55000u) << "more than an interval late: from now";
  EXPECT_EQ(FramePacer::FrameNsOfRefresh(50), 20'000'000u);
  EXPECT_EQ(FramePacer::FrameNsOfRefresh(1), FramePacer::kDefaultFrameNs);
  EXPECT_EQ(FramePacer::FrameNsOfRefresh(0), FramePacer::kDefaultFrameNs);
}

TEST(FrameRate, ReadsFramesAndTurnsOnceASecondAndTellsWhenBehind) {
  FrameRate rate;
  EXPECT_FALSE(rate.Add(0, 0, false));
  bool ready = false;
  for (int i = 1; i <= 60; ++i)
    ready = rate.Add(static_cast<std::uint64_t>(i) * kFrameNs, 170, i == 30);
  ASSERT_TRUE(ready);
  EXPECT_NEAR(rate.FramesPerSecond(), 60 / 1.00000002, 0.01);
  EXPECT_NEAR(rate.TurnsPerSecond(), 10200, 1);
  EXPECT_EQ(rate.Text(), "60 fps, 10200 turns/s, behind");
  for (int i = 61; i <= 120; ++i)
    ready = rate.Add(static_cast<std::uint64_t>(i) * kFrameNs, 100, false);
  ASSERT_TRUE(ready);
  EXPECT_EQ(rate.Text(), "60 fps, 6000 turns/s");
}

}  // namespace
}  // namespace zirvo
