// Which of SDL's video drivers zirvo and zirvo-saver start, and the facts
// about the display that depend on it. SDL_VIDEODRIVER, when the user sets
// it, decides. Otherwise a Wayland session (WAYLAND_DISPLAY set) gets SDL's
// own Wayland driver where this SDL has one, with X11 (XWayland) as the
// fallback, and any other desktop SDL's own order (X11 first).
#pragma once

#include <string>
#include <vector>

namespace zirvo {

struct VideoEnvironment {
  std::string userDriver;                    // SDL_VIDEODRIVER; empty when unset
  std::string waylandDisplay;                // WAYLAND_DISPLAY; empty when unset
  std::vector<std::string> compiledDrivers;  // this SDL's video drivers
};

// The drivers to start, in order of preference; empty leaves the choice to
// SDL (which follows the user's SDL_VIDEODRIVER, if any).
std::vector<std::string> DriversToTry(const VideoEnvironment& environment);

// This process's environment and this SDL's drivers.
VideoEnvironment CurrentVideoEnvironment();

// True when WAYLAND_DISPLAY names a Wayland display.
bool WaylandSession();

// Starts SDL's video subsystem with the first of DriversToTry that starts.
// False, with SDL's reason for each driver tried, when none does.
bool StartVideo(std::string& error);

// True when SDL's video runs on its Wayland driver.
bool VideoOnWayland();

// The size of display `index` in pixels. SDL gives a Wayland display's
// bounds in points (pixels divided by the output's scale factor); its largest
// mode there is the output's own, in pixels. False when SDL knows no such
// display.
bool DisplayPixels(int index, int& width, int& height);

}  // namespace zirvo
