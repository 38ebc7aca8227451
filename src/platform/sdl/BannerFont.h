// The banner's text: a system sans-serif font found through fontconfig and
// drawn with SDL2_ttf, each line centred, in light green over black.
#pragma once

#include <cstdint>
#include <string>

#include "core/Colour.h"
#include "image/TrackedScreen.h"

typedef struct _TTF_Font TTF_Font;

namespace zirvo {

class BannerFont {
 public:
  BannerFont() = default;
  ~BannerFont();
  BannerFont(const BannerFont&) = delete;
  BannerFont& operator=(const BannerFont&) = delete;

  // Opens the font at a size that suits a screen `screenHeight` pixels tall.
  // False (with `error` set) when no font could be found or opened.
  bool Open(std::int32_t screenHeight, std::string& error);

  // One line's height with its spacing; a fallback when no font is open.
  int LineHeight() const;
  // Draws the lines of `text` (separated by CR LF or LF), each centred across
  // the screen, the first one's top at `top`. Colour 0x80FF80 blended over black.
  void Draw(TrackedScreen& screen, const std::string& text, int top) const;

  static constexpr COLORREF kColour = 0x80FF80;

 private:
  TTF_Font* font_ = nullptr;
  bool ttfStarted_ = false;
};

// The path of the font file fontconfig picks for `pattern`, or empty.
std::string FindFontFile(const std::string& pattern);

// Starts SDL_ttf (`ttfStarted` set once it ran; the caller ends it with
// TTF_Quit) and opens the banner's typeface at the size that suits a screen
// `screenHeight` pixels tall. Null, with `error` set, when that fails.
TTF_Font* OpenBannerTypeface(std::int32_t screenHeight, bool& ttfStarted, std::string& error);

}  // namespace zirvo
