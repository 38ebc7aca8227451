#include "app/Pacing.h"

#include <gtest/gtest.h>

#include "core/ScreenPoint.h"

#include <cmath>
#include <vector>

namespace zirvo {
namespace {

// A clock whose calibration trials take the given numbers of milliseconds.
// Each trial reads the clock twice: before and after its work.
class ScriptedClock : public MillisecondClock {
 public:
  ScriptedClock(std::vector<std::uint32_t> trialMs, std::uint32_t start)
      : trials_(std::move(trialMs)), now_(start) {}

  std::uint32_t ElapsedMs() override {
    if (reads_++ % 2 == 1) {
      now_ += trial_ < trials_.size() ? trials_[trial_] : trials_.back();
      ++trial_;
    }
    return now_;
  }

 private:
  std::vector<std::uint32_t> trials_;
  std::uint32_t now_;
  std::size_t trial_ = 0;
  std::size_t reads_ = 0;
};

// The trial durations come from the scripted clock; this busy-wait is skipped
// where the real one would run for minutes (counts up to 4294967295).
class SkippedDelay : public Delayer {
 public:
  void Delay() override {}
};

// Calibrates with the given trial times; the counts each trial ran with.
std::vector<std::uint32_t> CalibrateWith(Pacing& pacing, std::vector<std::uint32_t> trialMs,
                                         std::uint32_t clockStart = 0, bool realDelay = false) {
  ScriptedClock clock(std::move(trialMs), clockStart);
  std::vector<std::uint32_t> counts;
  const auto work = [&] { counts.push_back(pacing.Wait()); };
  if (realDelay) {
    Calibrate(pacing, clock, work);
  } else {
    SkippedDelay skipped;
    Calibrate(pacing, clock, work, skipped);
  }
  return counts;
}

TEST(Calibrate, WorkedExampleGives81) {
  Pacing pacing;
  const auto counts = CalibrateWith(pacing, {0, 0, 0, 1, 12, 120}, 0, true);
  EXPECT_EQ(counts, (std::vector<std::uint32_t>{1, 10, 100, 1000, 10000, 100000}));
  EXPECT_EQ(pacing.Wait(), 81u);
}

TEST(Calibrate, ElapsedTimeIsTakenAcrossAClockWrap) {
  Pacing pacing;
  CalibrateWith(pacing, {0, 0, 0, 1, 12, 120}, 0xFFFFFFF0u);
  EXPECT_EQ(pacing.Wait(), 81u);
}

TEST(Calibrate, ASlowFirstTrialGivesNoDelay) {
  Pacing pacing;
  EXPECT_EQ(CalibrateWith(pacing, {150}).size(), 1u);
  EXPECT_EQ(pacing.Wait(), 0u);
}

TEST(Calibrate, ProductsBeyond32BitsAreExact) {
  Pacing pacing;
  // 10^8 repetitions in no time, 10^9 in 100 ms: 100 x 9 x 10^8 needs 64 bits.
  CalibrateWith(pacing, {0, 0, 0, 0, 0, 0, 0, 0, 0, 100});
  EXPECT_EQ(pacing.Wait(), 976562u);
}

TEST(Calibrate, AFastMachineSaturatesInsteadOfWrapping) {
  Pacing pacing;
  auto counts = CalibrateWith(pacing, {0});
  ASSERT_EQ(counts.size(), 11u);  // 1 .. 10^9, then the largest count, then stop
  EXPECT_EQ(counts[9], 1000000000u);
  EXPECT_EQ(counts[10], 4294967295u);
  EXPECT_EQ(pacing.Wait(), 4294967295u);

  // The largest count took 50 ms: the line through the last two trials.
  counts = CalibrateWith(pacing, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 50});
  EXPECT_EQ(counts.size(), 11u);
  EXPECT_EQ(pacing.Wait(), 7412045u);
}

TEST(SpeedKeys, UpDividesAndNeverReachesZero) {
  Pacing pacing;
  const std::vector<std::pair<std::uint32_t, std::uint32_t>> cases = {
      {0, 1}, {1, 1}, {2, 1}, {100, 69}, {4294967295u, 2982616058u}};
  for (const auto& [from, to] : cases) {
    pacing.SetWait(from);
    pacing.SpeedUp();
    EXPECT_EQ(pacing.Wait(), to) << from;
  }
}

TEST(SpeedKeys, DownMultipliesAndSaturates) {
  Pacing pacing;
  const std::vector<std::pair<std::uint32_t, std::uint32_t>> cases = {
      {0, 0}, {1, 1}, {2, 2}, {3, 4}, {100, 144}, {3000000000u, 4294967295u}};
  for (const auto& [from, to] : cases) {
    pacing.SetWait(from);
    pacing.SlowDown();
    EXPECT_EQ(pacing.Wait(), to) << from;
  }
}

class RecordingSink : public PixelSink {
 public:
  void SetPixel(std::int32_t x, std::int32_t y, COLORREF colour) override {
    pixels.push_back({x, y, colour});
  }
  std::vector<ScreenPoint> pixels;
};

TEST(CalibrationWork, BlackensTheTopLeftSquareFromTheFarCorner) {
  RecordingSink sink;
  CalibrationWork(sink);
  ASSERT_EQ(sink.pixels.size(), 400u);
  EXPECT_EQ(sink.pixels.front().x, 19);
  EXPECT_EQ(sink.pixels.front().y, 19);
  EXPECT_EQ(sink.pixels[1].x, 19);  // y runs inside x
  EXPECT_EQ(sink.pixels[1].y, 18);
  EXPECT_EQ(sink.pixels.back().x, 0);
  EXPECT_EQ(sink.pixels.back().y, 0);
  for (const ScreenPoint& p : sink.pixels)
    EXPECT_EQ(p.colour, kBlack);
}

// A clock that says each trial of the measurement took `trialNs`: it is read
// before and after every trial.
class TrialClock final : public NanosecondClock {
 public:
  explicit TrialClock(std::uint64_t trialNs) : trialNs_(trialNs) {}
  std::uint64_t NowNs() override { return (reads_++ % 2) * trialNs_; }

 private:
  std::uint64_t trialNs_;
  std::uint64_t reads_ = 0;
};

TEST(DelayWorth, TheCalibratedDelayOrTheSettingsWaitMeasuredHere) {
  EXPECT_EQ(DelayWorthNs(0, 12.5), kCalibratedDelayNs);
  EXPECT_EQ(DelayWorthNs(1000, 12.5), 12500u);
  EXPECT_EQ(DelayWorthNs(3, 0.25), 1u) << "never less than a nanosecond";
  EXPECT_EQ(DelayWorthNs(300, std::nan("")), 1u);
  EXPECT_EQ(DelayWorthNs(4294967295u, 1e6), 1'000'000'000'000u) << "at most 1000 s";
  TrialClock clock(2'000'000);  // each trial of 200000 repetitions seems to take 2 ms
  EXPECT_DOUBLE_EQ(MeasureRepetitionNs(clock), 10.0);
}

}  // namespace
}  // namespace zirvo
