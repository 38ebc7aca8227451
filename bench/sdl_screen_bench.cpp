// The SDL backend's screen (TrackedScreen) without a window: one pixel set as
// the drawing thread makes it, alone, hinted a few pixels ahead as the drawing
// pass does, and while another thread collects the changes at 60 Hz as the
// window thread does; the dense scene's real pass into it, with and without
// the hints; and the collection of one frame's changes (every row, or a
// dense-scene frame).
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "BenchShow.h"
#include "Benchmarks.h"
#include "image/TrackedScreen.h"
#include "sdl_frames.h"
#include "support/ScreenChanges.h"

namespace zirvo::bench {

namespace {

constexpr std::int32_t kWidth = 1920;
constexpr std::int32_t kHeight = 1080;
constexpr std::size_t kPixelsPerIteration = 1 << 16;

using testing::CollectChanges;

// Pixels spread at random over the screen (a fixed LCG, so every run draws the
// same ones), made before the timing starts.
std::vector<PixelSet> RandomPixels() {
  std::vector<PixelSet> pixels(kPixelsPerIteration);
  std::uint32_t state = 12345;
  auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  };
  for (PixelSet& pixel : pixels) {
    pixel.x = static_cast<std::int32_t>(next() % kWidth);
    pixel.y = static_cast<std::int32_t>(next() % kHeight);
    pixel.colour = next() & 0xFFFFFFu;
  }
  return pixels;
}

// The window thread's side: collects the changes once per 60 Hz refresh until
// told to stop.
class Collector {
 public:
  explicit Collector(TrackedScreen& screen)
      : screen_(screen),
        argb_(static_cast<std::size_t>(screen.Width()) * static_cast<std::size_t>(screen.Height())),
        thread_([this] { Run(); }) {}
  ~Collector() {
    stop_.store(true);
    thread_.join();
  }

  std::uint64_t Collections() const { return collections_; }

 private:
  void Run() {
    const auto refresh = std::chrono::microseconds(16667);
    auto next = std::chrono::steady_clock::now();
    while (!stop_.load()) {
      if (CollectChanges(screen_, argb_.data(), rows_))
        ++collections_;
      next += refresh;
      std::this_thread::sleep_until(next);
    }
  }

  TrackedScreen& screen_;
  std::vector<std::uint32_t> argb_;
  std::vector<RowRun> rows_;
  std::atomic<bool> stop_{false};
  std::uint64_t collections_ = 0;
  std::thread thread_;
};

// How far ahead the drawing pass hints a pixel, in pixels set (a few turns).
constexpr std::size_t kPrefetchAhead = 8;

void SetPixelBenchmark(benchmark::State& state, bool collected, bool prefetched = false) {
  TrackedScreen screen(kWidth, kHeight);
  PixelSink& display = screen;  // the drawing thread calls through the interface
  const std::vector<PixelSet> pixels = RandomPixels();
  std::uint64_t collections = 0;
  {
    std::unique_ptr<Collector> collector;
    if (collected)
      collector = std::make_unique<Collector>(screen);
    for (auto _ : state) {
      if (prefetched) {
        for (std::size_t i = 0; i < pixels.size(); ++i) {
          const PixelSet& ahead = pixels[(i + kPrefetchAhead) % pixels.size()];
          display.Prefetch(ahead.x, ahead.y);
          display.SetPixel(pixels[i].x, pixels[i].y, pixels[i].colour);
        }
      } else {
        for (const PixelSet& pixel : pixels)
          display.SetPixel(pixel.x, pixel.y, pixel.colour);
      }
    }
    if (collector)
      collections = collector->Collections();
  }
  state.counters["pixels"] = static_cast<double>(pixels.size());
  if (collected)
    state.counters["collections"] = static_cast<double>(collections);
  benchmark::DoNotOptimize(screen.Pixels().PixelsSet());
}

// Passes on the drawing thread only: forwards the pixels and drops the hints.
class UnhintedSink final : public PixelSink {
 public:
  explicit UnhintedSink(PixelSink& sink) : sink_(sink) {}
  void SetPixel(std::int32_t x, std::int32_t y, COLORREF colour) override {
    sink_.SetPixel(x, y, colour);
  }

