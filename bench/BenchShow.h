// A benchmark scene loaded through the real loader and run through the real
// drawing pass, with pixels going to a plain array and a Delay that does
// nothing but count the swirl turns.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/Delayer.h"
#include "engine/HugePages.h"
#include "engine/PixelSink.h"
#include "engine/Show.h"

namespace zirvo::bench {

// The scenes ship in bench/scenes beside their settings file.
std::string SceneDirectory();

// Short runs for CI (ZIRVO_BENCH_QUICK set): they only prove that every
// benchmark still works; their figures mean nothing.
bool QuickMode();

class PlainArraySink final : public PixelSink {
 public:
  PlainArraySink(std::int32_t width, std::int32_t height);
  void SetPixel(std::int32_t x, std::int32_t y, COLORREF colour) override;
  std::uint64_t Checksum() const;

 private:
  std::int32_t width_;
  std::int32_t height_;
  HugePageBlock<COLORREF> cells_;
};

class TurnCounter final : public Delayer {
 public:
  void Delay() override { ++turns; }
  std::uint64_t turns = 0;
};

class StillTime final : public ShowTime {
 public:
  std::uint32_t Elapsed() override { return 0; }
};

// Whether the store gets the drawing pass's look-ahead hints (UnhintedStore).
enum class StoreHints { kPassed, kDropped };

struct BenchShow {
  // Loads `scene` (a file name in SceneDirectory()) on a 1920 x 1080 screen.
  // Aborts the program when it cannot: a benchmark of nothing is worse.
  BenchShow(const std::string& scene, StoreMaker makeStore, StoreHints hints = StoreHints::kPassed);

  // One pass of the drawing loop; its turns are counted in `delay`.
  void Pass() { show.engine->DrawingPass(pixels, delay); }
  void Passes(std::uint64_t count) {
    for (std::uint64_t i = 0; i < count; ++i)
      Pass();
  }

  Show show;
  StillTime time;
  PlainArraySink pixels{1920, 1080};
  TurnCounter delay;
};

}  // namespace zirvo::bench
