#include "platform/sdl/SdlPresenter.h"

#include <SDL.h>

#include <algorithm>

#include "platform/sdl/WindowPixels.h"

namespace zirvo {

namespace {

// A surface of 32-bit pixels that 0xAARRGGBB fits as it is (the top byte
// unused or alpha, always opaque here).
bool TakesArgb(const SDL_Surface& surface) {
  return surface.format->format == SDL_PIXELFORMAT_RGB888 ||
         surface.format->format == SDL_PIXELFORMAT_ARGB8888;
}

// One pixel in any format SDL maps colours into, palettes too (a host's
// window may have any depth).
void StorePixel(SDL_Surface& surface, std::uint8_t* at, std::uint32_t argb) {
  const Uint32 value = SDL_MapRGB(surface.format, static_cast<Uint8>(argb >> 16),
                                  static_cast<Uint8>(argb >> 8), static_cast<Uint8>(argb));
  switch (surface.format->BytesPerPixel) {
    case 1:
      *at = static_cast<std::uint8_t>(value);
      break;
    case 2: {
      const auto narrow = static_cast<Uint16>(value);
      SDL_memcpy(at, &narrow, 2);
      break;
    }
    case 3:
      at[0] = static_cast<std::uint8_t>(value);
      at[1] = static_cast<std::uint8_t>(value >> 8);
      at[2] = static_cast<std::uint8_t>(value >> 16);
      break;
    default:
      SDL_memcpy(at, &value, 4);
      break;
  }
}

}  // namespace

SDL_Surface* SdlPresenter::Surface(bool& fresh) {
  // Valid until the window changes size; then there is a new one.
  SDL_Surface* surface = pixels_.Surface();
  if (surface == nullptr || surface->format == nullptr)
    return nullptr;
  fresh = surface != surface_ || surface->w != width_ || surface->h != height_;
  surface_ = surface;
  width_ = surface->w;
  height_ = surface->h;
  return surface;
}

void SdlPresenter::Write(SDL_Surface& surface, const ArgbRows& rows, std::span<const Rect> bands) {
  const bool locked = SDL_MUSTLOCK(&surface) && SDL_LockSurface(&surface) == 0;
  // On the surface and on the picture: a window larger than the picture shows
  // it at the top left, a smaller one its top left part.
  const Rect both{0, 0, std::min(surface.w, rows.Width()), std::min(surface.h, rows.Height())};
  for (const Rect& band : bands)
    WriteBand(surface, rows, Intersect(band, both));
  if (locked)
    SDL_UnlockSurface(&surface);
}

void SdlPresenter::WriteBand(SDL_Surface& surface, const ArgbRows& rows, const Rect& band) {
  if (band.Empty())
    return;
  const int bytes = surface.format->BytesPerPixel;
  auto* first = static_cast<std::uint8_t*>(surface.pixels) +
                static_cast<std::ptrdiff_t>(band.y) * surface.pitch +
                static_cast<std::ptrdiff_t>(band.x) * bytes;
  if (TakesArgb(surface)) {
    rows.ReadArgb(band, reinterpret_cast<std::uint32_t*>(first),
                  static_cast<std::size_t>(surface.pitch) / sizeof(std::uint32_t));
    return;
  }
  // Another pixel format: the pixels as ARGB first, then converted by SDL, or
  // one by one where SDL converts no block (a palette).
  const int width = band.width;
  staging_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(band.height));
  rows.ReadArgb(band, staging_.data(), static_cast<std::size_t>(width));
  if (SDL_ConvertPixels(width, band.height, SDL_PIXELFORMAT_ARGB8888, staging_.data(),
                        width * static_cast<int>(sizeof(std::uint32_t)), surface.format->format,
                        first, surface.pitch) == 0) {
    return;
  }
  for (std::int32_t i = 0; i < band.height; ++i) {
    for (std::int32_t x = 0; x < width; ++x) {
      StorePixel(surface, first + static_cast<std::ptrdiff_t>(i) * surface.pitch + x * bytes,
                 staging_[static_cast<std::size_t>(i) * static_cast<std::size_t>(width) +
                          static_cast<std::size_t>(x)]);
    }
  }
}

bool SdlPresenter::Show(SDL_Surface& surface, std::span<const Rect> bands, bool whole,
                        std::span<const SDL_Rect> drawn) {
  if (whole)
    return pixels_.ShowAll();
  rects_.clear();
  const Rect onSurface{0, 0, surface.w, surface.h};
  for (const Rect& given : bands) {
    const Rect band = Intersect(given, onSurface);
    if (band.Empty())
      continue;
    if (!rects_.empty()) {
      SDL_Rect& last = rects_.back();
      if (band.y - (last.y + last.h) < mergeGap_) {
        const int left = std::min(last.x, band.x);
        const int right = std::max(last.x + last.w, band.x + band.width);
        last.x = left;
        last.w = right - left;
        last.h = std::max(last.y + last.h, band.y + band.height) - last.y;
        continue;
      }
    }
    rects_.push_back(SDL_Rect{band.x, band.y, band.width, band.height});
  }
  rects_.insert(rects_.end(), drawn.begin(), drawn.end());
  if (rects_.empty())
    return true;
  return pixels_.Show(rects_.data(), static_cast<int>(rects_.size()));
}

}  // namespace zirvo
