// What the saver draws on: a 32-bit DIB section as large as its window, which
// the shows set pixels in directly and the window gets copied from, each frame
// only the box of pixels set since the one before, and whole on WM_PAINT. Each
// show draws through an AreaCanvas, its monitor's part of the surface.
#pragma once

#include "platform/win32/WinApi.h"

#include <cstdint>
#include <memory>

#include "app/MonitorLayout.h"
#include "app/SaverShow.h"

namespace zirvo::scr {

class DibSurface {
 public:
  // Null when Windows gives no memory for it.
  static std::unique_ptr<DibSurface> Create(std::int32_t width, std::int32_t height);
  ~DibSurface();
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;

  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }
  // A memory device context with the surface selected, for GDI text.
  HDC Dc() const { return dc_; }

  // REQUIRES: 0 <= x < Width(), 0 <= y < Height().
  void Set(std::int32_t x, std::int32_t y, zirvo::COLORREF colour) {
    bits_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
          static_cast<std::size_t>(x)] = ToDibPixel(colour);
    Touch(Rect{x, y, 1, 1});
  }
  void Fill(const Rect& rect, zirvo::COLORREF colour);
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
  void Touch(const Rect& rect);

  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
  std::uint32_t* bits_;
  std::int32_t width_;
  std::int32_t height_;
  // The box changed since the last Present, as edges; empty when right <= left.
  std::int32_t left_, top_, right_ = 0, bottom_ = 0;
};

// One show's part of the surface: the show's (0, 0) is the area's corner, and
// what falls outside the area is clipped.
class AreaCanvas final : public ShowCanvas {
 public:
  AreaCanvas(DibSurface& surface, const Rect& area) : surface_(surface), area_(area) {}

  void SetPixel(std::int32_t x, std::int32_t y, zirvo::COLORREF colour) override {
    if (x < 0 || y < 0 || x >= area_.width || y >= area_.height)
      return;
    surface_.Set(area_.x + x, area_.y + y, colour);
  }
  ScreenSize Size() const override { return ScreenSize{area_.width, area_.height}; }
  void Clear() override { surface_.Fill(area_, 0); }
  // zirvo.exe's banner, with its font, colour and place, on the area.
  void PaintBanner() override;

 private:
  DibSurface& surface_;
  Rect area_;
};

}  // namespace zirvo::scr
