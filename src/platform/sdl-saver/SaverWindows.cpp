#include "platform/sdl-saver/SaverWindows.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/MonitorLayout.h"

namespace zirvo::saver {

namespace {

constexpr int kWindowWidth = 1280;
constexpr int kWindowHeight = 720;

bool OpenForeign(std::uint64_t xid, bool isRoot, std::vector<SaverWindow>& targets,
                 std::string& error) {
  SaverWindow target;
  target.window = SDL_CreateWindowFrom(reinterpret_cast<const void*>(static_cast<uintptr_t>(xid)));
  if (target.window == nullptr) {
    error = "cannot draw on window " + Hex(xid) + ": " + SDL_GetError();
    return false;
  }
  target.foreign = true;
  target.isRoot = isRoot;
  target.xid = xid;
  if (!WatchWindow(target.window)) {
    SDL_DestroyWindow(target.window);
    error = "cannot follow window " + Hex(xid) + " (not an X11 window)";
    return false;
  }
  targets.push_back(std::move(target));
  return true;
}

bool AddOwnWindow(const Rect& where, Uint32 flags, std::vector<SaverWindow>& targets,
                  std::string& error) {
  SaverWindow target;
  // On an output with a scale factor the window has the output's pixels.
  target.window = SDL_CreateWindow("Zirvo", where.x, where.y, where.width, where.height,
                                   flags | SDL_WINDOW_ALLOW_HIGHDPI);
  if (target.window == nullptr) {
    error = std::string("cannot create a window: ") + SDL_GetError();
    return false;
  }
  targets.push_back(std::move(target));
  return true;
}

bool OpenOwnWindow(const XDisplayFacts& facts, std::vector<SaverWindow>& targets,
                   std::string& error) {
  const int width = std::min(kWindowWidth, facts.rootRect.width);
  const int height = std::min(kWindowHeight, facts.rootRect.height);
  return AddOwnWindow(Rect{SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height},
                      SDL_WINDOW_RESIZABLE, targets, error);
}

bool OpenFullscreen(const SaverOptions& options, const XDisplayFacts& facts,
                    std::vector<SaverWindow>& targets, int& code, std::string& error) {
  std::vector<Rect> monitors = facts.monitors;
  if (monitors.empty()) {
    for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i) {
      SDL_Rect bounds;
      if (SDL_GetDisplayBounds(i, &bounds) == 0)
        monitors.push_back(Rect{bounds.x, bounds.y, bounds.w, bounds.h});
    }
  }
  if (monitors.empty())
    monitors.push_back(facts.rootRect);
  std::vector<Rect> chosen = monitors;
  if (!options.allMonitors) {
    const std::uint32_t index = options.monitor.value_or(0);
    if (index >= monitors.size()) {
      code = 2;
      error = "there is no monitor " + std::to_string(index) + ": this display has " +
              std::to_string(monitors.size()) + " (numbered from 0)";
      return false;
    }
    chosen = {monitors[index]};
  }
  const Rect desktop = BoundingBox(monitors);
  for (const Rect& area : LayOutShows(desktop, chosen)) {
    const Rect where{desktop.x + area.x, desktop.y + area.y, area.width, area.height};
    // Where SDL knows the monitor as a display, the window manager is asked
    // for full screen there; elsewhere a borderless window covers it.
    Uint32 flags = SDL_WINDOW_BORDERLESS;
    for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i) {
      SDL_Rect bounds;
      if (SDL_GetDisplayBounds(i, &bounds) == 0 &&
          Rect{bounds.x, bounds.y, bounds.w, bounds.h} == where)
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    }
    if (!AddOwnWindow(where, flags, targets, error))
      return false;
  }
  SDL_ShowCursor(SDL_DISABLE);
  return true;
}

}  // namespace

std::string Hex(std::uint64_t id) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(id));
  return text;
}

bool OpenWindows(const SaverOptions& options, const XDisplayFacts& facts,
                 std::vector<SaverWindow>& targets, int& code, std::string& error) {
  code = 1;
  switch (options.mode) {
    case SaverMode::kRoot: {
      const char* named = std::getenv("XSCREENSAVER_WINDOW");
      if (named != nullptr && *named != '\0') {
        const auto id = ParseWindowId(named);
        if (!id) {
          code = 2;
          error = std::string("XSCREENSAVER_WINDOW is not a window id: '") + named + "'";
          return false;
        }
        if (!WindowExists(*id)) {
          code = 2;
          error = "XSCREENSAVER_WINDOW names no window on this display: " + Hex(*id);
          return false;
        }
        return OpenForeign(*id, false, targets, error);
      }
      return OpenForeign(facts.root, true, targets, error);
    }
    case SaverMode::kWindowId:
      if (!WindowExists(options.windowId)) {
        code = 2;
        error = "there is no window " + Hex(options.windowId) + " on this display";
        return false;
      }
      return OpenForeign(options.windowId, false, targets, error);
    case SaverMode::kWindow:
      return OpenOwnWindow(facts, targets, error);
    case SaverMode::kFullscreen:
      return OpenFullscreen(options, facts, targets, code, error);
  }
  return false;
}

}  // namespace zirvo::saver
