// Text on the saver's screens, in the font zirvo's banner uses (a system
// sans-serif found through fontconfig, drawn with SDL2_ttf): zirvo's usage
// banner on an area whose scene does not load, and the --fps figures in a
// corner.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "core/Rect.h"
#include "image/Picture.h"
#include "platform/sdl/BannerFont.h"

typedef struct _TTF_Font TTF_Font;
struct SDL_Surface;
struct SDL_Rect;

namespace zirvo::saver {

class WindowCanvas;

class BannerPainter {
 public:
  // The banner over `area` of `picture` (already black), placed on it as zirvo
  // places it on its screen.
  void Paint(Picture& picture, const Rect& area);

 private:
  // One font per area height: the banner's size follows the screen's.
  std::map<int, std::unique_ptr<BannerFont>> fonts_;
  bool toldNoFont_ = false;
};

// One line of text in an opaque black box, drawn over the picture at each
// present (the frame keeps the pixels under it).
class TextOverlay {
 public:
  TextOverlay() = default;
  ~TextOverlay();
  TextOverlay(const TextOverlay&) = delete;
  TextOverlay& operator=(const TextOverlay&) = delete;

  // Opens the font at the banner's size for a screen `screenHeight` tall.
  bool Open(int screenHeight, std::string& error);
  void SetText(const std::string& text);
  // The box's top-left corner in its window.
  void Place(int x, int y);

  // Draws the box on `surface`; `changed` gets what it covered, together with
  // what the last box covered when the text changed (rewritten from `canvas`).
  bool DrawOn(SDL_Surface& surface, WindowCanvas& canvas, SDL_Rect& changed);

 private:
  TTF_Font* font_ = nullptr;
  bool ttfStarted_ = false;
  std::string text_;
  SDL_Surface* rendered_ = nullptr;
  bool textChanged_ = false;
  int x_ = 0;
  int y_ = 0;
  int lastW_ = 0;  // the size of the box drawn last
  int lastH_ = 0;
};

}  // namespace zirvo::saver