 private:
  PixelSink& sink_;
};

// The dense scene's real drawing pass (trails full) into the TrackedScreen,
// its Prefetch hints passed on or dropped: what the hint is worth where pixel
// sets come between the engine's own work, as in the show.
void DensePassBenchmark(benchmark::State& state, bool hinted) {
  BenchShow bench("dense.zrv", &MakePointStore);
  bench.Passes(QuickMode() ? 20 : 3020);
  TrackedScreen screen(kWidth, kHeight);
  UnhintedSink unhinted(screen);
  PixelSink& sink = hinted ? static_cast<PixelSink&>(screen) : unhinted;
  const std::uint64_t turnsBefore = bench.delay.turns;
  const std::uint64_t pixelsBefore = screen.Pixels().PixelsSet();
  for (auto _ : state)
    bench.show.engine->DrawingPass(sink, bench.delay);
  state.counters["turns_per_s"] = benchmark::Counter(
      static_cast<double>(bench.delay.turns - turnsBefore), benchmark::Counter::kIsRate);
  state.counters["pixels_per_s"] = benchmark::Counter(
      static_cast<double>(screen.Pixels().PixelsSet() - pixelsBefore), benchmark::Counter::kIsRate);
}

// Every row changed (one pixel per row is enough to flag it) or one dense frame.
void CollectBenchmark(benchmark::State& state, bool everyRow) {
  TrackedScreen screen(kWidth, kHeight);
  std::vector<std::uint32_t> argb(static_cast<std::size_t>(kWidth) * kHeight);
  std::vector<RowRun> rows;
  CollectChanges(screen, argb.data(), rows);  // the initial all-rows change
  std::optional<DenseFrames> frames;
  if (!everyRow)
    frames.emplace(120);
  std::size_t frame = 0;
  for (auto _ : state) {
    state.PauseTiming();
    if (everyRow) {
      for (std::int32_t y = 0; y < kHeight; ++y)
        screen.SetPixel(static_cast<std::int32_t>(frame % kWidth), y, 0x00FF00);
    } else {
      frames->Draw(frame, screen);
    }
    ++frame;
    state.ResumeTiming();
    CollectChanges(screen, argb.data(), rows);
  }
  benchmark::DoNotOptimize(argb.data());
  if (!everyRow) {
    const DenseFrames::Means means = frames->FrameMeans();
    state.counters["frame_pixels"] = means.pixels;
    state.counters["frame_rows"] = means.rows;
    state.counters["frame_row_span"] = means.rowSpan;
  }
}

}  // namespace

void RegisterSdlScreenBenchmarks(bool quick) {
  struct SetPixelRun {
    const char* name;
    bool collected;
    bool prefetched;
  };
  for (const SetPixelRun run : {SetPixelRun{"sdl/setpixel/alone", false, false},
                                SetPixelRun{"sdl/setpixel/collected", true, false},
                                SetPixelRun{"sdl/setpixel/prefetched", false, true}}) {
    benchmark::RegisterBenchmark(
        run.name,
        [run](benchmark::State& state) { SetPixelBenchmark(state, run.collected, run.prefetched); })
        ->Iterations(quick ? 2 : 2000)
        ->UseRealTime()
        ->Unit(benchmark::kMicrosecond);
  }
  for (const bool hinted : {true, false}) {
    benchmark::RegisterBenchmark(
        hinted ? "sdl/pass/dense/hinted" : "sdl/pass/dense/unhinted",
        [hinted](benchmark::State& state) { DensePassBenchmark(state, hinted); })
        ->Iterations(quick ? 2 : 3000)
        ->UseRealTime()
        ->Unit(benchmark::kMicrosecond);
  }
  for (const bool everyRow : {true, false}) {
    benchmark::RegisterBenchmark(
        everyRow ? "sdl/collect/every_row" : "sdl/collect/dense_frame",
        [everyRow](benchmark::State& state) { CollectBenchmark(state, everyRow); })
        ->Iterations(quick ? 2 : 200)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
  }
}

}  // namespace zirvo::bench
