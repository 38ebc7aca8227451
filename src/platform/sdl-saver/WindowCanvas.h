// What the saver shows in one SDL window (its own, or a host's): the picture
// as COLORREF pixels (image/Picture.h, which remembers the columns set in each
// row), the surface the shows' areas draw on (app/AreaCanvas.h), presented
// through the SDL presenter: at each frame only the spans set since the last
// one (the frame's whole cost at 1920 x 1080 is in bench/run's zirvo-saver
// rows).
#pragma once

#include <cstdint>
#include <vector>

#include "app/AreaCanvas.h"
#include "image/Picture.h"
#include "platform/sdl/SdlPresenter.h"

struct SDL_Surface;
struct SDL_Rect;

namespace zirvo {
class WindowPixels;
}

namespace zirvo::saver {

class BannerPainter;
class TextOverlay;

class WindowCanvas final : public SaverSurface, private ArgbRows {
 public:
  // `pixels` (the window's) outlives the canvas.
  WindowCanvas(WindowPixels& pixels, std::int32_t width, std::int32_t height,
               BannerPainter& banner);

  // What the window shows, for a screenshot.
  const zirvo::Picture& Image() const { return picture_; }
  std::int32_t Width() const override { return picture_.Width(); }
  std::int32_t Height() const override { return picture_.Height(); }

  // SaverSurface.
  void Set(std::int32_t x, std::int32_t y, COLORREF colour) override { picture_.Set(x, y, colour); }
  void Fill(const Rect& area, COLORREF colour) override;
  void PaintBanner(const Rect& area) override;

  // Shows the spans set since the last present (every pixel when `whole`, or
  // when the window's surface is new), with `overlay` (if any) on top at its
  // place. False when the window has no surface to draw on.
  bool Present(bool whole, TextOverlay* overlay);
  // The picture's pixels of `rect` written into `surface` again.
  void Rewrite(SDL_Surface& surface, const SDL_Rect& rect);

 private:
  void ReadArgb(const Rect& band, std::uint32_t* argb, std::size_t pitch) const override;

  zirvo::Picture picture_;
  SdlPresenter presenter_;
  BannerPainter& banner_;
  std::vector<RowSpan> spans_;
  std::vector<Rect> bands_;
};

}  // namespace zirvo::saver
