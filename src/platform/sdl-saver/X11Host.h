// What the saver asks of X directly, beside SDL: the monitors, whether a
// window it was handed exists, the structure events of a host's window on
// SDL's own connection, and surviving X errors about a window that went away
// (Xlib's default handler would end the process).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/MonitorLayout.h"

struct SDL_Window;
union SDL_Event;

namespace zirvo::saver {

// Facts about the display, from a short connection of our own.
struct XDisplayFacts {
  std::uint64_t root = 0;
  Rect rootRect;
  // Xinerama's heads (on current servers: RandR's monitors), in root
  // coordinates; empty when Xinerama is not active.
  std::vector<Rect> monitors;
};
// Nothing, with `error` set, when the display cannot be opened.
std::optional<XDisplayFacts> QueryDisplay(std::string& error);

// True when `window` exists on the display (checked on a connection of our own).
bool WindowExists(std::uint64_t window);

// From now on X errors are noted, not fatal. Call before SDL_Init: SDL's video
// puts in a handler of its own that passes errors on to the one it found, and
// puts that one back when it ends, just before it closes its connections
// (where an error about a window destroyed meanwhile may still arrive).
void CatchXErrors();
// Whether an X error since CatchXErrors named `window`: it is gone.
bool XErrorNamed(std::uint64_t window);

// Asks for `window`'s structure events (resizes, unmapping, destruction) and
// its exposures on SDL's connection, and turns on SDL's raw X events so that
// the destruction can be seen. No input event is selected.
bool WatchWindow(SDL_Window* window);

// What a raw X event says about `window`.
enum class WindowFate { kNothing, kUnmapped, kDestroyed };
WindowFate FateOf(const SDL_Event& event, std::uint64_t window);

}  // namespace zirvo::saver
