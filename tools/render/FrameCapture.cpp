#include "render/FrameCapture.h"

#include <cmath>

namespace zirvo::tools {

FrameCapture::FrameCapture(const Picture& frame, double fps, std::uint64_t limitUs)
    : frame_(frame),
      fps_(fps),
      limitUs_(limitUs),
      rgb_(static_cast<std::size_t>(frame.Width()) * static_cast<std::size_t>(frame.Height()) * 3) {
}

void FrameCapture::Convert() {
  std::uint8_t* out = rgb_.data();
  for (std::int32_t y = 0; y < frame_.Height(); ++y) {
    for (std::int32_t x = 0; x < frame_.Width(); ++x) {
      const COLORREF colour = frame_.At(x, y);
      *out++ = RedOf(colour);
      *out++ = GreenOf(colour);
      *out++ = BlueOf(colour);
    }
  }
}

void FrameCapture::Capture(std::uint64_t pixelsSet) {
  if (!converted_ || pixelsSet != convertedAt_) {
    Convert();
    converted_ = true;
    convertedAt_ = pixelsSet;
  }
  const RgbImage image{frame_.Width(), frame_.Height(), rgb_.data()};
  for (FrameWriter* writer : writers_) {
    if (!writer->Add(image)) {
      failed_ = writer;
      return;
    }
  }
  ++taken_;
  nextAtUs_ = static_cast<std::uint64_t>(std::llround(static_cast<double>(taken_) * 1e6 / fps_));
}

FrameWriter* FrameCapture::Finish(bool endedByItself, std::uint64_t pixelsSet) {
  if (endedByItself && failed_ == nullptr && nextAtUs_ < limitUs_)
    Capture(pixelsSet);
  // After a failure every frame output stops short: none is completed.
  for (FrameWriter* writer : writers_) {
    if (failed_ == nullptr && !writer->Finish())
      failed_ = writer;
  }
  return failed_;
}

}  // namespace zirvo::tools
