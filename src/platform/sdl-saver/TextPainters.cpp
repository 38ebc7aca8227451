#include "platform/sdl-saver/TextPainters.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cstdio>

#include "app/Banner.h"
#include "image/TrackedScreen.h"
#include "platform/sdl-saver/WindowCanvas.h"

namespace zirvo::saver {

namespace {

constexpr int kBoxMargin = 4;  // pixels of black around the text

}  // namespace

void BannerPainter::Paint(Picture& picture, const Rect& rect) {
  std::unique_ptr<BannerFont>& font = fonts_[rect.height];
  if (!font) {
    font = std::make_unique<BannerFont>();
    std::string error;
    if (!font->Open(rect.height, error) && !toldNoFont_) {
      std::fprintf(stderr, "zirvo-saver: the banner cannot be drawn: %s\n", error.c_str());
      toldNoFont_ = true;
    }
  }
  // BannerFont draws on a screen of the area's size; its lit pixels are copied.
  TrackedScreen screen(rect.width, rect.height);
  font->Draw(screen, kBannerText, BannerTop(rect.height, font->LineHeight()));
  for (std::int32_t y = 0; y < rect.height; ++y) {
    for (std::int32_t x = 0; x < rect.width; ++x) {
      const COLORREF colour = screen.Pixels().GetPixel(x, y);
      if (colour != kBlack)
        picture.Set(rect.x + x, rect.y + y, colour);
    }
  }
}

TextOverlay::~TextOverlay() {
  if (rendered_ != nullptr)
    SDL_FreeSurface(rendered_);
  if (font_ != nullptr)
    TTF_CloseFont(font_);
  if (ttfStarted_)
    TTF_Quit();
}

bool TextOverlay::Open(int screenHeight, std::string& error) {
  font_ = OpenBannerTypeface(screenHeight, ttfStarted_, error);
  return font_ != nullptr;
}

void TextOverlay::SetText(const std::string& text) {
  if (text == text_)
    return;
  text_ = text;
  textChanged_ = true;
  if (rendered_ != nullptr) {
    SDL_FreeSurface(rendered_);
    rendered_ = nullptr;
  }
  if (font_ == nullptr || text_.empty())
    return;
  const SDL_Color colour = {RedOf(BannerFont::kColour), GreenOf(BannerFont::kColour),
                            BlueOf(BannerFont::kColour), 255};
  const SDL_Color black = {0, 0, 0, 255};
  rendered_ = TTF_RenderUTF8_Shaded(font_, text_.c_str(), colour, black);
}

void TextOverlay::Place(int x, int y) {
  x_ = x;
  y_ = y;
}

bool TextOverlay::DrawOn(SDL_Surface& surface, WindowCanvas& canvas, SDL_Rect& changed) {
  SDL_Rect box{x_, y_, 0, 0};
  if (rendered_ != nullptr) {
    box.w = rendered_->w + 2 * kBoxMargin;
    box.h = rendered_->h + 2 * kBoxMargin;
  }
  const SDL_Rect last{x_, y_, lastW_, lastH_};
  if (textChanged_ && lastW_ > 0)
    canvas.Rewrite(surface, last);  // what the old box hid
  if (rendered_ != nullptr) {
    SDL_FillRect(&surface, &box, SDL_MapRGB(surface.format, 0, 0, 0));
    SDL_Rect at{x_ + kBoxMargin, y_ + kBoxMargin, rendered_->w, rendered_->h};
    SDL_BlitSurface(rendered_, nullptr, &surface, &at);
  }
  changed = box;
  if (textChanged_ && lastW_ > 0)
    SDL_UnionRect(&box, &last, &changed);
  textChanged_ = false;
  lastW_ = box.w;
  lastH_ = box.h;
  return changed.w > 0 && changed.h > 0;
}

}  // namespace zirvo::saver
