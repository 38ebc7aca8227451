// One pass of the drawing loop: launch, give every live swirl its turn (repeated
// while the turn is held for erasing), pace each turn, then test for the end of
// the show. The drawing thread and zirvo-render both run exactly this.
#pragma once

#include <cstdint>

#include "core/Colour.h"
#include "engine/Engine.h"

namespace zirvo {

// Where pixels go. Coordinates are physical and may lie off the screen.
class PixelSink {
 public:
  virtual ~PixelSink() = default;
  virtual void SetPixel(std::int32_t x, std::int32_t y, COLORREF colour) = 0;
  // A hint that (x, y) will soon be set: a sink whose pixels lie scattered in
  // memory may fetch it. Changes nothing.
  virtual void Prefetch(std::int32_t /*x*/, std::int32_t /*y*/) {}
};

// The pacing busy-wait (or a simulated clock's step).
class Delayer {
 public:
  virtual ~Delayer() = default;
  virtual void Delay() = 0;
};

// Runs one pass; returns non-zero when the show is over (ShowFinished).
int DrawingPass(Engine& engine, PixelSink& pixels, Delayer& delay);

}  // namespace zirvo
