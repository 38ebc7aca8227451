// Pacing: one Delay after a real calibration against the 1024th part of 100 ms,
// with the calibration's pixel work drawn into the headless framebuffer, into
// the SDL backend's TrackedScreen, or left out, and the cost of one repetition
// of Delay's logarithm.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

#include "BenchShow.h"
#include "Benchmarks.h"
#include "app/Clocks.h"
#include "app/Pacing.h"
#include "image/Framebuffer.h"
#include "image/TrackedScreen.h"

namespace zirvo::bench {

namespace {

enum class CalibrationPixels { kNone, kFramebuffer, kTrackedScreen };

// Calibrates, then times a run of Delays against the wall clock, about as long
// as the calibration's last trial (half a second); several rounds, of which
// the median counts (the machine is shared: one round can land on a busy
// moment during the calibration or the timing).
void CalibratedDelay(benchmark::State& state, CalibrationPixels pixels) {
  Framebuffer display(1920, 1080);
  // The SDL window's screen; the calibration runs before its window thread
  // collects anything, so nothing reads it meanwhile.
  TrackedScreen tracked(1920, 1080);
  std::function<void()> work = [] {};
  if (pixels == CalibrationPixels::kFramebuffer)
    work = [&display] { CalibrationWork(display); };
  if (pixels == CalibrationPixels::kTrackedScreen)
    work = [&tracked] { CalibrationWork(tracked); };
  const int rounds = QuickMode() ? 1 : 11;
  const int delays = QuickMode() ? 2 : 5000;
  std::vector<double> delayNs;
  std::vector<double> waitCounts;
  for (auto _ : state) {
    for (int round = 0; round < rounds; ++round) {
      Pacing pacing;
      SteadyClock clock;
      Calibrate(pacing, clock, work);
      const auto before = std::chrono::steady_clock::now();
      for (int i = 0; i < delays; ++i)
        pacing.Delay();
      const std::chrono::duration<double, std::nano> spent =
          std::chrono::steady_clock::now() - before;
      delayNs.push_back(spent.count() / delays);
      waitCounts.push_back(static_cast<double>(pacing.Wait()));
    }
  }
  std::sort(delayNs.begin(), delayNs.end());
  std::sort(waitCounts.begin(), waitCounts.end());
  state.counters["delay_ns"] = delayNs[delayNs.size() / 2];
  state.counters["delay_ns_min"] = delayNs.front();
  state.counters["delay_ns_max"] = delayNs.back();
  state.counters["wait_count"] = waitCounts[waitCounts.size() / 2];
  // The work of one trial on its own, for scale against a 100 ms trial.
  const auto before = std::chrono::steady_clock::now();
  for (int i = 0; i < 100; ++i)
    work();
  const std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - before;
  state.counters["work_ns"] = spent.count() / 100.0;
}

constexpr std::uint32_t kRepetitions = 1000000;

void DelayRepetition(benchmark::State& state) {
  Pacing pacing;
  pacing.SetWait(kRepetitions);
  for (auto _ : state)
    pacing.Delay();
  state.counters["repetitions"] = kRepetitions;
}

}  // namespace

void RegisterPacingBenchmarks(bool quick) {
  struct CalibratedRun {
    const char* name;
    CalibrationPixels pixels;
  };
  const CalibratedRun runs[] = {
      {"delay/calibrated/none", CalibrationPixels::kNone},
      {"delay/calibrated/framebuffer", CalibrationPixels::kFramebuffer},
      {"delay/calibrated/trackedscreen", CalibrationPixels::kTrackedScreen},
  };
  for (const CalibratedRun& run : runs) {
    const CalibrationPixels pixels = run.pixels;
    benchmark::RegisterBenchmark(
        run.name, [pixels](benchmark::State& state) { CalibratedDelay(state, pixels); })
        ->Iterations(1)
        ->UseRealTime()
        ->Unit(benchmark::kMicrosecond);
  }
  benchmark::RegisterBenchmark("delay/repetition", DelayRepetition)
      ->Iterations(quick ? 1 : 5)
      ->UseRealTime()
      ->Unit(benchmark::kMillisecond);
}

}  // namespace zirvo::bench
