// What the saver draws on: a 32-bit DIB section as large as its window, which
// the shows set pixels in directly (each through an AreaCanvas, its monitor's
// part of the surface, app/AreaCanvas.h) and the window gets copied from, each
// frame only the box of pixels set since the one before, and whole on WM_PAINT.
#pragma once

#include "platform/win32/WinApi.h"

#include <cstdint>
#include <memory>

#include "app/AreaCanvas.h"
#include "core/Rect.h"

namespace zirvo::scr {

class DibSurface final : public SaverSurface {
 public:
  // Null when Windows gives no memory for it.
  static std::unique_ptr<DibSurface> Create(std::int32_t width, std::int32_t height);
  ~DibSurface();
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;

  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }

  // SaverSurface.
  void Set(std::int32_t x, std::int32_t y, zirvo::COLORREF colour) override {
    bits_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
          static_cast<std::size_t>(x)] = ToDibPixel(colour);
    changed_.Add(x, y);
  }
  void Fill(const Rect& rect, zirvo::COLORREF colour) override;
  // zirvo.exe's banner, with its font, colour and place, on the area.
  void PaintBanner(const Rect& area) override;
  // `rect` changed behind the surface's back (GDI drew in it): copy it at the
  // next Present. Waits for GDI to finish drawing first.
  void Changed(const Rect& rect);

  // Copies what changed since the last call to `target` at the same place.
  void Present(HDC target);
  // Copies `rect` to `target` at the same place.
  void Copy(HDC target, const RECT& rect) const;

  // A COLORREF (0x00BBGGRR) as the DIB keeps it (0x00RRGGBB).
  static constexpr std::uint32_t ToDibPixel(zirvo::COLORREF colour) {
    return ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
  }

 private:
  DibSurface(HDC dc, HBITMAP bitmap, HGDIOBJ previous, std::uint32_t* bits, std::int32_t width,
             std::int32_t height);

  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
  std::uint32_t* bits_;
  std::int32_t width_;
  std::int32_t height_;
  ChangedBox changed_;  // since the last Present
};

}  // namespace zirvo::scr
