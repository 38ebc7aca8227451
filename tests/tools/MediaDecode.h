// Reads the renderer's animated WebP back with libwebp's WebPAnimDecoder, its
// videos with FFmpeg's libraries, and its raw frames; and measures how far a
// lossy frame is from the exact one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ImageDecode.h"

namespace zirvo::testing {

struct WebpAnimation {
  int width = 0;
  int height = 0;
  int loopCount = -1;
  std::vector<Picture> frames;  // the canvas after each frame
  std::vector<int> endsMs;      // when each frame stops being shown
};

// No frames when the file does not decode.
WebpAnimation DecodeWebp(const std::string& path);

// The canvas the animation shows at `ms`.
const Picture& WebpAt(const WebpAnimation& animation, int ms);

struct Video {
  std::string container;  // FFmpeg's name: "matroska,webm", "mov,mp4,m4a,3gp,3g2,mj2"
  std::string codec;      // "vp9", "h264"
  std::string pixelFormat;
  int width = 0;
  int height = 0;
  int rateNum = 0;  // the stream's average frame rate
  int rateDen = 1;
  double durationSeconds = 0;        // the container's
  std::vector<double> frameSeconds;  // each decoded frame's presentation time
  std::vector<Picture> frames;       // decoded and turned back to RGB (BT.709, limited range)
};

// No frames when the file does not decode.
Video DecodeVideo(const std::string& path);

// Frames of `width` x `height` RGB bytes, as many as the file holds in full;
// `leftOver` gets the bytes after the last whole frame.
std::vector<Picture> ReadRawFrames(const std::string& path, int width, int height,
                                   std::size_t* leftOver);

// Peak signal-to-noise ratio over the three channels, in dB (infinite when the
// pictures are equal); pictures of different sizes compare over the first's.
double Psnr(const Picture& exact, const Picture& other);
// The same over luma alone (BT.709 weights): the detail that 4:2:0 video keeps
// at full resolution, so that a frame shown at the wrong moment stands out.
double LumaPsnr(const Picture& exact, const Picture& other);
// The largest difference of one channel of one pixel.
int LargestDifference(const Picture& exact, const Picture& other);

}  // namespace zirvo::testing
