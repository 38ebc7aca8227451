// Decodes the renderer's pictures with the reference libraries: libpng for the
// PNG, giflib for the GIF (its pictures laid over each other as a viewer does).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zirvo::testing {

// Pixels as 0xRRGGBB, row by row.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t At(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
};

// Empty picture (width 0) when the file does not decode.
Picture DecodePng(const std::string& path);

struct Animation {
  int width = 0;
  int height = 0;
  std::vector<Picture> frames;  // the screen after each picture was laid on
  std::vector<int> delaysCs;    // each picture's delay
};

// No frames when the file does not decode.
Animation DecodeGif(const std::string& path);

// The screen after each picture of the GIF is laid on, one at a time (a long
// animation need not be held in memory); false when the file does not decode.
bool ForEachGifPicture(const std::string& path,
                       const std::function<void(const Picture& screen, int delayCs)>& visit);

}  // namespace zirvo::testing
