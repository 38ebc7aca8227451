// The outputs that take the screen at a fixed rate (raw frames, animated WebP,
// video): each is handed the screen as 8-bit RGB, frame after frame, and
// completes its file at the end. Frame k shows the screen at k/fps simulated
// seconds (FrameCapture decides the moments).
#pragma once

#include <cstdint>
#include <string>

namespace zirvo::tools {

// Three bytes a pixel (red, green, blue), rows top to bottom, no padding.
struct RgbImage {
  std::int32_t width = 0;
  std::int32_t height = 0;
  const std::uint8_t* rgb = nullptr;
};

class FrameWriter {
 public:
  virtual ~FrameWriter() = default;

  // Takes the next frame. False when it could not be written: Error() says
  // why, and the writer takes nothing more.
  virtual bool Add(const RgbImage& image) = 0;
  // After the last frame: completes the output and puts it under its name.
  // False when that failed (nothing is left under the name then).
  virtual bool Finish() = 0;
  // The output's name, as given on the command line.
  virtual const std::string& Name() const = 0;
  virtual const std::string& Error() const = 0;
};

}  // namespace zirvo::tools
