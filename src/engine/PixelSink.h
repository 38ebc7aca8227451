// Where the drawing pass's pixels go: the screen (a device context, a
// framebuffer), a renderer's frame and trace, a test's recorder.
#pragma once

#include <cstddef>
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
  // pixels lie scattered in memory. Changes nothing; a pixel off the screen,
  // or a sink that has not described its cells, takes no hint. Not virtual:
  // the pass hints twice a turn, and an address computed here costs less
  // than a call. What it is worth: the benchmarks sdl/pass/dense/hinted
  // against sdl/pass/dense/unhinted.
  void Prefetch(std::int32_t x, std::int32_t y) const {
    if (cells_ != nullptr && static_cast<std::uint32_t>(x) < width_ &&
        static_cast<std::uint32_t>(y) < height_) {
      __builtin_prefetch(
          cells_ + (std::size_t{std::uint32_t(y)} * width_ + std::uint32_t(x)) * cellBytes_, 1);
    }
  }

 protected:
  // Where the sink keeps its pixels, for Prefetch: width x height cells of
  // cellBytes each, row after row from `cells`, for as long as the sink lives.
  void DescribeCells(const void* cells, std::int32_t width, std::int32_t height,
                     std::size_t cellBytes) {
    cells_ = static_cast<const char*>(cells);
    width_ = width > 0 ? static_cast<std::uint32_t>(width) : 0;
    height_ = height > 0 ? static_cast<std::uint32_t>(height) : 0;
    cellBytes_ = cellBytes;
  }

 private:
  const char* cells_ = nullptr;
  std::uint32_t width_ = 0;
  std::uint32_t height_ = 0;
  std::size_t cellBytes_ = 0;
};

}  // namespace zirvo
