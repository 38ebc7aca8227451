// The renderer's run of the show: the drawing loop of the program, with the
// simulated clock instead of the busy-wait and the frame instead of the screen.
#pragma once

#include <cstdint>

#include "engine/DrawingPass.h"
#include "engine/Engine.h"
#include "render/Frame.h"
#include "render/Progress.h"
#include "render/SimulatedClock.h"
#include "render/TraceWriter.h"

namespace zirvo::tools {

// Every pixel the show sets: onto the frame (clipped) and into the trace.
class RenderSink final : public PixelSink {
 public:
  RenderSink(Frame& frame, TraceWriter* trace) : frame_(frame), trace_(trace) {}

  void SetPixel(std::int32_t x, std::int32_t y, COLORREF colour) override {
    ++pixels_;
    if (trace_ != nullptr)
      trace_->Write(x, y, colour);
    frame_.Set(x, y, colour);
  }
  std::uint64_t Pixels() const { return pixels_; }

 private:
  Frame& frame_;
  TraceWriter* trace_;
  std::uint64_t pixels_ = 0;
};

struct RunResult {
  std::uint64_t passes = 0;
  bool endedByItself = false;  // the show finished before the time limit
};

// Paused 0 and drawing enabled from the start: repeat Delay, one drawing pass;
// stop when the pass says the show is over, or once the clock reaches `limitUs`.
RunResult RunShow(Engine& engine, SimulatedClock& clock, PixelSink& pixels, std::uint64_t limitUs,
                  Progress& progress);

}  // namespace zirvo::tools
