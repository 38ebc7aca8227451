// The dense scene's pixels as the drawing thread sets them, cut into frames:
// each frame holds what the show draws in one 60 Hz refresh at its calibrated
// pace (one turn per Delay of 100 ms / 1024, so about 171 turns), taken from
// the real drawing pass once the trails are full.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/PixelSink.h"

namespace zirvo::bench {

struct PixelSet {
  std::int32_t x;
  std::int32_t y;
  COLORREF colour;
};

class DenseFrames {
 public:
  // Turns in one refresh of 1000 / 60 ms at one turn per 100 / 1024 ms.
  static constexpr int kTurnsPerFrame = 171;

  // Records `frames` frames (fewer passes to fill the trails in quick mode).
  explicit DenseFrames(std::size_t frames);

  // Sets frame i's pixels (modulo the count), as the drawing thread would.
  void Draw(std::size_t i, PixelSink& sink) const;

  // Means over the frames: pixels set, distinct rows they touch, and rows
  // from the first changed one to the last.
  struct Means {
    double pixels = 0;
    double rows = 0;
    double rowSpan = 0;
  };
  Means FrameMeans() const;

 private:
  std::vector<std::vector<PixelSet>> frames_;
};

}  // namespace zirvo::bench
