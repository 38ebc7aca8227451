#include "platform/sdl-saver/WindowCanvas.h"

#include <SDL.h>

#include <algorithm>

#include "platform/headless/TrackedScreen.h"
#include "platform/sdl-saver/TextPainters.h"
#include "platform/sdl/WindowPixels.h"

namespace zirvo::saver {

namespace {

// Rows this close are sent as one band: fewer, larger puts to the display.
constexpr std::int32_t kBandGap = 8;

bool IsXrgb(const SDL_Surface& surface) {
  return surface.format->format == SDL_PIXELFORMAT_RGB888 ||
         surface.format->format == SDL_PIXELFORMAT_ARGB8888;
}

}  // namespace

WindowCanvas::WindowCanvas(WindowPixels& window, std::int32_t width, std::int32_t height)
    : window_(window), frame_(width, height) {}

void WindowCanvas::WriteSpan(SDL_Surface& surface, std::int32_t y, std::int32_t left,
                             std::int32_t right) {
  if (y >= surface.h)
    return;
  right = std::min(right, static_cast<std::int32_t>(surface.w));
  auto* row =
      static_cast<std::uint8_t*>(surface.pixels) + static_cast<std::ptrdiff_t>(y) * surface.pitch;
  if (IsXrgb(surface)) {
    auto* pixels = reinterpret_cast<std::uint32_t*>(row);
    for (std::int32_t x = left; x < right; ++x)
      pixels[x] = TrackedScreen::ToArgb(frame_.At(x, y));
    return;
  }
  // Any other depth the host's window may have.
  const int bytes = surface.format->BytesPerPixel;
  for (std::int32_t x = left; x < right; ++x) {
    const COLORREF colour = frame_.At(x, y);
    const Uint32 value = SDL_MapRGB(surface.format, RedOf(colour), GreenOf(colour), BlueOf(colour));
    std::uint8_t* at = row + static_cast<std::ptrdiff_t>(x) * bytes;
    switch (bytes) {
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
}

void WindowCanvas::BandsOfSpans(std::int32_t width, std::int32_t height) {
  bands_.clear();
  for (const tools::RowSpan& span : spans_) {
    if (span.y >= height || span.left >= width)
      continue;
    const std::int32_t right = std::min(span.right, width);
    if (!bands_.empty()) {
      SDL_Rect& band = bands_.back();
      if (span.y - (band.y + band.h) < kBandGap) {
        const std::int32_t left = std::min(band.x, span.left);
        const std::int32_t bandRight = std::max(band.x + band.w, right);
        band.x = left;
        band.w = bandRight - left;
        band.h = span.y + 1 - band.y;
        continue;
      }
    }
    bands_.push_back(SDL_Rect{span.left, span.y, right - span.left, 1});
  }
}

bool WindowCanvas::Present(bool whole, TextOverlay* overlay) {
  SDL_Surface* surface = window_.Surface();
  if (surface == nullptr)
    return false;
  if (surface != surface_)
    whole = true;  // a new surface holds nothing yet
  surface_ = surface;

  // A window's surface is plain memory (never RLE): written without locking.
  frame_.TakeSetRows(spans_);
  if (whole) {
    for (std::int32_t y = 0; y < std::min(frame_.Height(), surface->h); ++y)
      WriteSpan(*surface, y, 0, frame_.Width());
  } else {
    for (const tools::RowSpan& span : spans_)
      WriteSpan(*surface, span.y, span.left, span.right);
    BandsOfSpans(surface->w, surface->h);
  }
  if (overlay != nullptr) {
    SDL_Rect shown{};
    if (overlay->DrawOn(*surface, *this, shown) && !whole)
      bands_.push_back(shown);
  }

  if (whole)
    return window_.ShowAll();
  if (bands_.empty())
    return true;
  return window_.Show(bands_.data(), static_cast<int>(bands_.size()));
}

void WindowCanvas::Rewrite(SDL_Surface& surface, const SDL_Rect& rect) {
  const std::int32_t left = std::max(0, rect.x);
  const std::int32_t right = std::min(frame_.Width(), rect.x + rect.w);
  const std::int32_t bottom = std::min(frame_.Height(), rect.y + rect.h);
  for (std::int32_t y = std::max(0, rect.y); y < bottom && left < right; ++y)
    WriteSpan(surface, y, left, right);
}

void AreaCanvas::Clear() {
  for (std::int32_t y = 0; y < area_.height; ++y) {
    for (std::int32_t x = 0; x < area_.width; ++x)
      window_.Frame().Set(area_.x + x, area_.y + y, kBlack);
  }
}

void AreaCanvas::Paint(std::int32_t x, std::int32_t y, COLORREF colour) {
  if (x < 0 || y < 0 || x >= area_.width || y >= area_.height)
    return;
  window_.Frame().Set(area_.x + x, area_.y + y, colour);
}

void AreaCanvas::PaintBanner() {
  Clear();
  banner_.Paint(*this);
}

}  // namespace zirvo::saver
