// What a saver draws on: the surface its window shows (a Picture of the
// window on Linux, a DIB section on Windows) and, on it, one AreaCanvas per
// show (a monitor's part of it, or all of it). A show's (0, 0) is its area's
// top-left corner, and what it sets outside the area is clipped.
#pragma once

#include <cstdint>

#include "app/SaverShow.h"
#include "core/Rect.h"

namespace zirvo {

// A window's pixels, as the backend keeps them.
class SaverSurface {
 public:
  virtual ~SaverSurface() = default;
  // REQUIRES: (x, y) lies on the surface.
  virtual void Set(std::int32_t x, std::int32_t y, COLORREF colour) = 0;
  // Every pixel of `area` (on the surface) in `colour`.
  virtual void Fill(const Rect& area, COLORREF colour) = 0;
  // zirvo's usage banner over black, on `area` as zirvo places it on its screen,
  // in the font the system gives zirvo.
  virtual void PaintBanner(const Rect& area) = 0;
};

class AreaCanvas final : public ShowCanvas {
 public:
  // REQUIRES: `area` lies on `surface`.
  AreaCanvas(SaverSurface& surface, const Rect& area) : surface_(surface), area_(area) {}

  void SetPixel(std::int32_t x, std::int32_t y, COLORREF colour) override {
    ++pixels_;
    if (x < 0 || y < 0 || x >= area_.width || y >= area_.height)
      return;
    surface_.Set(area_.x + x, area_.y + y, colour);
  }
  ScreenSize Size() const override { return ScreenSize{area_.width, area_.height}; }
  void Clear() override { surface_.Fill(area_, kBlack); }
  void PaintBanner() override { surface_.PaintBanner(area_); }

  const Rect& Area() const { return area_; }
  // SetPixel calls so far, clipped ones too.
  std::uint64_t Pixels() const { return pixels_; }

 private:
  SaverSurface& surface_;
  Rect area_;
  std::uint64_t pixels_ = 0;
};

}  // namespace zirvo
