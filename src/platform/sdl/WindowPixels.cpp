#include "platform/sdl/WindowPixels.h"

#include <SDL.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/sdl/SdlVideo.h"
#ifdef ZIRVO_HAVE_WAYLAND
#include "platform/sdl/WaylandBuffers.h"
#else
namespace zirvo {
class WaylandBuffers {};  // built without Wayland's client library: SDL's surface only
}  // namespace zirvo
#endif

namespace zirvo {

WindowPixels::WindowPixels(SDL_Window* window) : window_(window) {
#ifdef ZIRVO_HAVE_WAYLAND
  if (VideoOnWayland()) {
    std::string error;
    wayland_ = WaylandBuffers::Create(window, error);
    if (!wayland_) {
      std::fprintf(stderr, "%s: drawing through SDL's window surface instead (%s)\n",
                   program_invocation_short_name, error.c_str());
    }
  }
#endif
}

WindowPixels::~WindowPixels() = default;

SDL_Surface* WindowPixels::Surface() {
#ifdef ZIRVO_HAVE_WAYLAND
  if (wayland_)
    return wayland_->Surface();
#endif
  return SDL_GetWindowSurface(window_);
}

bool WindowPixels::ShowAll() {
#ifdef ZIRVO_HAVE_WAYLAND
  if (wayland_)
    return wayland_->Show(nullptr, 0);
#endif
  return SDL_UpdateWindowSurface(window_) == 0;
}

bool WindowPixels::Show(const SDL_Rect* rects, int count) {
#ifdef ZIRVO_HAVE_WAYLAND
  if (wayland_)
    return wayland_->Show(rects, count);
#endif
  return SDL_UpdateWindowSurfaceRects(window_, rects, count) == 0;
}

bool WindowPixels::DisplayLost() const {
#ifdef ZIRVO_HAVE_WAYLAND
  if (wayland_)
    return wayland_->Lost();
#endif
  return false;
}

void WindowPixels::Size(int& width, int& height) {
  width = 0;
  height = 0;
  if (wayland_) {
    SDL_GetWindowSizeInPixels(window_, &width, &height);
  } else if (SDL_Surface* surface = SDL_GetWindowSurface(window_)) {
    width = surface->w;
    height = surface->h;
  } else {
    SDL_GetWindowSize(window_, &width, &height);
  }
}

}  // namespace zirvo
