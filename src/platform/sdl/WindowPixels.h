// A window's pixels as an SDL_Surface, and their way to the display: SDL's
// window surface (put to an X11 display with shared memory), or on Wayland
// WaylandBuffers of the window's size in pixels. Both keep the picture shown
// last, so a frame only writes and shows what changed.
#pragma once

#include <memory>

struct SDL_Window;
struct SDL_Surface;
struct SDL_Rect;

namespace zirvo {

class WaylandBuffers;

class WindowPixels {
 public:
  explicit WindowPixels(SDL_Window* window);
  ~WindowPixels();
  WindowPixels(const WindowPixels&) = delete;
  WindowPixels& operator=(const WindowPixels&) = delete;

  // As SDL_GetWindowSurface: the surface the next frame is drawn on; a new
  // object (holding nothing yet) when the window's size in pixels changed.
  // Null when there is none.
  SDL_Surface* Surface();
  // As SDL_UpdateWindowSurface and SDL_UpdateWindowSurfaceRects.
  bool ShowAll();
  bool Show(const SDL_Rect* rects, int count);
  // The window's size in pixels, as its surface has it where it has one.
  void Size(int& width, int& height);
  // True once the Wayland compositor went away. SDL 2.26 then keeps
  // answering every wait at once, with no event; on X11 Xlib ends the process.
  bool DisplayLost() const;

 private:
  SDL_Window* window_;
  std::unique_ptr<WaylandBuffers> wayland_;  // null where SDL's surface serves
};

}  // namespace zirvo
