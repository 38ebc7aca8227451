#include "platform/sdl-saver/WaylandSession.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>

#include "platform/sdl/SdlVideo.h"

namespace zirvo::saver {

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

}  // namespace

std::string WhyNotOnThisSession(const SaverOptions& options) {
  if (options.mode != SaverMode::kRoot && options.mode != SaverMode::kWindowId)
    return "";
  if (!WaylandSession() || Environment("SDL_VIDEODRIVER") == "x11")
    return "";
  std::string what = "--window-id";
  if (options.mode == SaverMode::kRoot)
    what = Environment("XSCREENSAVER_WINDOW").empty() ? "--root" : "XSCREENSAVER_WINDOW";
  return what + " draws on an X window, and this is a Wayland session (WAYLAND_DISPLAY=" +
         Environment("WAYLAND_DISPLAY") +
         "): use --fullscreen or --all-monitors (see zirvo-saver(6)), or SDL_VIDEODRIVER=x11 "
         "to reach X windows through XWayland";
}

XDisplayFacts OutputsFromSdl() {
  XDisplayFacts facts;
  for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i) {
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(i, &bounds) == 0 && bounds.w > 0 && bounds.h > 0)
      facts.monitors.push_back(Rect{bounds.x, bounds.y, bounds.w, bounds.h});
  }
  std::sort(facts.monitors.begin(), facts.monitors.end(),
            [](const Rect& a, const Rect& b) { return a.x != b.x ? a.x < b.x : a.y < b.y; });
  if (!facts.monitors.empty())
    facts.rootRect = BoundingBox(facts.monitors);
  return facts;
}

}  // namespace zirvo::saver
