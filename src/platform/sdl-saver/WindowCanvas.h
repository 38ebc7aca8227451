// What the saver shows in one SDL window (its own, or a host's): the picture as
// COLORREF pixels in a tools::Frame, which remembers the columns set in each
// row, and the shows' areas on it. At each frame only the set spans are
// converted into the window's surface and only the bands of rows they lie in
// go to the display (the frame's whole cost at 1920 x 1080 is in bench/run's
// zirvo-saver rows).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/MonitorLayout.h"
#include "app/SaverShow.h"
#include "render/Frame.h"

struct SDL_Surface;
struct SDL_Rect;

namespace zirvo {
class WindowPixels;
}

namespace zirvo::saver {

class BannerPainter;
class TextOverlay;

class WindowCanvas {
 public:
  WindowCanvas(WindowPixels& window, std::int32_t width, std::int32_t height);

  tools::Frame& Frame() { return frame_; }
  std::int32_t Width() const { return frame_.Width(); }
  std::int32_t Height() const { return frame_.Height(); }

  // Shows the spans set since the last present (every pixel when `whole`, or
  // when the window's surface is new), with `overlay` (if any) on top at its
  // place. False when the window has no surface to draw on.
  bool Present(bool whole, TextOverlay* overlay);
  // The frame's pixels of `rect` written into `surface` again.
  void Rewrite(SDL_Surface& surface, const SDL_Rect& rect);

 private:
  // The pixels [left, right) of row y, converted into the surface.
  void WriteSpan(SDL_Surface& surface, std::int32_t y, std::int32_t left, std::int32_t right);
  // Consecutive rows (a few rows apart at most) merged into one band each.
  void BandsOfSpans(std::int32_t width, std::int32_t height);

  WindowPixels& window_;
  tools::Frame frame_;
  SDL_Surface* surface_ = nullptr;  // the one last presented on
  std::vector<tools::RowSpan> spans_;
  std::vector<SDL_Rect> bands_;
};

// One show's area of a window: the show's coordinates shifted by the area's
// corner and clipped to it.
class AreaCanvas final : public ShowCanvas {
 public:
  AreaCanvas(WindowCanvas& window, const Rect& area, BannerPainter& banner)
      : window_(window), area_(area), banner_(banner) {}

  void SetPixel(std::int32_t x, std::int32_t y, COLORREF colour) override {
    ++pixels_;
    if (x < 0 || y < 0 || x >= area_.width || y >= area_.height)
      return;
    window_.Frame().Set(area_.x + x, area_.y + y, colour);
  }
  ScreenSize Size() const override { return ScreenSize{area_.width, area_.height}; }
  void Clear() override;
  void PaintBanner() override;

  // Sets a pixel that is not the show's (the banner).
  void Paint(std::int32_t x, std::int32_t y, COLORREF colour);
  const Rect& Area() const { return area_; }
  WindowCanvas& Window() { return window_; }
  // SetPixel calls so far, clipped ones too.
  std::uint64_t Pixels() const { return pixels_; }

 private:
  WindowCanvas& window_;
  Rect area_;
  BannerPainter& banner_;
  std::uint64_t pixels_ = 0;
};

}  // namespace zirvo::saver
