// An engine over hand-made kinds on an unscaled virtual screen, with a clock
// the test sets: for tests of launching, motion and turns without files.
#pragma once

#include <memory>
#include <vector>

#include "engine/Delayer.h"
#include "engine/Engine.h"
#include "engine/PixelSink.h"
#include "engine/RowWalkPointStore.h"
#include "engine/Show.h"
#include "scene/KindTable.h"

namespace zirvo::testing {

class FixedShowTime : public ShowTime {
 public:
  std::uint32_t now = 0;
  std::uint32_t Elapsed() override { return now; }
};

struct RecordedPixel {
  std::int32_t x, y;
  COLORREF colour;
  bool operator==(const RecordedPixel&) const = default;
};

class PixelRecorder : public PixelSink {
 public:
  std::vector<RecordedPixel> pixels;
  void SetPixel(std::int32_t x, std::int32_t y, COLORREF colour) override {
    pixels.push_back({x, y, colour});
  }
};

class CountingDelay : public Delayer {
 public:
  int delays = 0;
  void Delay() override { ++delays; }
};

// A kind as a finished block would leave it (v already divided by 10000).
inline SwirlSpec Kind(std::int32_t width = 640, std::int32_t height = 480) {
  SwirlSpec k;
  k.nw = static_cast<float>(TwoPi / 1024);
  k.nn = static_cast<float>(TwoPi / 100);
  k.px = k.fx = width / 2;
  k.py = k.fy = height / 2;
  k.v = static_cast<float>(5.0 / 10000.0);
  k.p = static_cast<std::int32_t>(k.bs);
  return k;
}

struct EngineHarness {
  explicit EngineHarness(std::int32_t width = 640, std::int32_t height = 480,
                         StoreMaker makeStore = &MakeRowWalkPointStore, std::uint32_t capacity = 0,
                         PoolMemory& memory = DefaultPoolMemory())
      : store(makeStore(width, height, capacity, memory)) {
    map.VirtMaxX = width - 1;
    map.VirtMaxY = height - 1;
    map.RandXUnit = map.VirtMaxX / 32767.0;
    map.RandYUnit = map.VirtMaxY / 32767.0;
    engine = std::make_unique<Engine>(specs, map, *store, random, clock);
  }

  // Adds a kind; it is active from the start when its start is 0.
  int AddKind(SwirlSpec kind) {
    if (kind.start == 0)
      kind.launchesLeft = kind.n;
    specs[specs.SpecCount] = kind;
    return specs.SpecCount++;
  }

  // One pass of the drawing loop; the pixels it set.
  std::vector<RecordedPixel> Pass() {
    PixelRecorder recorder;
    finished = engine->DrawingPass(recorder, delay) != 0;
    return recorder.pixels;
  }

  SpecTable specs;
  ScreenMap map;
  std::unique_ptr<PointStore> store;
  Random random;
  FixedShowTime clock;
  CountingDelay delay;
  std::unique_ptr<Engine> engine;
  bool finished = false;
};

}  // namespace zirvo::testing
