// Where the renderer's pixels go: the frame it pictures and the trace.
#pragma once

#include <cstdint>

#include "engine/PixelSink.h"
#include "image/Picture.h"
#include "render/TraceWriter.h"

namespace zirvo::tools {

// Every pixel the show sets: onto the frame (clipped) and into the trace.
class RenderSink final : public PixelSink {
 public:
  RenderSink(Picture& frame, TraceWriter* trace) : frame_(frame), trace_(trace) {}

  void SetPixel(std::int32_t x, std::int32_t y, COLORREF colour) override {
    ++pixels_;
    if (trace_ != nullptr)
      trace_->Write(x, y, colour);
    frame_.Set(x, y, colour);
  }
  std::uint64_t Pixels() const { return pixels_; }

 private:
  Picture& frame_;
  TraceWriter* trace_;
  std::uint64_t pixels_ = 0;
};

}  // namespace zirvo::tools
