// Pacing: one Delay after a real calibration against the 1024th part of 100 ms,
// with the calibration's pixel work drawn into the headless framebuffer or
// left out, and the cost of one repetition of Delay's logarithm.
#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>

#include "BenchShow.h"
#include "Benchmarks.h"
#include "app/Pacing.h"
#if ZIRVO_BENCH_HEADLESS
#include "platform/headless/Framebuffer.h"
#endif

namespace zirvo::bench {

namespace {

class SteadyMilliseconds final : public MillisecondClock {
 public:
  std::uint32_t ElapsedMs() override {
    const auto elapsed = std::chrono::steady_clock::now() - start_;
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

enum class CalibrationPixels { kNone, kFramebuffer };

void CalibratedDelay(benchmark::State& state, CalibrationPixels pixels) {
  Pacing pacing;
  SteadyMilliseconds clock;
#if ZIRVO_BENCH_HEADLESS
  Framebuffer display(1920, 1080);
#else
  PlainArraySink display(1920, 1080);
#endif
  std::function<void()> work = [] {};
  if (pixels == CalibrationPixels::kFramebuffer)
    work = [&display] { CalibrationWork(display); };
  Calibrate(pacing, clock, work);
  for (auto _ : state)
    pacing.Delay();
  state.counters["wait_count"] = static_cast<double>(pacing.Wait());
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
  benchmark::RegisterBenchmark(
      "delay/calibrated/none",
      [](benchmark::State& state) { CalibratedDelay(state, CalibrationPixels::kNone); })
      ->Iterations(quick ? 2 : 3000)
      ->UseRealTime()
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark(
      "delay/calibrated/framebuffer",
      [](benchmark::State& state) { CalibratedDelay(state, CalibrationPixels::kFramebuffer); })
      ->Iterations(quick ? 2 : 3000)
      ->UseRealTime()
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("delay/repetition", DelayRepetition)
      ->Iterations(quick ? 1 : 5)
      ->UseRealTime()
      ->Unit(benchmark::kMillisecond);
}

}  // namespace zirvo::bench
