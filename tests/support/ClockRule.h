// zirvo's clock rule, for the modes paced by frames to be checked against:
// the speed changes how long a Delay lasts, never what a second of the show
// is. The reference is zirvo's own pacing: the drawing thread's loop (Delay,
// then a drawing pass, for ever), a Delay lasting WaitCount repetitions of its
// computation (app/Pacing.h), and a kind's start and stop compared with whole
// seconds of the calendar clock since StartTime (Shell::Elapsed). Here the
// calendar clock is the sum of the Delays so far: a machine on which the turns
// themselves take no time. A frame-paced mode that keeps up must set the same
// pixels at the same real times, to within one frame. Header-only.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/Clocks.h"
#include "app/Pacing.h"
#include "app/SaverCore.h"
#include "core/Colour.h"
#include "engine/Delayer.h"
#include "engine/Engine.h"
#include "engine/PixelSink.h"
#include "engine/Show.h"
#include "support/ShowRunner.h"
#include "support/TempDir.h"

namespace zirvo::testing {

// Three kinds in turn, each in a colour of its own and short-lived (a swirl
// of eight points, all on the screen), so that a kind's pixels show when it
// launches: red from
// the start to its stop at second 1 (it launches until real second 2), cyan
// from second 2 to 2, green from second 3 to 3. The show ends soon after
// real second 4.
inline constexpr const char* kClockRuleSettings = "screen=320x200\nscale=y\nbuffer=1\n";
inline constexpr const char* kClockRuleScene =
    "a=30\nb=15\nnv=8\nbs=4\nn=2\ndt=0\nc=12\nstop=1\npx=160\npy=100\nfx=160\nfy=100\n\n"
    "a=40\nb=20\nnv=8\nbs=4\nn=2\ndt=0\nc=11\nstart=2\nstop=2\npx=160\npy=100\nfx=160\nfy=100\n\n"
    "a=50\nb=25\nnv=8\nbs=4\nn=2\ndt=0\nc=10\nstart=3\nstop=3\npx=160\npy=100\nfx=160\nfy=100\n";
inline constexpr ScreenSize kClockRuleScreen{320, 200};
// Longer than the show.
inline constexpr std::uint64_t kClockRuleRunNs = 6'000'000'000;

// zirvo's calibrated WaitCount in these runs, and what one repetition of
// Delay's computation then lasts: a calibrated Delay is kCalibratedDelayNs.
inline constexpr std::uint32_t kCalibratedWait = 1024;
inline constexpr double kRepetitionNs = static_cast<double>(kCalibratedDelayNs) / kCalibratedWait;

// A clock the test moves.
class FakeNanosecondClock final : public NanosecondClock {
 public:
  std::uint64_t NowNs() override { return now; }
  std::uint64_t now = 0;
};

// A pixel set, and the real time it was set at.
struct TimedPixel {
  std::uint64_t ns;
  std::int32_t x;
  std::int32_t y;
  COLORREF colour;
};

struct TimedRun {
  std::vector<TimedPixel> pixels;
  std::uint64_t delays = 0;  // Delays paid: turns and the tops of passes
  std::uint64_t turns = 0;   // swirl turns
  std::uint64_t endNs = 0;   // when the show ended (or the run stopped)
};

// Records every pixel with the time `now` reads.
class TimedRecorder final : public PixelSink {
 public:
  TimedRecorder(const std::uint64_t& now, TimedRun& run) : now_(now), run_(run) {}
  void SetPixel(std::int32_t x, std::int32_t y, COLORREF colour) override {
    run_.pixels.push_back({now_, x, y, colour});
  }

 private:
  const std::uint64_t& now_;
  TimedRun& run_;
};

// A saver's window surface that records every pixel set with the time `now`
// reads (its fills are the area's clearing, not the show's pixels).
class TimedSurface final : public SaverSurface {
 public:
  TimedSurface(const std::uint64_t& now, TimedRun& run) : now_(now), run_(run) {}
  void Set(std::int32_t x, std::int32_t y, COLORREF colour) override {
    run_.pixels.push_back({now_, x, y, colour});
  }
  void Fill(const Rect&, COLORREF) override { ++fills; }
  void PaintBanner(const Rect&) override { ++banners; }
  int fills = 0;
  int banners = 0;

