// The one SDL presenter of zirvo and zirvo-saver: a picture's bands land in a
// surface of any pixel format at their places, clipped to the surface and to
// the picture; a window's surface is fresh once, and again after a resize.
// On SDL's offscreen video driver, asked for by name.
#include "platform/sdl/SdlPresenter.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/sdl/WindowPixels.h"

namespace zirvo {
namespace {

// A picture whose pixel (x, y) is 0xFF000000 | y << 8 | x (as ARGB: green y,
// blue x), so that every pixel says where it came from.
class Coordinates final : public ArgbRows {
 public:
  Coordinates(std::int32_t width, std::int32_t height) : width_(width), height_(height) {}
  std::int32_t Width() const override { return width_; }
  std::int32_t Height() const override { return height_; }
  void ReadArgb(const Rect& band, std::uint32_t* argb, std::size_t pitch) const override {
    EXPECT_TRUE((Rect{0, 0, width_, height_}.Contains(band))) << "a band outside the picture";
    for (std::int32_t i = 0; i < band.height; ++i) {
      for (std::int32_t j = 0; j < band.width; ++j)
        argb[static_cast<std::size_t>(i) * pitch + static_cast<std::size_t>(j)] =
            At(band.x + j, band.y + i);
    }
  }
  static std::uint32_t At(std::int32_t x, std::int32_t y) {
    return 0xFF000000u | static_cast<std::uint32_t>(y) << 8 | static_cast<std::uint32_t>(x);
  }

 private:
  std::int32_t width_;
  std::int32_t height_;
};

// Pixel (x, y) of `surface` as red, green and blue.
SDL_Color ColourAt(SDL_Surface& surface, int x, int y) {
  const auto* at = static_cast<const std::uint8_t*>(surface.pixels) + y * surface.pitch +
                   x * surface.format->BytesPerPixel;
  Uint32 value = 0;
  SDL_memcpy(&value, at, surface.format->BytesPerPixel);
  SDL_Color colour{};
  SDL_GetRGB(value, surface.format, &colour.r, &colour.g, &colour.b);
  return colour;
}

class SdlPresenterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    // The window's own surface, as zirvo and zirvo-saver ask for it.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
      GTEST_SKIP() << "SDL's offscreen driver is not available: " << SDL_GetError();
    window = SDL_CreateWindow("presenter", 0, 0, 64, 48, SDL_WINDOW_HIDDEN);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    pixels = std::make_unique<WindowPixels>(window);
  }
  void TearDown() override {
    pixels.reset();
    if (window != nullptr)
      SDL_DestroyWindow(window);
    SDL_Quit();
  }

  // Presents `bands` of a 40 x 30 picture into a fresh 32 x 32 surface of
  // `format` (a 16-colour palette where it has one).
  SDL_Surface* Written(Uint32 format, const std::vector<Rect>& bands) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 32, 32, 0, format);
    EXPECT_NE(surface, nullptr) << SDL_GetError();
    if (surface != nullptr && surface->format->palette != nullptr) {
      std::vector<SDL_Color> grey(256);
      for (int i = 0; i < 256; ++i)
        grey[static_cast<std::size_t>(i)] = SDL_Color{0, static_cast<Uint8>(i), 0, 255};
      SDL_SetPaletteColors(surface->format->palette, grey.data(), 0, 256);
    }
    SdlPresenter presenter(*pixels, 1);
    presenter.Write(*surface, Coordinates(40, 30), bands);
    return surface;
  }

  SDL_Window* window = nullptr;
  std::unique_ptr<WindowPixels> pixels;
};

TEST_F(SdlPresenterTest, BandsLandAtTheirPlacesInEveryPixelFormat) {
  const std::vector<Rect> bands = {{2, 1, 5, 1}, {0, 3, 32, 2}, {20, 10, 30, 40}};
  for (const Uint32 format : {SDL_PIXELFORMAT_RGB888, SDL_PIXELFORMAT_RGB565, SDL_PIXELFORMAT_RGB24,
                              SDL_PIXELFORMAT_BGRA8888}) {
    SDL_Surface* surface = Written(format, bands);
    ASSERT_NE(surface, nullptr);
    SCOPED_TRACE(SDL_GetPixelFormatName(format));
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        bool inBand = false;
        for (const Rect& band : bands)
          inBand = inBand || (Rect{x, y, 1, 1} == Intersect(band, Rect{x, y, 1, 1}));
        // Inside the picture (40 x 30) and the surface (32 x 32) only.
        inBand = inBand && y < 30;
        const SDL_Color colour = ColourAt(*surface, x, y);
        if (!inBand) {
          ASSERT_EQ(colour.g | colour.b, 0) << x << "," << y << " was written";
          continue;
        }
        // The 16-bit format keeps 6 bits of green and 5 of blue.
        SDL_Color expected{};
        SDL_GetRGB(SDL_MapRGB(surface->format, 0, static_cast<Uint8>(y), static_cast<Uint8>(x)),
                   surface->format, &expected.r, &expected.g, &expected.b);
        ASSERT_EQ(colour.g, expected.g) << x << "," << y;
        ASSERT_EQ(colour.b, expected.b) << x << "," << y;
      }
    }
    SDL_FreeSurface(surface);
  }
}

TEST_F(SdlPresenterTest, APaletteSurfaceGetsThePixelsOneByOne) {
  // SDL converts no block into a palette: each pixel is mapped on its own,
  // to the palette's nearest colour (here: the green one of its row).
  SDL_Surface* surface = Written(SDL_PIXELFORMAT_INDEX8, {{0, 5, 8, 3}});
  ASSERT_NE(surface, nullptr);
  for (int y = 5; y < 8; ++y) {
    for (int x = 0; x < 8; ++x)
      EXPECT_EQ(ColourAt(*surface, x, y).g, y) << x << "," << y;
  }
  EXPECT_EQ(static_cast<const std::uint8_t*>(surface->pixels)[4 * surface->pitch], 0)
      << "a row not in the band is untouched";
  SDL_FreeSurface(surface);
}

TEST_F(SdlPresenterTest, AWindowsSurfaceIsFreshOnceAndAgainAfterAResize) {
  SdlPresenter presenter(*pixels, 8);
  bool fresh = false;
  SDL_Surface* first = presenter.Surface(fresh);
  ASSERT_NE(first, nullptr) << SDL_GetError();
  EXPECT_TRUE(fresh);
  EXPECT_EQ(presenter.Surface(fresh), first);
  EXPECT_FALSE(fresh);
  const std::vector<Rect> bands = {{0, 0, 8, 2}, {0, 5, 8, 1}, {0, 40, 64, 8}};
  presenter.Write(*first, Coordinates(64, 48), bands);
  EXPECT_TRUE(presenter.Show(*first, bands, false));
  EXPECT_TRUE(presenter.Show(*first, {}, true));
  presenter.Forget();
  presenter.Surface(fresh);
  EXPECT_TRUE(fresh) << "after a resize even a surface at the same address holds nothing";
}

}  // namespace
}  // namespace zirvo
