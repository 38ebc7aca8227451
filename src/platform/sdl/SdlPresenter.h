// How a picture in memory gets into an SDL window, for zirvo's window and
// zirvo-saver's alike: the rows that changed are converted into the window's
// own pixels (WindowPixels: plain memory, put to the display with shared
// memory on X11, or Wayland buffers of the display's pixels; SDL's renderers
// were slower there than a refresh), then only bands around them go to the
// display, bands close together as one. A new surface
// (a new window, a new size) holds nothing: the caller then presents it whole.
#pragma once

#include <SDL_rect.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/Rect.h"

struct SDL_Surface;

namespace zirvo {

class WindowPixels;

// A picture as the presenter reads it.
class ArgbRows {
 public:
  virtual ~ArgbRows() = default;
  virtual std::int32_t Width() const = 0;
  virtual std::int32_t Height() const = 0;
  // The pixels of `band` as 0xAARRGGBB: pixel (band.x + j, band.y + i) at
  // argb[i * pitch + j].
  // REQUIRES: `band` lies inside the picture.
  virtual void ReadArgb(const Rect& band, std::uint32_t* argb, std::size_t pitch) const = 0;
};

class SdlPresenter {
 public:
  // Bands fewer than `mergeGap` rows apart go to the display as one: fewer,
  // larger puts (1: only bands that touch).
  // `pixels` outlives the presenter.
  SdlPresenter(WindowPixels& pixels, std::int32_t mergeGap)
      : pixels_(pixels), mergeGap_(mergeGap) {}

  // The window's surface now, or null when it has none. `fresh` when it is
  // not the one presented on last: it holds nothing of the picture yet.
  SDL_Surface* Surface(bool& fresh);
  // The window changed size: the next surface is fresh, even one that lands
  // at the same address.
  void Forget() { surface_ = nullptr; }

  // Converts `bands` (rows and columns of them, top to bottom) of `rows` into
  // `surface`, clipped to it.
  void Write(SDL_Surface& surface, const ArgbRows& rows, std::span<const Rect> bands);
  // Puts `bands` to the display, with `drawn` (boxes drawn on the surface
  // directly); the whole surface when `whole`. False when SDL refused.
  bool Show(SDL_Surface& surface, std::span<const Rect> bands, bool whole,
            std::span<const SDL_Rect> drawn = {});

 private:
  void WriteBand(SDL_Surface& surface, const ArgbRows& rows, const Rect& band);

  WindowPixels& pixels_;
  std::int32_t mergeGap_;
  SDL_Surface* surface_ = nullptr;  // the one last presented on, and its size
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> staging_;
  std::vector<SDL_Rect> rects_;
};

}  // namespace zirvo
