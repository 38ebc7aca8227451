#include "platform/sdl-saver/WindowCanvas.h"

#include <SDL.h>

#include <algorithm>

#include "image/TrackedScreen.h"
#include "platform/sdl-saver/TextPainters.h"
#include "platform/sdl/WindowPixels.h"

namespace zirvo::saver {

namespace {

// The picture's changes come a row at a time: rows this close go to the
// display as one band, fewer and larger puts.
constexpr std::int32_t kBandGap = 8;

}  // namespace

WindowCanvas::WindowCanvas(WindowPixels& pixels, std::int32_t width, std::int32_t height,
                           BannerPainter& banner)
    : picture_(width, height), presenter_(pixels, kBandGap), banner_(banner) {}

void WindowCanvas::Fill(const Rect& area, COLORREF colour) {
  const Rect box = Intersect(area, Rect{0, 0, Width(), Height()});
  for (std::int32_t y = box.y; y < box.y + box.height; ++y) {
    for (std::int32_t x = box.x; x < box.x + box.width; ++x)
      picture_.Set(x, y, colour);
  }
}

void WindowCanvas::PaintBanner(const Rect& area) {
  Fill(area, kBlack);
  banner_.Paint(picture_, area);
}

void WindowCanvas::ReadArgb(const Rect& band, std::uint32_t* argb, std::size_t pitch) const {
  for (std::int32_t i = 0; i < band.height; ++i) {
    std::uint32_t* row = argb + static_cast<std::size_t>(i) * pitch;
    for (std::int32_t j = 0; j < band.width; ++j)
      row[j] = TrackedScreen::ToArgb(picture_.At(band.x + j, band.y + i));
  }
}

bool WindowCanvas::Present(bool whole, TextOverlay* overlay) {
  bool fresh = false;
  SDL_Surface* surface = presenter_.Surface(fresh);
  if (surface == nullptr)
    return false;
  whole = whole || fresh;  // a new surface holds nothing yet

  picture_.TakeSetRows(spans_);
  bands_.clear();
  if (whole) {
    bands_.push_back(Rect{0, 0, Width(), Height()});
  } else {
    for (const RowSpan& span : spans_)
      bands_.push_back(Rect{span.left, span.y, span.right - span.left, 1});
  }
  // A window's surface is plain memory (never RLE): written without locking.
  presenter_.Write(*surface, *this, bands_);
  SDL_Rect shown{};
  const bool drawn = overlay != nullptr && overlay->DrawOn(*surface, *this, shown);
  return presenter_.Show(
      *surface, bands_, whole,
      drawn ? std::span<const SDL_Rect>(&shown, 1) : std::span<const SDL_Rect>());
}

void WindowCanvas::Rewrite(SDL_Surface& surface, const SDL_Rect& rect) {
  const Rect box = Intersect(Rect{rect.x, rect.y, rect.w, rect.h}, Rect{0, 0, Width(), Height()});
  if (box.Empty())
    return;
  presenter_.Write(surface, *this, std::span<const Rect>(&box, 1));
}

}  // namespace zirvo::saver
