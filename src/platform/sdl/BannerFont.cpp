#include "platform/sdl/BannerFont.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <vector>

namespace zirvo {

namespace {

constexpr int kFallbackLineHeight = 16;

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : text) {
    if (c == '\r')
      continue;
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  lines.push_back(line);
  return lines;
}

// One channel of the banner colour at coverage `alpha` over black.
std::uint32_t Blend(std::uint32_t channel, std::uint32_t alpha) {
  return (channel * alpha + 127) / 255;
}

}  // namespace

std::string FindFontFile(const std::string& pattern) {
  std::string path;
  if (FcInit() == FcFalse)
    return path;
  FcPattern* query = FcNameParse(reinterpret_cast<const FcChar8*>(pattern.c_str()));
  if (query == nullptr)
    return path;
  FcConfigSubstitute(nullptr, query, FcMatchPattern);
  FcDefaultSubstitute(query);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, query, &result);
  if (match != nullptr) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file != nullptr) {
      path = reinterpret_cast<const char*>(file);
    }
    FcPatternDestroy(match);
  }
  FcPatternDestroy(query);
  return path;
}

BannerFont::~BannerFont() {
  if (font_ != nullptr)
    TTF_CloseFont(font_);
  if (ttfStarted_)
    TTF_Quit();
}

TTF_Font* OpenBannerTypeface(std::int32_t screenHeight, bool& ttfStarted, std::string& error) {
  if (TTF_Init() != 0) {
    error = std::string("cannot start SDL_ttf: ") + TTF_GetError();
    return nullptr;
  }
  ttfStarted = true;
  const std::string file = FindFontFile("sans-serif");
  if (file.empty()) {
    error = "fontconfig found no sans-serif font";
    return nullptr;
  }
  // About the size of a desktop's system font: 16 pixels on a 1024 x 768
  // screen, a little more on taller ones.
  const int size = std::max(12, static_cast<int>(screenHeight / 48));
  TTF_Font* font = TTF_OpenFont(file.c_str(), size);
  if (font == nullptr)
    error = "cannot open the font " + file + ": " + TTF_GetError();
  return font;
}

bool BannerFont::Open(std::int32_t screenHeight, std::string& error) {
  font_ = OpenBannerTypeface(screenHeight, ttfStarted_, error);
  return font_ != nullptr;
}

int BannerFont::LineHeight() const {
  return font_ != nullptr ? TTF_FontLineSkip(font_) : kFallbackLineHeight;
}

void BannerFont::Draw(TrackedScreen& screen, const std::string& text, int top) const {
  if (font_ == nullptr)
    return;
  const SDL_Color colour = {RedOf(kColour), GreenOf(kColour), BlueOf(kColour), 255};
  const int lineHeight = LineHeight();
  int lineTop = top;
  for (const std::string& line : SplitLines(text)) {
    if (!line.empty()) {
      SDL_Surface* rendered = TTF_RenderUTF8_Blended(font_, line.c_str(), colour);
      SDL_Surface* argb = rendered != nullptr
                              ? SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0)
                              : nullptr;
      if (argb != nullptr && SDL_LockSurface(argb) == 0) {
        const int left = (screen.Width() - argb->w) / 2;
        for (int y = 0; y < argb->h; ++y) {
          const auto* row = reinterpret_cast<const std::uint32_t*>(
              static_cast<const std::uint8_t*>(argb->pixels) + y * argb->pitch);
          for (int x = 0; x < argb->w; ++x) {
            const std::uint32_t alpha = row[x] >> 24;
            if (alpha == 0)
              continue;
            const COLORREF blended = Blend(RedOf(kColour), alpha) |
                                     (Blend(GreenOf(kColour), alpha) << 8) |
                                     (Blend(BlueOf(kColour), alpha) << 16);
            screen.Store(left + x, lineTop + y, blended);
          }
        }
        SDL_UnlockSurface(argb);
      }
      if (argb != nullptr)
        SDL_FreeSurface(argb);
      if (rendered != nullptr)
        SDL_FreeSurface(rendered);
    }
    lineTop += lineHeight;
  }
}

}  // namespace zirvo
