// One frame presented by the SDL backend, in a real window: the path the
// message loop takes at each refresh (take the changed rows, convert them into
// the window's surface, put those rows to the display), with every row
// changed and with a dense-scene frame's changes. Frames come at 60 Hz, as in
// the show, so that the X server has finished with one before the next.
// Skipped without a display (run under Xvfb or a desktop).
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "Benchmarks.h"
#include "platform/sdl/SdlPlatform.h"
#include "sdl_frames.h"

namespace zirvo::bench {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kRefresh = std::chrono::microseconds(16667);

enum class Changes { kEveryRow, kDenseFrame };

void PresentBenchmark(benchmark::State& state, Changes changes) {
  SdlPlatform platform;
  std::string error;
  if (!platform.Open(error)) {
    state.SkipWithError(("skipped, no display to open a window on: " + error).c_str());
    return;
  }
  ScreenSize screen;
  if (!platform.InitWindow(screen)) {
    state.SkipWithError(("skipped: " + platform.WindowError()).c_str());
    return;
  }
  std::optional<DenseFrames> frames;
  if (changes == Changes::kDenseFrame)
    frames.emplace(120);
  platform.ShowAndUpdate();
  PixelSink& display = platform.Display();

  std::vector<double> frameMs;
  std::size_t frame = 0;
  auto next = Clock::now();
  for (auto _ : state) {
    // Between frames, untimed: the window's events, then the drawing thread's
    // pixels, as they come in the show.
    SDL_PumpEvents();
    if (frames) {
      frames->Draw(frame, display);
    } else {
      for (std::int32_t y = 0; y < screen.ScreenHeight; ++y)
        display.SetPixel(static_cast<std::int32_t>(frame) % screen.ScreenWidth, y, 0x00FF00);
    }
    ++frame;
    next += kRefresh;
    std::this_thread::sleep_until(next);
    const auto start = Clock::now();
    platform.PresentFrame();
    const std::chrono::duration<double> spent = Clock::now() - start;
    state.SetIterationTime(spent.count());
    frameMs.push_back(spent.count() * 1e3);
    if (Clock::now() > next)
      next = Clock::now();  // a slow frame: the next one a refresh after it
  }
  std::sort(frameMs.begin(), frameMs.end());
  state.counters["frame_ms_median"] = frameMs[frameMs.size() / 2];
  state.counters["frame_ms_max"] = frameMs.back();
  state.counters["frames_over_refresh"] = static_cast<double>(
      frameMs.end() - std::upper_bound(frameMs.begin(), frameMs.end(), 1000.0 / 60));
  state.counters["width"] = screen.ScreenWidth;
  state.counters["height"] = screen.ScreenHeight;
  state.SetLabel("surface " + std::to_string(screen.ScreenWidth) + "x" +
                 std::to_string(screen.ScreenHeight));
}

}  // namespace

void RegisterSdlPresentBenchmarks(bool quick) {
  const struct {
    const char* name;
    Changes changes;
  } kinds[] = {{"every_row", Changes::kEveryRow}, {"dense_frame", Changes::kDenseFrame}};
  for (const auto& kind : kinds) {
    const std::string name = std::string("sdl/present/") + kind.name;
    const Changes changes = kind.changes;
    benchmark::RegisterBenchmark(
        name.c_str(), [changes](benchmark::State& state) { PresentBenchmark(state, changes); })
        ->Iterations(quick ? 2 : 120)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
  }
}

}  // namespace zirvo::bench
