// Where the drawing pass's pixels go: the screen (a device context, a
// framebuffer), a renderer's frame and trace, a test's recorder.
#pragma once

#include <cstdint>

#include "core/Colour.h"

namespace zirvo {

class PixelSink {
 public:
  virtual ~PixelSink() = default;
  // Sets (x, y), physical coordinates that may lie off the screen: a sink
  // clips them.
  virtual void SetPixel(std::int32_t x, std::int32_t y, COLORREF colour) = 0;
  // A hint, a few turns ahead, that (x, y) will soon be set, for a sink whose
  // pixels lie scattered in memory. Changes nothing. What it is worth: the
  // benchmarks sdl/pass/dense/hinted against sdl/pass/dense/unhinted.
  virtual void Prefetch(std::int32_t /*x*/, std::int32_t /*y*/) {}
};

}  // namespace zirvo
