#include "platform/sdl/SdlVideo.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace zirvo {

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

bool Has(const std::vector<std::string>& drivers, const char* name) {
  return std::find(drivers.begin(), drivers.end(), name) != drivers.end();
}

}  // namespace

std::vector<std::string> DriversToTry(const VideoEnvironment& environment) {
  if (!environment.userDriver.empty() || environment.waylandDisplay.empty())
    return {};
  std::vector<std::string> drivers;
  for (const char* name : {"wayland", "x11"}) {
    if (Has(environment.compiledDrivers, name))
      drivers.push_back(name);
  }
  return drivers;
}

VideoEnvironment CurrentVideoEnvironment() {
  VideoEnvironment environment;
  environment.userDriver = Environment("SDL_VIDEODRIVER");
  environment.waylandDisplay = Environment("WAYLAND_DISPLAY");
  for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
    if (const char* name = SDL_GetVideoDriver(i))
      environment.compiledDrivers.push_back(name);
  }
  return environment;
}

bool WaylandSession() {
  return !Environment("WAYLAND_DISPLAY").empty();
}

bool StartVideo(std::string& error) {
  const std::vector<std::string> drivers = DriversToTry(CurrentVideoEnvironment());
  bool started = false;
  if (drivers.empty()) {
    started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    if (!started)
      error = SDL_GetError();
  }
  for (const std::string& driver : drivers) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, driver.c_str());
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
      started = true;
      break;
    }
    error += (error.empty() ? "" : "; ") + driver + ": " + SDL_GetError();
  }
  if (!started)
    return false;
  error.clear();
  if (!VideoOnWayland()) {
    // Each frame is pixels copied one to one: the changed rows converted into
    // the window's own surface and put to the window (shared memory on X11), a
    // few ms for a whole 1920 x 1080 frame. Behind the surface SDL would
    // otherwise put a renderer of its choice, often a software OpenGL (virtual
    // machines, Xvfb, no GPU driver), where a present took longer than a
    // refresh. (SDL reads this when a window's surface is first made. Its
    // Wayland driver has no surface without a renderer: there the windows'
    // pixels go to the compositor as WaylandBuffers.)
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  }
  return true;
}

bool VideoOnWayland() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver != nullptr && std::strcmp(driver, "wayland") == 0;
}

bool DisplayPixels(int index, int& width, int& height) {
  SDL_Rect bounds;
  if (SDL_GetDisplayBounds(index, &bounds) != 0 || bounds.w <= 0 || bounds.h <= 0)
    return false;
  width = bounds.w;
  height = bounds.h;
  SDL_DisplayMode largest;
  if (VideoOnWayland() && SDL_GetDisplayMode(index, 0, &largest) == 0 && largest.w >= bounds.w &&
      largest.h >= bounds.h) {
    width = largest.w;
    height = largest.h;
  }
  return true;
}

}  // namespace zirvo