 private:
  const std::uint64_t& now_;
  TimedRun& run_;
};

// Frames of `core`, `frameNs` apart on `clock`, until the show on its first
// area has ended by itself (the next scene has begun), into `run`.
inline void RunUntilTheShowEnds(SaverCore& core, FakeNanosecondClock& clock, std::uint64_t frameNs,
                                TimedRun& run) {
  for (double seen = 0; clock.now < kClockRuleRunNs; clock.now += frameNs) {
    const FrameWork work = core.Frame();
    run.delays += work.delays;
    run.turns += work.turns;
    if (core.ShowOn(0).ShowSeconds() < seen) {
      run.endNs = clock.now;
      return;
    }
    seen = core.ShowOn(0).ShowSeconds();
  }
  ADD_FAILURE() << "the show did not end";
}

// The calendar clock of a run of zirvo: each Delay lasts its WaitCount
// repetitions, read at the Delay as Pacing::Delay reads it.
class ZirvoTimeline final : public Delayer, public ShowTime {
 public:
  ZirvoTimeline(const Pacing& pacing, double repetitionNs)
      : pacing_(pacing), repetitionNs_(repetitionNs) {}
  void Delay() override {
    nowNs += static_cast<std::uint64_t>(static_cast<double>(pacing_.Wait()) * repetitionNs_);
    ++delays;
  }
  // Shell::Elapsed: whole seconds since StartTime (0 here).
  std::uint32_t Elapsed() override { return static_cast<std::uint32_t>(nowNs / 1'000'000'000); }

  std::uint64_t nowNs = 0;
  std::uint64_t delays = 0;

 private:
  const Pacing& pacing_;
  double repetitionNs_;
};

// `files` run as zirvo runs them with WaitCount `wait`, until `untilNs` of
// real time or the show's end, seeded with `seed`.
inline TimedRun RunAsZirvo(const SceneFiles& files, std::uint32_t seed, std::uint32_t wait,
                           std::uint64_t untilNs) {
  Pacing pacing;
  pacing.SetWait(wait);
  ZirvoTimeline timeline(pacing, kRepetitionNs);
  Show show;
  TimedRun run;
  EXPECT_EQ(LoadScene(show, files.args, files.env, timeline), 1);
  if (!show.engine)
    return run;
  show.random.Seed(seed);
  TimedRecorder pixels(timeline.nowNs, run);
  // Shell::DrawThread with nobody pausing.
  std::uint64_t passes = 0;
  while (timeline.nowNs < untilNs) {
    timeline.Delay();
    ++passes;
    if (show.engine->DrawingPass(pixels, timeline) != 0)
      break;
  }
  run.delays = timeline.delays;
  run.turns = timeline.delays - passes;  // every Delay but a pass's first is a turn's
  run.endNs = timeline.nowNs;
  EXPECT_LT(run.endNs, untilNs) << "the show ends by itself";
  return run;
}

// The real times of each colour's first and last pixel.
struct ColourTimes {
  std::uint64_t first = 0;
  std::uint64_t last = 0;
};
inline std::map<COLORREF, ColourTimes> TimesOfColours(const TimedRun& run) {
  std::map<COLORREF, ColourTimes> times;
  for (const TimedPixel& p : run.pixels) {
    if (p.colour == kBlack)
      continue;
    auto [at, fresh] = times.try_emplace(p.colour, ColourTimes{p.ns, p.ns});
    if (!fresh)
      at->second.last = p.ns;
  }
  return times;
}

// The checks of the clock rule on one run of a frame-paced mode (`paced`,
// frames `frameNs` apart) against zirvo's (`zirvo`) at the same speed:
// - the same pixels in the same order, up to where either run stops;
// - each colour's first and last pixel at zirvo's real time to within a frame
//   (a kind's start and stop are real seconds), the first in the same whole
//   second (the one the kind starts in);
// - as many Delays in the same real time, to within a frame's worth.
inline void ExpectZirvosClock(const TimedRun& zirvo, const TimedRun& paced, std::uint64_t frameNs,
                              const std::string& what) {
  SCOPED_TRACE(what);
  ASSERT_GT(zirvo.pixels.size(), 1000u);
  const std::size_t common = std::min(zirvo.pixels.size(), paced.pixels.size());
  ASSERT_GT(common, zirvo.pixels.size() * 9 / 10) << "the paced run drew too little";
  for (std::size_t i = 0; i < common; ++i) {
    const TimedPixel& a = zirvo.pixels[i];
    const TimedPixel& b = paced.pixels[i];
    ASSERT_TRUE(a.x == b.x && a.y == b.y && a.colour == b.colour) << "pixel " << i;
  }
  const auto zirvoTimes = TimesOfColours(zirvo);
  const auto pacedTimes = TimesOfColours(paced);
  ASSERT_EQ(zirvoTimes.size(), 3u) << "every kind drew";
  for (const auto& [colour, times] : zirvoTimes) {
    ASSERT_EQ(pacedTimes.count(colour), 1u) << std::hex << colour;
    const ColourTimes& mine = pacedTimes.at(colour);
    // A frame draws what the show's clock reaches up to the frame's time.
    EXPECT_LE(times.first, mine.first) << "first pixel of " << std::hex << colour;
    EXPECT_LE(mine.first - times.first, frameNs) << "first pixel of " << std::hex << colour;
    EXPECT_EQ(mine.first / 1'000'000'000, times.first / 1'000'000'000)
        << "the first pixel of " << std::hex << colour << " in another second";
    EXPECT_LE(times.last, mine.last) << "last pixel of " << std::hex << colour;
    EXPECT_LE(mine.last - times.last, frameNs) << "last pixel of " << std::hex << colour;
  }
  // The whole show's Delays and turns in the same real time.
  EXPECT_EQ(paced.delays, zirvo.delays);
  EXPECT_EQ(paced.turns, zirvo.turns);
  // Its end at zirvo's time to within a frame, or to within the Delay that a
  // frame's last Delay may carry the show's clock past the frame.
  const std::uint64_t stepNs = zirvo.endNs / zirvo.delays + 1;
  EXPECT_LE(zirvo.endNs, paced.endNs + stepNs);
  EXPECT_LE(paced.endNs, zirvo.endNs + frameNs);
}

// Turns per real second over a whole run.
inline double TurnsPerSecond(const TimedRun& run) {
  return static_cast<double>(run.turns) * 1e9 / static_cast<double>(run.endNs);
}

// The speeds the rule is checked at.
inline constexpr double kClockRuleSpeeds[] = {0.25, 1.0, 4.0};

// zirvo's WaitCount at `speed` times its calibrated speed.
inline std::uint32_t WaitAtSpeed(double speed) {
  return static_cast<std::uint32_t>(kCalibratedWait / speed);
}

// The clock rule for a frame-paced mode at speeds 1/4, 1 and 4: `runMode`
// runs the clock-rule scene (its files in `dir`, seeded with `seed`) at a
// speed in frames `frameNs` apart; each run must keep zirvo's clock, and the
// turns per real second must follow the speed.
inline void ExpectZirvosClockAtEverySpeed(
    std::uint32_t seed, std::uint64_t frameNs,
    const std::function<TimedRun(const TempDir& dir, double speed)>& runMode) {
  TempDir dir;
  const SceneFiles files(dir, kClockRuleSettings, kClockRuleScene, kClockRuleScreen);
  std::vector<double> rates;
  for (const double speed : kClockRuleSpeeds) {
    const TimedRun zirvo = RunAsZirvo(files, seed, WaitAtSpeed(speed), kClockRuleRunNs);
    const TimedRun mode = runMode(dir, speed);
    ExpectZirvosClock(zirvo, mode, frameNs, "speed " + std::to_string(speed));
    rates.push_back(TurnsPerSecond(mode));
  }
  EXPECT_NEAR(rates[1] / rates[0], 4.0, 0.2);
  EXPECT_NEAR(rates[2] / rates[1], 4.0, 0.2);
}

}  // namespace zirvo::testing
